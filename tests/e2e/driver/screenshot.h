#pragma once
// Screenshots of a top-level window as it shows on screen, title bar and menu
// included.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qx::e2e {

struct Capture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // top row first, three bytes a pixel

  std::uint32_t Pixel(int x, int y) const;  // 0xRRGGBB
  bool operator==(const Capture&) const = default;
};

// The screen's pixels under the window's rectangle, once two captures in a row
// agree (the window has finished painting).
Capture CaptureWindow(HWND top);

// Captures the window and writes it as a PNG file; returns the file's path.
std::wstring SaveScreenshot(HWND top, const std::wstring& name);

}  // namespace qx::e2e
