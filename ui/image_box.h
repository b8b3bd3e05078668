#pragma once
// A borderless box that shows one bitmap filling it; a click on it (press and
// release inside) reaches the parent as WM_COMMAND with STN_CLICKED.
#include <windows.h>

namespace qx::win {

inline constexpr wchar_t kImageBoxClass[] = L"QuellanixImageBox";

void RegisterImageBoxClass(HINSTANCE instance);

// The box does not own the bitmap.
void SetImageBoxBitmap(HWND box, HBITMAP bitmap);

}  // namespace qx::win
