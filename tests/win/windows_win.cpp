// The real windows, created in this process and checked where another process
// cannot look: fonts, icons, DPI changes, failures inside the window procedure;
// the exe's version resource, and the system's ANSI conversion.
#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>
#include <optional>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "about/win32/about_layout.h"
#include "about/win32/about_window.h"
#include "app/win32/main_layout.h"
#include "app/win32/main_window.h"
#include "common/failure.h"
#include "common/version.h"
#include "runtime/win32/ansi_codec.h"
#include "runtime/win32/handles.h"
#include "ui/fonts.h"
#include "ui/win_runtime.h"
#include "ui/window.h"

namespace qx::win {
namespace {

constexpr int kNewDpi = 144;

// Both failure values read as failed whichever call filled an owner, and the
// file owner is the process owner: nothing to mispair.
static_assert(IsFailureValue(0) && IsFailureValue(UINTPTR_MAX) && !IsFailureValue(4) &&
              std::is_same_v<FileHandle, ProcessHandle>);

LOGFONTW FontOf(HWND control) {
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  return lf;
}

// What the system sends when the window lands on a monitor of `dpi`.
void MoveToDpi(HWND window, int dpi) {
  RECT r{};
  GetWindowRect(window, &r);
  r.right = r.left + MulDiv(r.right - r.left, dpi, USER_DEFAULT_SCREEN_DPI);
  r.bottom = r.top + MulDiv(r.bottom - r.top, dpi, USER_DEFAULT_SCREEN_DPI);
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
}

// The width of the icon a window or a picture shows; 0 for none.
LONG IconWidth(LRESULT icon) {
  ICONINFO info{};
  BITMAP colour{};
  if (!GetIconInfo(reinterpret_cast<HICON>(icon), &info)) return 0;
  GetObjectW(info.hbmColor, sizeof colour, &colour);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return colour.bmWidth;
}

// Every control at its table's place for `dpi`; those with a font of their
// own in it at that size, in the chosen face; the program's fifty-pixel image
// and small icon at that DPI in the title bar.
void ExpectLaidOut(HWND window, std::span<const ControlSpec> controls, int dpi) {
  const std::wstring face = FontCache(dpi).Face();
  const int big = MulDiv(50, dpi, USER_DEFAULT_SCREEN_DPI);
  EXPECT_EQ(IconWidth(SendMessageW(window, WM_GETICON, ICON_BIG, 0)), big) << dpi;
  EXPECT_EQ(IconWidth(SendMessageW(window, WM_GETICON, ICON_SMALL, 0)),
            GetSystemMetricsForDpi(SM_CXSMICON, static_cast<UINT>(dpi)));
  for (const ControlSpec& c : controls) {
    HWND control = GetDlgItem(window, c.id);
    const RECT want = ToPixels(c.rect, dpi);
    RECT got{};
    GetWindowRect(control, &got);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&got), 2);
    EXPECT_TRUE(EqualRect(&want, &got)) << c.id << " at " << dpi;
    if (c.font.centipoints == 0) continue;
    const LOGFONTW lf = FontOf(control);
    EXPECT_EQ(lf.lfHeight, -MulDiv(c.font.centipoints, dpi, 7200)) << c.id << " at " << dpi;
    EXPECT_EQ(lf.lfWeight, c.font.bold ? FW_BOLD : FW_NORMAL) << c.id;
    EXPECT_EQ(lf.lfFaceName, face) << c.id;
  }
}

// Whether a WM_QUIT was posted; the queue emptied.
bool QuitPosted() {
  MSG msg;
  const bool quit = PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
  return quit;
}

