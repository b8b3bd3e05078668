#pragma once
// Whether a window is of a class, by name, as the system compares class names
// (letter case ignored); false for no window.
#include <windows.h>

namespace qx::win {

inline bool HasWindowClass(HWND window, const wchar_t* window_class) {
  wchar_t name[256] = {};  // the longest class name the system registers
  return window && GetClassNameW(window, name, static_cast<int>(std::size(name))) &&
         lstrcmpiW(name, window_class) == 0;
}

}  // namespace qx::win
