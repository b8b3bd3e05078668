// The real windows, created in this process and checked where another process
// cannot look: fonts, icons, DPI changes, failures inside the window procedure;
// the exe's version resource, and the system's ANSI conversion.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "about/win32/about_layout.h"
#include "about/win32/about_window.h"
#include "app/win32/main_layout.h"
#include "app/win32/main_window.h"
#include "blocker/version_resource.h"
#include "blocker/win32/version_values.h"
#include "common/failure.h"
#include "common/version.h"
#include "runtime/win32/ansi_codec.h"
#include "runtime/win32/file_bytes.h"
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

// The width of the icon a window shows; 0 for none.
LONG IconWidth(LRESULT icon) {
  ICONINFO info{};
  BITMAP colour{};
  if (!GetIconInfo(reinterpret_cast<HICON>(icon), &info)) return 0;
  GetObjectW(info.hbmColor, sizeof colour, &colour);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return colour.bmWidth;
}

// The program's fifty-pixel image and small icon at `dpi` in the title bar.
void ExpectIconsAt(HWND window, int dpi) {
  EXPECT_EQ(IconWidth(SendMessageW(window, WM_GETICON, ICON_BIG, 0)),
            MulDiv(50, dpi, USER_DEFAULT_SCREEN_DPI))
      << dpi;
  EXPECT_EQ(IconWidth(SendMessageW(window, WM_GETICON, ICON_SMALL, 0)),
            GetSystemMetricsForDpi(SM_CXSMICON, static_cast<UINT>(dpi)))
      << dpi;
}

// Each control's place in the window and the height of its own font (0 for
// one with the window's).
using Layout = std::vector<std::pair<RECT, LONG>>;
Layout LaidOut(HWND window, std::span<const ControlSpec> controls) {
  Layout out;
  for (const ControlSpec& c : controls) {
    RECT r{};
    GetWindowRect(GetDlgItem(window, c.id), &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    out.emplace_back(r, c.font.centipoints ? FontOf(GetDlgItem(window, c.id)).lfHeight : 0);
  }
  return out;
}

// Places and fonts grown by the DPI's factor, give or take a pixel of rounding.
void ExpectScaled(const Layout& before, const Layout& after, int dpi) {
  const auto grown = [dpi](LONG was, LONG is) {
    return std::abs(MulDiv(was, dpi, USER_DEFAULT_SCREEN_DPI) - is) <= 1;
  };
  for (std::size_t i = 0; i < before.size(); ++i) {
    const auto& [b, b_font] = before[i];
    const auto& [a, a_font] = after[i];
    EXPECT_TRUE(grown(b.left, a.left) && grown(b.top, a.top) && grown(b.right, a.right) &&
                grown(b.bottom, a.bottom) && grown(b_font, a_font))
        << "control " << i << " at " << dpi;
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
  ExpectIconsAt(hwnd, USER_DEFAULT_SCREEN_DPI);
  const Layout normal = LaidOut(hwnd, MainControls());
  ShowWindow(hwnd, SW_MAXIMIZE);
  ExpectScaled(normal, LaidOut(hwnd, MainControls()), USER_DEFAULT_SCREEN_DPI);  // stays put
  ShowWindow(hwnd, SW_RESTORE);
  MoveToDpi(hwnd, kNewDpi);
  ExpectScaled(normal, LaidOut(hwnd, MainControls()), kNewDpi);
  ExpectIconsAt(hwnd, kNewDpi);
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
  const Layout before = LaidOut(about, kAboutControls);
  MoveToDpi(about, kNewDpi);
  ExpectScaled(before, LaidOut(about, kAboutControls), kNewDpi);
  ExpectIconsAt(about, kNewDpi);
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

// A value of a file's version resource, as the blocker reads it: for "\\" its
// fixed part's file and product versions, else the string; "" where there is none.
std::wstring VersionValue(const wchar_t* exe, const std::wstring& name) {
  if (name != L"\\") return blocker::win::FileVersionString(exe, name).value_or(L"unread");
  const std::string block = blocker::VersionResource(*OpenFileBytes(exe)).value_or("");
  const auto word = [&](std::size_t at) {  // of the fixed part, after the root's key
    return block.size() < 64 ? 0u
                             : static_cast<unsigned char>(block[40 + at]) |
                                   static_cast<unsigned char>(block[41 + at]) << 8;
  };
  wchar_t text[64] = {};
  swprintf(text, 64, L"%u.%u.%u.%u %u.%u.%u.%u", word(10), word(8), word(14), word(12), word(18),
           word(16), word(22), word(20));
  return text;
}

// The program carries the facts of common/version.h. A blocker runs under the
// name its owner chose: nothing in its version resource names the tool for
// Task Manager to show instead, only the original file name by which blockers
// know one another. Read from the files, and from a running image: this
// test's, which carries the program's resource.
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
    if (exe == std::wstring_view(QX_TEST_EXE) && name[0] != L'\\') {
      EXPECT_EQ(blocker::win::ImageVersionString(GetCurrentProcess(), name), want) << name;
    }
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