TEST(MainWindowInProcess, ControlsStayPutWhenResizedAndControlsAndIconsFollowADpiChange) {
  WinRuntime runtime{GetModuleHandleW(nullptr)};
  PublicValues values;
  MainWindow window{GetModuleHandleW(nullptr), runtime.rt(), values};
  window.Create(SW_SHOWNORMAL);
  HWND hwnd = window.hwnd();
  ShowWindow(hwnd, SW_MAXIMIZE);
  ExpectLaidOut(hwnd, MainControls(), USER_DEFAULT_SCREEN_DPI);
  ShowWindow(hwnd, SW_RESTORE);
  MoveToDpi(hwnd, kNewDpi);
  ExpectLaidOut(hwnd, MainControls(), kNewDpi);
  // Room for all of it. Only at least: the change is simulated, so the frame
  // keeps the system DPI's border and caption, narrower than the new DPI's.
  RECT client{};
  GetClientRect(hwnd, &client);
  EXPECT_GE(client.right, TwipsToPixels(kClientWidthTwips, kNewDpi));
  EXPECT_GE(client.bottom, TwipsToPixels(kClientHeightTwips, kNewDpi));
  DestroyWindow(hwnd);
  EXPECT_TRUE(QuitPosted());  // the main window, closed, ends the program
}

TEST(AboutInProcess, ControlsTheirFontAndTheIconsFollowADpiChange) {
  WinRuntime runtime{GetModuleHandleW(nullptr)};
  ShowAboutDialog(GetModuleHandleW(nullptr), runtime.rt());
  HWND about = FindWindowW(L"#32770", L"About " QX_WIDEN(QX_PRODUCT_NAME));
  ASSERT_NE(about, nullptr);
  ExpectLaidOut(about, kAboutControls, USER_DEFAULT_SCREEN_DPI);
  const LONG font_before = FontOf(GetDlgItem(about, kAboutTitleId)).lfHeight;
  MoveToDpi(about, kNewDpi);
  ExpectLaidOut(about, kAboutControls, kNewDpi);
  // The message font grows with the DPI.
  EXPECT_EQ(FontOf(GetDlgItem(about, kAboutTitleId)).lfHeight,
            MulDiv(font_before, kNewDpi, USER_DEFAULT_SCREEN_DPI));
  DestroyWindow(about);
  QuitPosted();
}

// A window of the base whose table names a control that cannot be made.
constexpr ControlSpec kBrokenControls[] = {{L"NoSuchClass", 0, L"", 1, {0, 0, 150, 150}, kNoFont}};

class Broken final : public Window {
 public:
  explicit Broken(Dialogs& dialogs)
      : Window(GetModuleHandleW(nullptr), dialogs,
               {WS_POPUP | WS_CAPTION, 0, 1500, 1500, kBrokenControls, L"no", L"no controls"}) {}
  void Make(int kind) {
    if (kind == 0) CreateFramed(L"QuellanixBroken", nullptr, L"");
    if (kind == 1) CreateModeless(nullptr, L"");
    if (kind == 2) RunModal(nullptr, L"");
  }
  void OnCommand(int, int) override {}
};

TEST(WindowBase, AControlThatCannotBeMadeFailsTheCreationLeavingNoWindowAndNoQuit) {
  WinRuntime runtime{GetModuleHandleW(nullptr)};
  for (int kind = 0; kind < 3; ++kind) {  // framed, modeless, modal
    Broken window(runtime.rt().dialogs);
    try {
      window.Make(kind);
      ADD_FAILURE() << "made, kind " << kind;
    } catch (const Failure& f) {
      EXPECT_EQ(f.operation(), L"no controls") << kind;
      // The system's reason, not one lost to a later call (1407 on Windows, 1411 on Wine).
      EXPECT_EQ(f.reason().find(L"(error 0)"), std::wstring::npos) << kind;
    }
    EXPECT_EQ(window.hwnd(), nullptr) << kind;
    EXPECT_FALSE(QuitPosted()) << kind;
  }
}

// A window that does not hold the program, as the blocker's notice: closing
// it, even from outside, ends nothing.
class Aside final : public Window {
 public:
  explicit Aside(Dialogs& dialogs)
      : Window(GetModuleHandleW(nullptr), dialogs, {WS_POPUP, 0, 1500, 1500, {}, L"no", L"no"}) {
    CreateFramed(L"QuellanixAside", nullptr, L"");
  }
  void OnCommand(int, int) override {}
  bool HoldsProgram() const override { return false; }
};

