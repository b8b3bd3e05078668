#pragma once
// A layout rectangle in twips as a window rectangle in pixels at `dpi`.
#include <windows.h>

#include "app/layout.h"

namespace qx::win {

inline RECT ToPixels(const TwipsRect& r, int dpi) {
  const int left = TwipsToPixels(r.left, dpi);
  const int top = TwipsToPixels(r.top, dpi);
  return {left, top, left + TwipsToPixels(r.width, dpi), top + TwipsToPixels(r.height, dpi)};
}

}  // namespace qx::win
