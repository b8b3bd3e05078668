#include "ui/image_box.h"

#include "runtime/win32/handles.h"

namespace qx::win {
namespace {

constexpr int kBitmapSlot = 0;
constexpr int kPressedSlot = sizeof(LONG_PTR);

void Paint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(hwnd, kBitmapSlot));
  BITMAP info{};
  if (bitmap && GetObjectW(bitmap, sizeof info, &info)) {
    HDC memory = CreateCompatibleDC(dc);
    {
      SelectGuard select(memory, bitmap);
      // Averaged, not dropped or doubled, pixels at other DPIs; HALFTONE
      // wants the brush origin set after it.
      SetStretchBltMode(dc, HALFTONE);
      SetBrushOrgEx(dc, 0, 0, nullptr);
      StretchBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, info.bmWidth, info.bmHeight,
                 SRCCOPY);
    }
    DeleteDC(memory);
  } else {
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  EndPaint(hwnd, &ps);
}

LRESULT CALLBACK ImageBoxProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_PAINT:
      Paint(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
      SetCapture(hwnd);
      SetWindowLongPtrW(hwnd, kPressedSlot, 1);
      return 0;
    case WM_LBUTTONUP: {
      const bool pressed = GetWindowLongPtrW(hwnd, kPressedSlot) != 0;
      SetWindowLongPtrW(hwnd, kPressedSlot, 0);
      ReleaseCapture();
      RECT client;
      GetClientRect(hwnd, &client);
      const POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      if (pressed && PtInRect(&client, at)) {
        const int id = GetDlgCtrlID(hwnd);
        SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(id, STN_CLICKED),
                     reinterpret_cast<LPARAM>(hwnd));
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      SetWindowLongPtrW(hwnd, kPressedSlot, 0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wparam, lparam);
}

}  // namespace

void RegisterImageBoxClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ImageBoxProc;
  wc.cbWndExtra = 2 * sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kImageBoxClass;
  RegisterClassExW(&wc);
}

void SetImageBoxBitmap(HWND box, HBITMAP bitmap) {
  SetWindowLongPtrW(box, kBitmapSlot, reinterpret_cast<LONG_PTR>(bitmap));
  InvalidateRect(box, nullptr, TRUE);
}

}  // namespace qx::win
