#pragma once
// A second way to start at logon, for when the Run key cannot be written: a
// shortcut in the user's Startup folder starting the blocker's file with
// kAtLogon. Such a start ends quietly when a blocker of the file already runs.
#include <string>

namespace qx::blocker::win {

inline constexpr wchar_t kAtLogon[] = L"/logon";

// "<the user's Startup folder>\<title>.lnk"; empty when the folder cannot be found.
std::wstring StartupShortcutPath(const std::wstring& title);

// Writes the shortcut `link` starting `target` with kAtLogon. Throws Failure
// with the system's reason.
void WriteStartupShortcut(const std::wstring& link, const std::wstring& target);

}  // namespace qx::blocker::win
