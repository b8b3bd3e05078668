#include "tests/e2e/driver/driver.h"
// Before GDI+, which needs the COM declarations a lean windows.h leaves out.
#include <objbase.h>
// After objbase.h.
#include <gdiplus.h>

namespace qx::e2e {
namespace {

Capture GrabScreen(const RECT& r) {
  Capture c{r.right - r.left, r.bottom - r.top, {}};
  if (c.width <= 0 || c.height <= 0) throw DriverError(L"the window has no area to capture");
  c.bgra.resize(static_cast<std::size_t>(c.width) * static_cast<std::size_t>(c.height) * 4);
  win::WindowDC screen(nullptr);
  HDC memory = ::CreateCompatibleDC(screen.get());
  win::Bitmap bitmap(::CreateCompatibleBitmap(screen.get(), c.width, c.height));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(info.bmiHeader), c.width, -c.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  {
    win::SelectGuard select(memory, bitmap.get());
    ::BitBlt(memory, 0, 0, c.width, c.height, screen.get(), r.left, r.top, SRCCOPY);
  }
  const int rows = ::GetDIBits(memory, bitmap.get(), 0, static_cast<UINT>(c.height), c.bgra.data(),
                               &info, DIB_RGB_COLORS);
  ::DeleteDC(memory);
  if (rows != c.height) throw DriverError(L"the screen could not be read");
  return c;
}

}  // namespace

COLORREF Capture::Pixel(int x, int y) const {
  const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                         static_cast<std::size_t>(x)) *
                        4;
  return RGB(bgra[i + 2], bgra[i + 1], bgra[i]);
}

Capture CaptureWindow(HWND top, COLORREF background) {
  if (!Answers(top)) throw DriverError(L"the window does not answer");
  RECT frame{};
  RECT client{};
  ::GetWindowRect(top, &frame);
  ::GetClientRect(top, &client);
  POINT corner{client.right - 2, client.bottom - 2}, origin{0, 0};
  ::ClientToScreen(top, &corner);
  ::ClientToScreen(top, &origin);
  // Under Wine a window is listed, and answers, before its pixels reach the
  // screen: until then a capture shows what was beneath it, or its bare
  // background before its controls paint.
  const auto drawn = [&](const Capture& c) {
    if (c.Pixel(corner.x - frame.left, corner.y - frame.top) != background) return false;
    for (int y = origin.y - frame.top; y < corner.y - frame.top; ++y) {
      for (int x = origin.x - frame.left; x < corner.x - frame.left; ++x) {
        if (c.Pixel(x, y) != background) return true;
      }
    }
    return false;
  };
  Capture previous;
  if (!WaitUntil([&] {
        previous = GrabScreen(frame);
        return drawn(previous);
      })) {
    throw DriverError(L"the window's background never showed on screen");
  }
  Capture current;
  if (!WaitUntil([&] {
        current = GrabScreen(frame);
        const bool same = current == previous;
        previous = current;
        return same;
      })) {
    throw DriverError(L"the window kept changing; no stable screenshot");
  }
  return current;
}

void SaveScreenshot(HWND top, COLORREF background, const std::wstring& name) {
  Capture c = CaptureWindow(top, background);
  const std::wstring path = std::wstring(QX_E2E_SCREENSHOT_DIR) + L"\\" + name + L".png";
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  Gdiplus::Status saved = Gdiplus::GenericError;
  {
    Gdiplus::Bitmap image(c.width, c.height, c.width * 4, PixelFormat32bppRGB, c.bgra.data());
    CLSID png{};  // GDI+'s PNG encoder
    ::CLSIDFromString(L"{557CF406-1A04-11D3-9A73-0000F81EF32E}", &png);
    saved = image.Save(path.c_str(), &png, nullptr);
  }
  Gdiplus::GdiplusShutdown(token);
  if (saved != Gdiplus::Ok) throw DriverError(L"cannot write " + path);
}

}  // namespace qx::e2e
