// The real windows, created in this process and checked where another process
// cannot look: fonts, icons and DPI changes, the exe's version resource, and
// the system's ANSI conversion.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "about/win32/about_layout.h"
#include "about/win32/about_window.h"
#include "app/win32/main_layout.h"
#include "app/win32/main_window.h"
#include "blocker/win32/version_values.h"
#include "common/version.h"
#include "runtime/win32/ansi_codec.h"
#include "ui/win_runtime.h"

namespace qx::win {
namespace {

constexpr int kNewDpi = 144;

// What the system sends when the window lands on a monitor of `dpi`.
void MoveToDpi(HWND window, int dpi) {
  RECT r{};
  GetWindowRect(window, &r);
  r.right = r.left + MulDiv(r.right - r.left, dpi, USER_DEFAULT_SCREEN_DPI);
  r.bottom = r.top + MulDiv(r.bottom - r.top, dpi, USER_DEFAULT_SCREEN_DPI);
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
}

// The program's fifty-pixel image and small icon at `dpi` in the title bar.
void ExpectIconsAt(HWND window, int dpi) {
  const auto width = [&](WPARAM which) {
    ICONINFO info{};
    BITMAP colour{};
    if (!GetIconInfo(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0)), &info))
      return LONG{0};
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return colour.bmWidth;
  };
  EXPECT_EQ(width(ICON_BIG), MulDiv(50, dpi, USER_DEFAULT_SCREEN_DPI)) << dpi;
  EXPECT_EQ(width(ICON_SMALL), GetSystemMetricsForDpi(SM_CXSMICON, static_cast<UINT>(dpi))) << dpi;
}

// Each control's place in the window and the height of its own font (0 for
// one with the window's).
using Layout = std::vector<std::pair<RECT, LONG>>;
Layout LaidOut(HWND window, std::span<const ControlSpec> controls) {
  Layout out;
  for (const ControlSpec& c : controls) {
    RECT r{};
    LOGFONTW font{};
    GetWindowRect(GetDlgItem(window, c.id), &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    GetObjectW(reinterpret_cast<HFONT>(SendDlgItemMessageW(window, c.id, WM_GETFONT, 0, 0)),
               sizeof font, &font);
    out.emplace_back(r, c.font.centipoints ? font.lfHeight : 0);
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

TEST(WindowsInProcess, ControlsAndIconsFollowADpiChange) {
  WinRuntime runtime{GetModuleHandleW(nullptr)};
  PublicValues values;
  MainWindow window{GetModuleHandleW(nullptr), runtime.rt(), values};
  window.Create(SW_SHOWNORMAL);
  ShowAboutDialog(GetModuleHandleW(nullptr), runtime.rt());
  HWND main = window.hwnd(), about = FindWindowW(L"#32770", L"About " QX_WIDEN(QX_PRODUCT_NAME));
  ASSERT_NE(about, nullptr);
  using Controls = std::span<const ControlSpec>;
  for (const auto& [hwnd, controls] :
       {std::pair{main, MainControls()}, {about, Controls(kAboutControls)}}) {
    ExpectIconsAt(hwnd, USER_DEFAULT_SCREEN_DPI);
    const Layout before = LaidOut(hwnd, controls);
    MoveToDpi(hwnd, kNewDpi);
    ExpectScaled(before, LaidOut(hwnd, controls), kNewDpi);
    ExpectIconsAt(hwnd, kNewDpi);
  }
  // Room for the layout at 150 % (652 x 538 at 96); only at least: the change
  // is simulated, so the frame keeps the system DPI's border and caption.
  RECT client{};
  GetClientRect(main, &client);
  EXPECT_TRUE(client.right >= 978 && client.bottom >= 807);
  DestroyWindow(about);
  DestroyWindow(main);
  EXPECT_TRUE(QuitPosted());  // the main window, closed, ends the program
}

// A blocker runs under the name its owner chose: nothing in its version
// resource names the tool for Task Manager to show instead, only the original
// file name by which blockers know one another. The program's own resource is
// read from its file and from a running image: this test's, which carries it.
TEST(VersionResource, TheProgramCarriesItsResourceAndABlockerOnlyItsOriginalFileName) {
  for (const auto& [exe, name, want] :
       {std::tuple{QX_TEST_EXE, L"OriginalFilename", QX_WIDEN(QX_EXE_NAME)},
        {QX_TEMPLATE, L"FileDescription", L""},
        {QX_TEMPLATE, L"ProductName", L""},
        {QX_TEMPLATE, L"CompanyName", L""},
        {QX_TEMPLATE, L"OriginalFilename", L"quellanix.ext"}}) {
    EXPECT_EQ(blocker::win::FileVersionString(exe, name).value_or(L"unread"), want) << name;
  }
  EXPECT_EQ(blocker::win::ImageVersionString(GetCurrentProcess(), L"FileVersion"),
            QX_WIDEN(QX_VERSION_TEXT));
}

// The system's conversion refuses what the code page lacks rather than
// writing a look-alike (A for A-macron), and what it takes comes back whole.
TEST(AnsiCodec, RefusesCharactersOutsideTheCodePageAndRoundTripsTheRest) {
  const WinAnsiCodec codec;
  for (const wchar_t* refused : {L"\x263A", L"\x0100"})
    EXPECT_EQ(codec.ToAnsi(refused), std::nullopt);
  const std::optional<std::string> bytes = codec.ToAnsi(L"p\xE9");
  ASSERT_EQ(bytes, "p\xE9");  // the test prefix's code page is 1252
  EXPECT_EQ(codec.FromAnsi(*bytes), L"p\xE9");
}

}  // namespace
}  // namespace qx::win
