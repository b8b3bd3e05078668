// The memory bench's baseline: the main window's visible work done plainly.
// The same controls from the same tables, in the same face and sizes, the
// same menu, icons and images, and nothing else: no window base, runtime,
// handlers, font search or error reports.
// clang-format off
#include <windows.h>
#include <commctrl.h>  // needs windows.h first
// clang-format on

#include "app/win32/control_ids.h"
#include "app/win32/main_layout.h"
#include "assets/resource.h"
#include "ui/image_box.h"

namespace {

using namespace qx::win;

constexpr wchar_t kClass[] = L"QuellanixPlainWindow";

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkColor(reinterpret_cast<HDC>(wparam), RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wparam, lparam);
}

HMENU MenuBar() {
  HMENU bar = CreateMenu();
  for (const Menu& menu : MenuTree()) {
    HMENU popup = CreatePopupMenu();
    for (const MenuItem& item : menu.items) {
      AppendMenuW(popup, item.id ? MF_STRING : MF_SEPARATOR, static_cast<UINT_PTR>(item.id),
                  item.caption.data());
    }
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), menu.caption.data());
  }
  return bar;
}

// One font per size and weight, made on first use; `face` from the command line.
HFONT FontFor(FontSpec wanted, const wchar_t* face, int dpi) {
  static struct {
    FontSpec size;
    HFONT font;
  } made[8];
  for (auto& m : made) {
    if (m.font && m.size.centipoints == wanted.centipoints && m.size.bold == wanted.bold) {
      return m.font;
    }
    if (m.font) continue;
    m = {wanted, CreateFontW(-MulDiv(wanted.centipoints, dpi, 7200), 0, 0, 0,
                             wanted.bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                             CLEARTYPE_QUALITY, 0, face)};
    return m.font;
  }
  return nullptr;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR face, int show) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  RegisterImageBoxClass(instance);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kClass;
  RegisterClassExW(&wc);
  const int dpi = static_cast<int>(GetDpiForSystem());
  RECT frame{0, 0, TwipsToPixels(kClientWidthTwips, dpi), TwipsToPixels(kClientHeightTwips, dpi)};
  AdjustWindowRectExForDpi(&frame, WS_OVERLAPPEDWINDOW, TRUE, 0, static_cast<UINT>(dpi));
  HWND hwnd = CreateWindowExW(0, kClass, kMainCaption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                              nullptr, MenuBar(), instance, nullptr);
  for (const ControlSpec& c : MainControls()) {
    const RECT r = ToPixels(c.rect, dpi);
    HWND control = CreateWindowExW(
        c.ex_style, c.window_class, c.caption.data(), WS_CHILD | WS_VISIBLE | c.style, r.left,
        r.top, r.right - r.left, r.bottom - r.top, hwnd,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
    if (c.font.centipoints) {
      SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c.font, face, dpi)), 0);
    }
  }
  for (const FixedControl& f : FixedControls()) {
    if (f.kind != FixedKind::Image) continue;
    SetImageBoxBitmap(GetDlgItem(hwnd, f.id),
                      static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(f.image_resource),
                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  }
  const int big = MulDiv(50, dpi, USER_DEFAULT_SCREEN_DPI);
  const int small = GetSystemMetricsForDpi(SM_CXSMICON, static_cast<UINT>(dpi));
  for (const auto& [which, size] : {std::pair{ICON_BIG, big}, {ICON_SMALL, small}}) {
    SendMessageW(hwnd, WM_SETICON, which,
                 reinterpret_cast<LPARAM>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP),
                                                     IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
  }
  ShowWindow(hwnd, show);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(hwnd, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
