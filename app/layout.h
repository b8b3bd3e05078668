#pragma once
// Layout data shared by the windows: rectangles in twips, fonts in hundredths of
// a point. Converted to pixels once, with the window's DPI.

namespace qx {

inline constexpr int kTwipsPerInch = 1440;

struct TwipsRect {
  int left;
  int top;
  int width;
  int height;
};

struct FontSpec {
  int centipoints;  // 975 = 9.75 pt
  bool bold;
};

inline constexpr FontSpec kNoFont{0, false};

// Twips to pixels at `dpi`, rounded to nearest (exact at 96 DPI: 15 twips a pixel).
constexpr int TwipsToPixels(int twips, int dpi) {
  const long long scaled = static_cast<long long>(twips) * dpi;
  return static_cast<int>((scaled + (scaled >= 0 ? kTwipsPerInch / 2 : -kTwipsPerInch / 2)) /
                          kTwipsPerInch);
}

}  // namespace qx
