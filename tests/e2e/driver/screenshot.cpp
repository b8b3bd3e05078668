#include "tests/e2e/driver/screenshot.h"

#include "runtime/win32/handles.h"
#include "tests/e2e/driver/app_process.h"
#include "tests/e2e/driver/driver_error.h"
#include "tests/e2e/driver/png.h"
#include "tests/e2e/driver/wait.h"
#include "tests/e2e/driver/windows.h"

namespace qx::e2e {
namespace {

Capture GrabScreen(const RECT& r) {
  Capture c;
  c.width = r.right - r.left;
  c.height = r.bottom - r.top;
  if (c.width <= 0 || c.height <= 0) throw DriverError(L"the window has no area to capture");

  win::WindowDC screen(nullptr);
  HDC memory = ::CreateCompatibleDC(screen.get());
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = c.width;
  info.bmiHeader.biHeight = -c.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  win::Bitmap bitmap(::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) {
    ::DeleteDC(memory);
    throw DriverError(L"CreateDIBSection failed");
  }
  {
    win::SelectGuard select(memory, bitmap.get());
    ::BitBlt(memory, 0, 0, c.width, c.height, screen.get(), r.left, r.top, SRCCOPY);
    ::GdiFlush();
  }
  ::DeleteDC(memory);

  const auto* bgra = static_cast<const std::uint8_t*>(bits);
  const auto count = static_cast<std::size_t>(c.width) * static_cast<std::size_t>(c.height);
  c.rgb.resize(count * 3);
  for (std::size_t i = 0; i < count; ++i) {
    c.rgb[i * 3 + 0] = bgra[i * 4 + 2];
    c.rgb[i * 3 + 1] = bgra[i * 4 + 1];
    c.rgb[i * 3 + 2] = bgra[i * 4 + 0];
  }
  return c;
}

}  // namespace

std::uint32_t Capture::Pixel(int x, int y) const {
  const auto i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)) *
                 3;
  return (std::uint32_t{rgb[i]} << 16) | (std::uint32_t{rgb[i + 1]} << 8) | rgb[i + 2];
}

Capture CaptureWindow(HWND top) {
  RoundTrip(top);
  ::RedrawWindow(top, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT r{};
  ::GetWindowRect(top, &r);
  Capture previous = GrabScreen(r);
  Capture current;
  if (!WaitUntil([&] {
        current = GrabScreen(r);
        if (current == previous) return true;
        previous = std::move(current);
        return false;
      })) {
    throw DriverError(L"the window kept changing; no stable screenshot");
  }
  return current;
}

std::wstring SaveScreenshot(HWND top, const std::wstring& name) {
  const Capture c = CaptureWindow(top);
  const std::vector<std::uint8_t> png = EncodePng(c.width, c.height, c.rgb);
  const std::wstring path = ScreenshotDir() + L"\\" + name + L".png";
  win::FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (!file ||
      !::WriteFile(file.get(), png.data(), static_cast<DWORD>(png.size()), &written, nullptr) ||
      written != png.size()) {
    throw DriverError(L"cannot write " + path);
  }
  return path;
}

}  // namespace qx::e2e
