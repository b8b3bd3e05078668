// A window moved to a monitor of another DPI lays itself out again from its
// twips tables: every control's rectangle and font follow the new DPI.
#include <gtest/gtest.h>
#include <windows.h>

#include "about/win32/about_layout.h"
#include "about/win32/about_window.h"
#include "catalogue/catalogue.h"
#include "app/win32/control_ids.h"
#include "app/win32/main_layout.h"
#include "app/win32/main_window.h"
#include "ui/layout.h"
#include "ui/win_runtime.h"
#include "tests/win/in_process.h"

namespace qx::win {
namespace {

constexpr int kNewDpi = 144;

LONG FontHeight(HWND control) { return FontOf(control).lfHeight; }

// What the system sends when the window lands on a monitor of `dpi`.
void MoveToDpi(HWND window, int dpi) {
  RECT r{};
  GetWindowRect(window, &r);
  r.right = r.left + MulDiv(r.right - r.left, dpi, USER_DEFAULT_SCREEN_DPI);
  r.bottom = r.top + MulDiv(r.bottom - r.top, dpi, USER_DEFAULT_SCREEN_DPI);
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
}

TEST(DpiChange, MainWindowScalesEveryControlAndFont) {
  WinRuntime runtime{GetModuleHandleW(nullptr)};
  PublicValues values;
  MainWindow window{GetModuleHandleW(nullptr), runtime.rt(), values};
  window.Create(SW_SHOWNORMAL);
  MoveToDpi(window.hwnd(), kNewDpi);

  for (std::size_t i = 0; i < kEntryCount; ++i) {
    HWND box = GetDlgItem(window.hwnd(), BoxId(i));
    const RECT want = ToPixels(kBoxPlaces[i].rect, kNewDpi);
    const RECT got = InParent(box);
    EXPECT_TRUE(EqualRect(&want, &got)) << kCatalogue[i].control;
    const bool remote = kCatalogue[i].control == "chkRemoteDesktop";
    EXPECT_EQ(FontHeight(box), -MulDiv(remote ? 900 : 975, kNewDpi, 7200)) << kCatalogue[i].control;
  }
  for (std::size_t i = 0; i < kGroupCount; ++i) {
    const RECT want = ToPixels(kHeaderPlaces[i].rect, kNewDpi);
    const RECT got = InParent(GetDlgItem(window.hwnd(), HeaderId(i)));
    EXPECT_TRUE(EqualRect(&want, &got)) << kGroupHeaders[i].control;
  }
  // Room for all of it. Only at least: the change is simulated, so the frame
  // keeps the system DPI's border and caption, narrower than the new DPI's.
  RECT client{};
  GetClientRect(window.hwnd(), &client);
  EXPECT_GE(client.right, MulDiv(652, kNewDpi, USER_DEFAULT_SCREEN_DPI));
  EXPECT_GE(client.bottom, MulDiv(538, kNewDpi, USER_DEFAULT_SCREEN_DPI));

  DestroyWindow(window.hwnd());
  DrainMessages();
}

TEST(DpiChange, AboutDialogScalesEveryControl) {
  WinRuntime runtime{GetModuleHandleW(nullptr)};
  ShowAboutDialog(GetModuleHandleW(nullptr), runtime.rt());
  HWND about = FindWindowW(L"#32770", L"About Quellanix V2.0");
  ASSERT_NE(about, nullptr);
  const LONG font_before = FontHeight(GetDlgItem(about, kAboutTitleId));
  MoveToDpi(about, kNewDpi);

  for (const AboutControl& c : kAboutControls) {
    const RECT want = ToPixels(c.rect, kNewDpi);
    const RECT got = InParent(GetDlgItem(about, c.id));
    EXPECT_TRUE(EqualRect(&want, &got)) << c.id;
  }
  // The message font grows with the DPI.
  EXPECT_EQ(FontHeight(GetDlgItem(about, kAboutTitleId)),
            MulDiv(font_before, kNewDpi, USER_DEFAULT_SCREEN_DPI));

  DestroyWindow(about);
  DrainMessages();
}

}  // namespace
}  // namespace qx::win
