#pragma once
// Small helpers for the in-process window tests.
#include <windows.h>

namespace qx::win {

// The control's rectangle in its parent's client coordinates.
inline RECT InParent(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The font the control was given (all zero when it has none).
inline LOGFONTW FontOf(HWND control) {
  auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  LOGFONTW lf{};
  if (font) GetObjectW(font, sizeof lf, &lf);
  return lf;
}

// Empties the thread's queue, the WM_QUIT the last window posts included, so
// the next test starts with none.
inline void DrainMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

}  // namespace qx::win
