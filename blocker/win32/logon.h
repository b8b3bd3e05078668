#pragma once
// Starting at logon for the current user: a value under the user's Run key,
// named after the blocker's title (or a free name beside it when another
// program has that one), holding the quoted final path of its file.
#include <windows.h>

#include <optional>
#include <string>

#include "blocker/logon_name.h"
#include "blocker/stop_protocol.h"
#include "runtime/win32/handles.h"

namespace qx::blocker::win {

using qx::blocker::kLayersKey;
using qx::blocker::kRunKey;
using qx::blocker::kStartupSwitchKey;

// The user's key `path`, made when missing, with `rights`. Throws Failure
// (`operation`, the system's reason).
qx::win::RegKey OpenUserKey(const wchar_t* path, REGSAM rights, const wchar_t* operation);

// The string value `name` of `key`; nothing when there is none or it is no string.
std::optional<std::wstring> ReadText(HKEY key, const std::wstring& name);
// Writes the string value `name`. Throws Failure (`operation`, the system's reason).
void WriteText(HKEY key, const std::wstring& name, const std::wstring& text,
               const wchar_t* operation);

// Whether the value `name` of the Run key `run` is there and starts the file
// `self`, whatever its path's spelling.
ValueOwner OwnerOfLogonValue(HKEY run, const std::wstring& name, const FileId& self);
// Registers the blocker to run `command` under a name of its own; that name. Throws Failure.
std::wstring RegisterAtLogon(HKEY run, const std::wstring& title, const std::wstring& command,
                             const FileId& self);
// Removes the value `name` if it starts this blocker (another program's
// value stays), and the Startup switch kept for it. Throws Failure.
void UnregisterAtLogon(const std::wstring& name, const FileId& self);

}  // namespace qx::blocker::win
