#pragma once
// The system's own words for an error code, carried into the messages users see.
#include <windows.h>

#include <string>
#include <string_view>

namespace qx::win {

// "The system cannot find the file specified. (error 2)"
std::wstring LastErrorText(DWORD code);

// Throws qx::Failure(operation, text of `code`).
[[noreturn]] void ThrowError(std::wstring_view operation, DWORD code);

// Throws qx::Failure(operation, text of GetLastError()).
[[noreturn]] void ThrowLastError(std::wstring_view operation);

}  // namespace qx::win
