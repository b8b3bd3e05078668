#pragma once
// Starting at logon for the current user: a value under the user's Run key,
// named after the blocker's title (or a free name beside it when another
// program has that one), holding its quoted full path.
#include <string>

#include "blocker/logon_name.h"
#include "blocker/stop_protocol.h"

namespace qx::blocker::win {

inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Whether the value `name` is there and starts the file `self`, whatever its
// path's spelling.
ValueOwner OwnerOfLogonValue(const std::wstring& name, const FileId& self);
// Writes the value `name` starting `path`. Throws Failure with the system's reason.
void WriteLogonValue(const std::wstring& name, const std::wstring& path);
// Registers the blocker under a name of its own; that name. Throws Failure.
std::wstring RegisterAtLogon(const std::wstring& title, const std::wstring& path,
                             const FileId& self);
// Removes the value `name` if it starts this blocker; another program's value
// stays. Throws Failure.
void UnregisterAtLogon(const std::wstring& name, const FileId& self);

}  // namespace qx::blocker::win
