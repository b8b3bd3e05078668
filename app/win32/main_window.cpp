#include "app/win32/main_window.h"

#include <algorithm>
#include <string>
#include <vector>

#include "about/win32/about_window.h"
#include "app/win32/control_ids.h"
#include "ui/image_box.h"
#include "app/win32/main_layout.h"
#include "ui/layout.h"
#include "assets/resource.h"
#include "runtime/win32/last_error.h"
#include "ui/report.h"
#include "ui/top_windows.h"

namespace qx::win {
namespace {

constexpr DWORD kMainStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD kMainExStyle = 0;

// One row per child control, whatever table it comes from.
struct ChildSpec {
  int id;
  int tab_order;
  TwipsRect rect;
  FontSpec font;
};

// Built once: creation and every re-layout walk the same list.
const std::vector<ChildSpec>& AllChildren() {
  static const std::vector<ChildSpec> children = [] {
    std::vector<ChildSpec> c;
    for (std::size_t i = 0; i < kEntryCount; ++i) {
      const auto& p = kBoxPlaces[i];
      c.push_back({BoxId(i), p.tab_order, p.rect, p.font});
    }
    for (std::size_t i = 0; i < kGroupCount; ++i) {
      const auto& h = kHeaderPlaces[i];
      c.push_back({HeaderId(i), h.tab_order, h.rect, kHeaderFont});
    }
    for (const auto& f : FixedControls()) c.push_back({f.id, f.tab_order, f.rect, f.font});
    // Creation order is the tab order.
    std::sort(c.begin(), c.end(),
              [](const ChildSpec& a, const ChildSpec& b) { return a.tab_order < b.tab_order; });
    return c;
  }();
  return children;
}

HICON LoadAppIcon(HINSTANCE instance, int size) {
  return static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, Runtime& rt, PublicValues& values)
    : instance_(instance), rt_(rt), form_(rt, values, *this) {}

void MainWindow::Create(int show_command) {
  RegisterImageBoxClass(instance_);
  icon_big_.reset(LoadAppIcon(instance_, 50));
  icon_small_.reset(LoadAppIcon(instance_, GetSystemMetrics(SM_CXSMICON)));

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance_;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  // Class data outlives this object, so it holds only stock objects.
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kMainWindowClass;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    ThrowLastError(L"Could not register the main window class.");
  }

  // The load step runs before the window is first shown.
  form_.Form_Load();

  hwnd_ = CreateWindowExW(kMainExStyle, kMainWindowClass, kMainCaption, kMainStyle, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance_,
                          this);
  if (!hwnd_) ThrowLastError(L"Could not create the main window.");
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_big_.get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_small_.get()));
  last_focus_ = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  ShowWindow(hwnd_, show_command);
  UpdateWindow(hwnd_);
  if (last_focus_) SetFocus(last_focus_);
}

LRESULT CALLBACK MainWindow::Proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_NCCREATE) {
    self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  return self ? self->Handle(msg, wparam, lparam) : DefWindowProcW(hwnd, msg, wparam, lparam);
}

LRESULT MainWindow::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_CREATE:
      dpi_ = static_cast<int>(GetDpiForWindow(hwnd_));
      fonts_.SetDpi(dpi_);
      CreateMenuBar();
      CreateControls();
      ApplyLayout();
      TopLevelOpened(hwnd_, true);
      return 0;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wparam);
      fonts_.SetDpi(dpi_);
      const auto* suggested = reinterpret_cast<const RECT*>(lparam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      ApplyLayout();
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HDC dc = reinterpret_cast<HDC>(wparam);
      SetBkColor(dc, RGB(255, 255, 255));
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    case WM_ACTIVATE:
      // Keep the focused box across dialogs, as a dialog would.
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) last_focus_ = focus;
      } else if (last_focus_ && IsWindow(last_focus_)) {
        SetFocus(last_focus_);
      }
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_DESTROY:
      TopLevelClosed(hwnd_);
      hwnd_ = nullptr;
      return 0;
  }
  return DefWindowProcW(hwnd_, msg, wparam, lparam);
}

void MainWindow::CreateMenuBar() {
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
  SetMenu(hwnd_, bar);
}

