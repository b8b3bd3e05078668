#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "runtime/dialogs.h"

namespace qx::win {

// A modal box with a prompt, one text field (pre-filled and selected), OK and
// Cancel. Returns the field's text on OK and the empty text on Cancel. Errors
// while it is open are shown through `dialogs`. `masked`: the field shows
// dots, for a password.
std::wstring RunInputBox(HINSTANCE instance, Dialogs& dialogs, HWND owner, std::wstring_view prompt,
                         std::wstring_view title, std::wstring_view default_text,
                         bool masked = false);

}  // namespace qx::win
