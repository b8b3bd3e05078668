#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace qx::win {

// A modal box with a prompt, one text field (pre-filled and selected), OK and
// Cancel. Returns the field's text on OK and the empty text on Cancel.
std::wstring RunInputBox(HINSTANCE instance, HWND owner, std::wstring_view prompt,
                         std::wstring_view title, std::wstring_view default_text);

}  // namespace qx::win