void MainWindow::CreateControls() {
  for (const ChildSpec& child : AllChildren()) {
    const wchar_t* window_class = L"STATIC";
    std::wstring text;
    DWORD style = WS_CHILD | WS_VISIBLE;
    int image = 0;
    if (child.id >= kFirstBoxId && child.id < kFirstBoxId + static_cast<int>(kEntryCount)) {
      window_class = L"BUTTON";
      text = kCatalogue[static_cast<std::size_t>(child.id - kFirstBoxId)].caption;
      style |= BS_AUTOCHECKBOX | BS_LEFT | WS_TABSTOP;
    } else if (child.id >= kFirstHeaderId &&
               child.id < kFirstHeaderId + static_cast<int>(kGroupCount)) {
      text = kGroupHeaders[static_cast<std::size_t>(child.id - kFirstHeaderId)].caption;
      style |= SS_LEFT | SS_NOTIFY | SS_NOPREFIX;
    } else {
      const auto fixed = FixedControls();
      const auto it = std::find_if(fixed.begin(), fixed.end(),
                                   [&](const FixedControl& f) { return f.id == child.id; });
      if (it->kind == FixedKind::Image) {
        window_class = kImageBoxClass;
        text = it->text;
        image = it->image_resource;
      } else {
        text = InstructionText();
        style |= SS_LEFT | SS_NOPREFIX;
      }
    }
    HWND control = CreateWindowExW(0, window_class, text.c_str(), style, 0, 0, 0, 0, hwnd_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(child.id)),
                                   instance_, nullptr);
    if (!control) ThrowLastError(L"Could not create the main window's controls.");
    if (image != 0) {
      const std::size_t slot = static_cast<std::size_t>(image - IDB_LOGO);
      images_[slot].reset(static_cast<HBITMAP>(
          LoadImageW(instance_, MAKEINTRESOURCEW(image), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
      SetImageBoxBitmap(control, images_[slot].get());
    }
  }
}

void MainWindow::ApplyLayout() {
  RECT frame{0, 0, TwipsToPixels(kClientWidthTwips, dpi_), TwipsToPixels(kClientHeightTwips, dpi_)};
  AdjustWindowRectExForDpi(&frame, kMainStyle, TRUE, kMainExStyle, static_cast<UINT>(dpi_));
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (const ChildSpec& child : AllChildren()) {
    HWND control = GetDlgItem(hwnd_, child.id);
    const RECT r = ToPixels(child.rect, dpi_);
    SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (child.font.centipoints != 0) {
      SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(child.font)), TRUE);
    }
  }
}

void MainWindow::Run(void (frmMain::*handler)()) {
  RunHandler(rt_.dialogs, [&] { (form_.*handler)(); });
}

void MainWindow::OnCommand(int id, int code) {
  if (id >= kFirstHeaderId && id < kFirstHeaderId + static_cast<int>(kGroupCount)) {
    // A quick second click arrives as a double click; it is still a click.
    if (code == STN_CLICKED || code == STN_DBLCLK) {
      const Group group = kGroupHeaders[static_cast<std::size_t>(id - kFirstHeaderId)].group;
      RunHandler(rt_.dialogs, [&] { form_.HeaderClick(group); });
    }
    return;
  }
  switch (id) {
    case kPasswordButtonId:
      if (code == STN_CLICKED) Run(&frmMain::picPassword_Click);
      return;
    case kCompileButtonId:
      if (code == STN_CLICKED) Run(&frmMain::picCompile_Click);
      return;
    case kMenuPassword:
      Run(&frmMain::mnuPassword_Click);
      return;
    case kMenuCompile:
      Run(&frmMain::mnuCompile_Click);
      return;
    case kMenuOpenApp:
      Run(&frmMain::mnuOpenApp_Click);
      return;
    case kMenuExit:
      Run(&frmMain::mnuExit_Click);
      return;
    case kMenuAbout:
      Run(&frmMain::mnuAbout_Click);
      return;
    case kMenuIndex:
      Run(&frmMain::mnuIndex_Click);
      return;
  }
}

int MainWindow::Value(std::size_t catalogue_index) const {
  return static_cast<int>(SendDlgItemMessageW(hwnd_, BoxId(catalogue_index), BM_GETCHECK, 0, 0));
}

void MainWindow::SetValue(std::size_t catalogue_index, int value) {
  SendDlgItemMessageW(hwnd_, BoxId(catalogue_index), BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void MainWindow::ShowAbout() { ShowAboutDialog(instance_, rt_); }

void MainWindow::EndProgram() { CloseAllAndQuit(); }

}  // namespace qx::win
