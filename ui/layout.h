#pragma once
// Layout data of the windows: rectangles in twips, fonts in hundredths of a
// point. Converted to pixels once, with the window's DPI.
#include <windows.h>

#include <string_view>

namespace qx::win {

inline constexpr int kTwipsPerInch = 1440;

struct TwipsRect {
  int left;
  int top;
  int width;
  int height;
};

struct FontSpec {
  int centipoints;  // 975 = 9.75 pt; 0: the window's default font, if it has one
  bool bold;
};

inline constexpr FontSpec kNoFont{0, false};

// One child control. A window creates its controls in its table's order, which
// is therefore the tab order.
struct ControlSpec {
  const wchar_t* window_class;
  DWORD style;  // WS_CHILD | WS_VISIBLE are added
  std::wstring_view caption;
  int id;
  TwipsRect rect;
  FontSpec font;
  DWORD ex_style = 0;
};

// Twips to pixels at `dpi`, rounded to nearest (exact at 96 DPI: 15 twips a pixel).
constexpr int TwipsToPixels(int twips, int dpi) {
  const long long scaled = static_cast<long long>(twips) * dpi;
  return static_cast<int>((scaled + (scaled >= 0 ? kTwipsPerInch / 2 : -kTwipsPerInch / 2)) /
                          kTwipsPerInch);
}

inline RECT ToPixels(const TwipsRect& r, int dpi) {
  const int left = TwipsToPixels(r.left, dpi);
  const int top = TwipsToPixels(r.top, dpi);
  return {left, top, left + TwipsToPixels(r.width, dpi), top + TwipsToPixels(r.height, dpi)};
}

}  // namespace qx::win