TEST(WindowBase, ClosingAWindowThatDoesNotHoldTheProgramEndsNothing) {
  WinRuntime runtime{GetModuleHandleW(nullptr)};
  Aside window(runtime.rt().dialogs);
  SendMessageW(window.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(window.hwnd(), nullptr);  // gone, and detached
  EXPECT_FALSE(QuitPosted());
}

// What the shell shows of a file's version resource: for "\\" its fixed part's
// file and product versions, else the string under the file's own translation;
// "" where there is none.
std::wstring VersionValue(const wchar_t* exe, const std::wstring& name) {
  std::vector<BYTE> block(GetFileVersionInfoSizeW(exe, nullptr));
  GetFileVersionInfoW(exe, 0, static_cast<DWORD>(block.size()), block.data());
  const auto at = [&](const std::wstring& path) {
    void* found = nullptr;
    UINT length = 0;
    return VerQueryValueW(block.data(), path.c_str(), &found, &length) ? found : nullptr;
  };
  wchar_t text[64] = {};
  if (const auto* f = static_cast<const VS_FIXEDFILEINFO*>(name == L"\\" ? at(name) : nullptr)) {
    swprintf(text, 64, L"%u.%u.%u.%u %u.%u.%u.%u", HIWORD(f->dwFileVersionMS),
             LOWORD(f->dwFileVersionMS), HIWORD(f->dwFileVersionLS), LOWORD(f->dwFileVersionLS),
             HIWORD(f->dwProductVersionMS), LOWORD(f->dwProductVersionMS),
             HIWORD(f->dwProductVersionLS), LOWORD(f->dwProductVersionLS));
  } else if (const auto* lang = static_cast<const WORD*>(at(L"\\VarFileInfo\\Translation"))) {
    swprintf(text, 64, L"\\StringFileInfo\\%04x%04x\\", lang[0], lang[1]);
    const auto* found = static_cast<const wchar_t*>(at(text + name));
    return found ? found : L"";
  }
  return text;
}

// The program carries the facts of common/version.h. A blocker runs under the
// name its owner chose: nothing in its version resource names the tool for
// Task Manager to show instead, only the original file name by which blockers
// know one another.
TEST(VersionResource, TheProgramCarriesTheVersionFactsAndABlockerOnlyItsOriginalFileName) {
  for (const auto& [exe, name, want] :
       {std::tuple{QX_TEST_EXE, L"\\", QX_WIDEN(QX_VERSION_TEXT " " QX_VERSION_TEXT)},
        {QX_TEST_EXE, L"ProductName", QX_WIDEN(QX_PRODUCT_NAME)},
        {QX_TEST_EXE, L"CompanyName", QX_WIDEN(QX_COMPANY_NAME)},
        {QX_TEST_EXE, L"InternalName", QX_WIDEN(QX_INTERNAL_NAME)},
        {QX_TEST_EXE, L"OriginalFilename", QX_WIDEN(QX_EXE_NAME)},
        {QX_TEST_EXE, L"FileVersion", QX_WIDEN(QX_VERSION_TEXT)},
        {QX_TEST_EXE, L"ProductVersion", QX_WIDEN(QX_VERSION_TEXT)},
        {QX_TEMPLATE, L"FileDescription", L""},
        {QX_TEMPLATE, L"ProductName", L""},
        {QX_TEMPLATE, L"CompanyName", L""},
        {QX_TEMPLATE, L"OriginalFilename", L"quellanix.ext"}}) {
    EXPECT_EQ(VersionValue(exe, name), want) << exe << " " << name;
  }
}

// The system's conversion refuses what the code page lacks rather than
// writing a look-alike (A for A-macron), and what it takes comes back whole.
TEST(AnsiCodec, RefusesCharactersOutsideTheCodePageAndRoundTripsTheRest) {
  const WinAnsiCodec codec;
  EXPECT_EQ(codec.ToAnsi(L"\x263A"), std::nullopt);
  EXPECT_EQ(codec.ToAnsi(L"\x0100"), std::nullopt);
  const std::optional<std::string> bytes = codec.ToAnsi(L"p\xE9");
  ASSERT_EQ(bytes, "p\xE9");  // the test prefix's code page is 1252
  EXPECT_EQ(codec.FromAnsi(*bytes), L"p\xE9");
}

}  // namespace
}  // namespace qx::win
