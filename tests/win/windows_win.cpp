// The real windows, created in this process and checked where another process
// cannot look: fonts, menus, icons, DPI changes, failures inside the window
// procedure, and the exe's version resource.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "about/win32/about_layout.h"
#include "about/win32/about_window.h"
#include "app/win32/main_layout.h"
#include "app/win32/main_window.h"
#include "catalogue/catalogue.h"
#include "common/failure.h"
#include "ui/fonts.h"
#include "ui/input_box.h"
#include "ui/win_runtime.h"
#include "ui/window.h"

namespace qx::win {
namespace {

constexpr int kNewDpi = 144;

// The control's rectangle in its parent's client coordinates.
RECT InParent(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

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

// Every control at its table's place for `dpi`; those with a font of their
// own in it at that size, in the chosen face.
void ExpectLaidOut(HWND window, std::span<const ControlSpec> controls, int dpi) {
  const std::wstring face = FontCache(dpi).Face();
  for (const ControlSpec& c : controls) {
    HWND control = GetDlgItem(window, c.id);
    const RECT want = ToPixels(c.rect, dpi);
    const RECT got = InParent(control);
    EXPECT_TRUE(EqualRect(&want, &got)) << c.id << " at " << dpi;
    if (c.font.centipoints == 0) continue;
    const LOGFONTW lf = FontOf(control);
    EXPECT_EQ(lf.lfHeight, -MulDiv(c.font.centipoints, dpi, 7200)) << c.id << " at " << dpi;
    EXPECT_EQ(lf.lfWeight, c.font.bold ? FW_BOLD : FW_NORMAL) << c.id;
    EXPECT_EQ(lf.lfFaceName, face) << c.id;
  }
}

// Empties the queue, the WM_QUIT the last window posts included.
void DrainMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

TEST(LayoutTables, RowsFollowTheCatalogueIndexByIndex) {
  for (std::size_t i = 0; i < kEntryCount; ++i) {
    EXPECT_EQ(kBoxPlaces[i].control, kCatalogue[i].control);
  }
  for (std::size_t h = 0; h < kGroupCount; ++h) {
    EXPECT_EQ(kHeaderPlaces[h].control, kGroupHeaders[h].control);
  }
}

class MainWindowInProcess : public ::testing::Test {
 protected:
  void SetUp() override { window_.Create(SW_SHOWNORMAL); }
  void TearDown() override {
    if (IsWindow(window_.hwnd())) DestroyWindow(window_.hwnd());
    DrainMessages();
  }
  HWND hwnd() const { return window_.hwnd(); }

  WinRuntime runtime_{GetModuleHandleW(nullptr)};
  PublicValues values_;
  MainWindow window_{GetModuleHandleW(nullptr), runtime_.rt(), values_};
};

TEST_F(MainWindowInProcess, ControlsStayPutWhenResizedAndFollowADpiChange) {
  ShowWindow(hwnd(), SW_MAXIMIZE);
  ExpectLaidOut(hwnd(), MainControls(), USER_DEFAULT_SCREEN_DPI);
  ShowWindow(hwnd(), SW_RESTORE);

  MoveToDpi(hwnd(), kNewDpi);
  ExpectLaidOut(hwnd(), MainControls(), kNewDpi);
  // Room for all of it. Only at least: the change is simulated, so the frame
  // keeps the system DPI's border and caption, narrower than the new DPI's.
  RECT client{};
  GetClientRect(hwnd(), &client);
  EXPECT_GE(client.right, MulDiv(652, kNewDpi, USER_DEFAULT_SCREEN_DPI));
  EXPECT_GE(client.bottom, MulDiv(538, kNewDpi, USER_DEFAULT_SCREEN_DPI));
}

std::wstring ItemText(HMENU menu, UINT position) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, position, text, static_cast<int>(std::size(text)), MF_BYPOSITION);
  return text;
}

TEST_F(MainWindowInProcess, MenuBarFollowsTheMenuTreeWithNoItemCheckedOrDisabled) {
  HMENU bar = GetMenu(hwnd());
  const auto tree = MenuTree();
  ASSERT_EQ(GetMenuItemCount(bar), static_cast<int>(tree.size()));
  for (UINT m = 0; m < tree.size(); ++m) {
    EXPECT_EQ(ItemText(bar, m), tree[m].caption);
    HMENU popup = GetSubMenu(bar, static_cast<int>(m));
    ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(tree[m].items.size()));
    for (UINT i = 0; i < tree[m].items.size(); ++i) {
      const MenuItem& item = tree[m].items[i];
      MENUITEMINFOW info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID;
      ASSERT_TRUE(GetMenuItemInfoW(popup, i, TRUE, &info));
      EXPECT_EQ((info.fType & MFT_SEPARATOR) != 0, item.id == 0) << item.name;
      if (item.id == 0) continue;
      EXPECT_EQ(info.wID, static_cast<UINT>(item.id)) << item.name;
      EXPECT_EQ(ItemText(popup, i), item.caption) << item.name;
      EXPECT_EQ(info.fState & (MFS_CHECKED | MFS_DISABLED), 0u) << item.name;
    }
  }
}

