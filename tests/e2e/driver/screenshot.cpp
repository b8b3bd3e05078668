#include <cstdint>
#include <utility>
#include <vector>

#include "tests/e2e/driver/driver.h"
// Before GDI+, which needs the COM declarations a lean windows.h leaves out.
#include <objbase.h>
// After objbase.h.
#include <gdiplus.h>

namespace qx::e2e {
namespace {

// The screen's pixels in `r`, 32-bit BGRA, top row first.
std::vector<std::uint8_t> GrabScreen(const RECT& r) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) throw DriverError(L"the window has no area to capture");
  std::vector<std::uint8_t> bgra(static_cast<std::size_t>(width * height) * 4);
  win::WindowDC screen(nullptr);
  HDC memory = ::CreateCompatibleDC(screen.get());
  win::Bitmap bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(info.bmiHeader), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  {
    win::SelectGuard select(memory, bitmap.get());
    ::BitBlt(memory, 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY);
  }
  const int rows = ::GetDIBits(memory, bitmap.get(), 0, static_cast<UINT>(height), bgra.data(),
                               &info, DIB_RGB_COLORS);
  ::DeleteDC(memory);
  if (rows != height) throw DriverError(L"the screen could not be read");
  return bgra;
}

}  // namespace

void SaveScreenshot(HWND top, COLORREF background, const std::wstring& name) {
  if (!Answers(top)) throw DriverError(L"the window does not answer");
  // Painted now, children too: a box's background and icon otherwise reach the
  // screen, and hold still, before its text and buttons do.
  ::RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT frame{}, client{};
  ::GetWindowRect(top, &frame);
  ::GetClientRect(top, &client);
  POINT corner{client.right - 2, client.bottom - 2}, origin{0, 0};
  ::ClientToScreen(top, &corner);
  ::ClientToScreen(top, &origin);
  const int width = frame.right - frame.left;
  const auto pixel = [&](const std::vector<std::uint8_t>& c, LONG x, LONG y) {
    const auto at = static_cast<std::size_t>((y - frame.top) * width + x - frame.left) * 4;
    return RGB(c[at + 2], c[at + 1], c[at]);
  };
  // Under Wine a window is listed, and answers, before its pixels reach the
  // screen: until then a capture shows what was beneath it, or its bare
  // background before its controls paint. Then two captures in a row agree.
  std::vector<std::uint8_t> previous, current;
  Await(
      [&] {
        current = GrabScreen(frame);
        if (std::exchange(previous, current) != current) return false;
        if (pixel(current, corner.x, corner.y) != background) return false;
        for (LONG y = origin.y; y < corner.y; ++y) {
          for (LONG x = origin.x; x < corner.x; ++x) {
            if (pixel(current, x, y) != background) return true;
          }
        }
        return false;
      },
      L"the window's own pixels never showed on screen, or kept changing");

  const std::wstring path = std::wstring(QX_E2E_SCREENSHOT_DIR) + L"\\" + name + L".png";
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  CLSID png{};  // GDI+'s PNG encoder
  ::CLSIDFromString(L"{557CF406-1A04-11D3-9A73-0000F81EF32E}", &png);
  const Gdiplus::Status saved = Gdiplus::Bitmap(width, frame.bottom - frame.top, width * 4,
                                                PixelFormat32bppRGB, current.data())
                                    .Save(path.c_str(), &png, nullptr);
  Gdiplus::GdiplusShutdown(token);
  if (saved != Gdiplus::Ok) throw DriverError(L"cannot write " + path);
}

}  // namespace qx::e2e
