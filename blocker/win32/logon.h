#pragma once
// Starting at logon for the current user: a value under the user's Run key,
// named after the blocker's title, holding its quoted full path.
#include <string>

namespace qx::blocker::win {

inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Throws Failure with the system's reason.
void RegisterAtLogon(const std::wstring& title, const std::wstring& path);
// Removes the value if it is there. Throws Failure.
void UnregisterAtLogon(const std::wstring& title);

}  // namespace qx::blocker::win
