#pragma once
// What the password flow shows, as the user reads it; shared by the unit and
// the end-to-end tests so both check against the same words.
#include <string>

namespace qx::test {

inline constexpr wchar_t kPasswordPrompt[] =
    L"Please enter a password that can be used to disable Quellanix";
inline constexpr wchar_t kPasswordSet[] = L"Password has been set and encrypted.";

}  // namespace qx::test
