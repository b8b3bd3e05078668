#include "app/win32/main_window.h"

#include <string>
#include <utility>

#include "about/win32/about_window.h"
#include "app/win32/control_ids.h"
#include "app/win32/main_layout.h"
#include "app/win32/more_window.h"
#include "assets/resource.h"
#include "runtime/win32/last_error.h"
#include "ui/image_box.h"
#include "ui/top_windows.h"

namespace qx::win {
namespace {

constexpr int kIconPixels96 = 50;

WindowSpec MainSpec() {
  return {.style = WS_OVERLAPPEDWINDOW,
          .ex_style = 0,
          .client_width_twips = kClientWidthTwips,
          .client_height_twips = kClientHeightTwips,
          .controls = MainControls(),
          .create_failure = L"Could not create the main window.",
          .controls_failure = L"Could not create the main window's controls."};
}

HICON LoadAppIcon(HINSTANCE instance, int size) {
  return static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

HMENU MakeMenuBar() {
  HMENU bar = CreateMenu();
  for (const Menu& menu : MenuTree()) {
    HMENU popup = CreatePopupMenu();
    for (const MenuItem& item : menu.items) {
      if (item.id == 0) {
        AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
      } else {
        AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(item.id),
                    std::wstring(item.caption).c_str());
      }
    }
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup),
                std::wstring(menu.caption).c_str());
  }
  return bar;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, Runtime& rt, PublicValues& values)
    : Window(instance, rt.dialogs, MainSpec()),
      rt_(rt),
      values_(values),
      form_(rt, values, *this) {}

void MainWindow::Create(int show_command) {
  RegisterImageBoxClass(instance());
  // The load step runs before the window is first shown.
  form_.Form_Load();
  CreateFramed(kMainWindowClass, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), kMainCaption,
               MakeMenuBar());
  Show(show_command);
}

// The program icon: the fifty-pixel image and the small one, at the DPI of
// the window's monitor. The old ones go once the window holds the new.
void MainWindow::OnNewDpi() {
  const auto dpi = static_cast<UINT>(this->dpi());
  Icon big(LoadAppIcon(instance(),
                       MulDiv(kIconPixels96, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI)));
  Icon small(LoadAppIcon(instance(), GetSystemMetricsForDpi(SM_CXSMICON, dpi)));
  SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
  icon_big_ = std::move(big);
  icon_small_ = std::move(small);
}

void MainWindow::OnCreate() {
  OnNewDpi();
  for (const FixedControl& f : FixedControls()) {
    if (f.kind != FixedKind::Image) continue;
    Bitmap& image = images_[static_cast<std::size_t>(f.image_resource - IDB_LOGO)];
    image.reset(static_cast<HBITMAP>(LoadImageW(instance(), MAKEINTRESOURCEW(f.image_resource),
                                                IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    SetImageBoxBitmap(Control(f.id), image.get());
  }
}

std::optional<LRESULT> MainWindow::OnMessage(UINT msg, WPARAM wparam, LPARAM) {
  if (msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLORBTN) return std::nullopt;
  HDC dc = reinterpret_cast<HDC>(wparam);
  SetBkColor(dc, RGB(255, 255, 255));
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
}

void MainWindow::OnCommand(int id, int code) {
  for (std::size_t h = 0; h < kGroupCount; ++h) {
    // A quick second click arrives as a double click; it is still a click.
    if (id == HeaderId(h) && (code == STN_CLICKED || code == STN_DBLCLK)) {
      form_.HeaderClick(kGroupHeaders[h].group);
    }
  }
  switch (id) {
    case kPasswordButtonId:
      if (code == STN_CLICKED) form_.picPassword_Click();
      return;
    case kCompileButtonId:
      if (code == STN_CLICKED) form_.picCompile_Click();
      return;
    case kMenuPassword:
      return form_.mnuPassword_Click();
    case kMenuCompile:
      return form_.mnuCompile_Click();
    case kMenuOpenApp:
      return form_.mnuOpenApp_Click();
    case kMenuExit:
      return form_.mnuExit_Click();
    case kMenuAbout:
      return form_.mnuAbout_Click();
    case kMenuIndex:
      return form_.mnuIndex_Click();
    case kMenuMore:
      return form_.mnuMore_Click();
  }
}

int MainWindow::Value(std::size_t catalogue_index) const {
  return static_cast<int>(SendDlgItemMessageW(hwnd(), BoxId(catalogue_index), BM_GETCHECK, 0, 0));
}

void MainWindow::SetValue(std::size_t catalogue_index, int value) {
  SendDlgItemMessageW(hwnd(), BoxId(catalogue_index), BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void MainWindow::ShowAbout() { ShowAboutDialog(instance(), rt_, hwnd()); }

void MainWindow::ShowMore() { RunMoreDialog(instance(), rt_, hwnd(), values_.more); }

void MainWindow::EndProgram() { CloseAllAndQuit(); }

}  // namespace qx::win
