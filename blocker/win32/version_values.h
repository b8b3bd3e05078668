#pragma once
// Values of a program's version resource (OriginalFilename, ...), read with
// the blocker's own parser: from the program's file, or from a running
// process's image in memory when its file cannot be opened.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace qx::blocker::win {

// The value named `key` in the file's version resource; empty when it has
// none; nothing when the file cannot be read.
std::optional<std::wstring> FileVersionString(const std::wstring& path, std::wstring_view key);

// The same, read from the main module of running `process`, which must be
// open with PROCESS_QUERY_INFORMATION | PROCESS_VM_READ.
std::optional<std::wstring> ImageVersionString(HANDLE process, std::wstring_view key);

}  // namespace qx::blocker::win