TEST_F(MainWindowInProcess, WindowIconIsTheFiftyPixelImage) {
  auto icon = reinterpret_cast<HICON>(SendMessageW(hwnd(), WM_GETICON, ICON_BIG, 0));
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAP colour{};
  GetObjectW(info.hbmColor, sizeof colour, &colour);
  EXPECT_EQ(colour.bmWidth, 50);
  EXPECT_EQ(colour.bmHeight, 50);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
}

TEST(AboutInProcess, ControlsAndTheirFontFollowADpiChange) {
  WinRuntime runtime{GetModuleHandleW(nullptr)};
  ShowAboutDialog(GetModuleHandleW(nullptr), runtime.rt());
  HWND about = FindWindowW(L"#32770", L"About Quellanix V2.0");
  ASSERT_NE(about, nullptr);
  ExpectLaidOut(about, kAboutControls, USER_DEFAULT_SCREEN_DPI);
  const LONG font_before = FontOf(GetDlgItem(about, kAboutTitleId)).lfHeight;
  MoveToDpi(about, kNewDpi);
  ExpectLaidOut(about, kAboutControls, kNewDpi);
  // The message font grows with the DPI.
  EXPECT_EQ(FontOf(GetDlgItem(about, kAboutTitleId)).lfHeight,
            MulDiv(font_before, kNewDpi, USER_DEFAULT_SCREEN_DPI));
  DestroyWindow(about);
  DrainMessages();
}

// Read from inside the input box's modal loop, which then answers OK.
struct {
  short first_character_x = -1;
  DWORD selection = 0;
} field_seen;

void CALLBACK ReadFieldAndAnswer(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindWindowW(L"#32770", L"Input");
  if (!box) return;
  KillTimer(nullptr, timer);
  HWND field = FindWindowExW(box, nullptr, L"Edit", nullptr);
  field_seen.first_character_x =
      static_cast<short>(LOWORD(SendMessageW(field, EM_POSFROMCHAR, 0, 0)));
  field_seen.selection = static_cast<DWORD>(SendMessageW(field, EM_GETSEL, 0, 0));
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST(InputBoxInProcess, ShowsItsTextFromTheStartAllSelectedAndGivesItBackOnOk) {
  WinRuntime runtime{GetModuleHandleW(nullptr)};
  SetTimer(nullptr, 0, 10, ReadFieldAndAnswer);
  EXPECT_EQ(RunInputBox(GetModuleHandleW(nullptr), runtime.rt().dialogs, nullptr, L"Prompt",
                        L"Input", L"default text"),
            L"default text");
  EXPECT_GE(field_seen.first_character_x, 0);  // not scrolled out of sight
  EXPECT_EQ(field_seen.selection, MAKELONG(0, 12));
}

// A window of the base whose table names a control that cannot be made.
constexpr ControlSpec kBrokenControls[] = {{L"NoSuchClass", 0, L"", 1, {0, 0, 150, 150}, kNoFont}};

class Broken final : public Window {
 public:
  explicit Broken(Dialogs& dialogs)
      : Window(GetModuleHandleW(nullptr), dialogs,
               {WS_POPUP | WS_CAPTION, 0, 1500, 1500, kBrokenControls, L"no", L"no controls"}) {}
  void Make(int kind) {
    if (kind == 0) CreateFramed(L"QuellanixBroken", L"");
    if (kind == 1) CreateModeless(nullptr, L"");
    if (kind == 2) RunModal(nullptr, L"");
  }
  void OnCommand(int, int) override {}
};

TEST(WindowBase, AControlThatCannotBeMadeFailsTheCreationLeavingNoWindowAndNoQuit) {
  WinRuntime runtime{GetModuleHandleW(nullptr)};
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Window::Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QuellanixBroken";
  RegisterClassExW(&wc);
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
    MSG quit;
    EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << kind;
  }
}

TEST(VersionResource, CarriesTheProductFacts) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(QX_TEST_EXE, &ignored);
  ASSERT_GT(size, 0u) << "no version resource in " << QX_TEST_EXE;
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(QX_TEST_EXE, 0, size, block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(1, 2));
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(1, 2));
  for (const auto& [name, want] : {std::pair{L"ProductName", L"Quellanix V2.0"},
                                   {L"CompanyName", L"Brindlecor"},
                                   {L"InternalName", L"Quellanix"},
                                   {L"FileVersion", L"2.1.0.0"}}) {
    wchar_t* value = nullptr;  // stays null when missing
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length);
    EXPECT_STREQ(value, want);
  }
  DWORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  EXPECT_EQ(LOWORD(*translation), 0x0409);
}

}  // namespace
}  // namespace qx::win
