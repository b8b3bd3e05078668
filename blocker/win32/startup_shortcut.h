#pragma once
// A second way to start at logon, for when the Run key cannot be written: a
// shortcut in the user's Startup folder starting the blocker's file with
// kAtLogon. Such a start ends quietly when a blocker of the file already runs.
#include <optional>
#include <string>

#include "blocker/stop_protocol.h"

namespace qx::blocker::win {

inline constexpr wchar_t kAtLogon[] = L"/logon";

// Its shortcut: where it is and the bytes it was written with, to put back.
struct Shortcut {
  std::wstring path;
  std::string bytes;
};

// The user's Startup folder, where the user's shell folders put it now;
// empty when the system cannot tell.
std::wstring StartupFolder();

// A shortcut of its own in the user's Startup folder, starting `target` (the
// file `self`) with kAtLogon: one written at an earlier start, else a new one
// named after `title`, or a free name beside it where another program's
// shortcut has that one. Throws Failure with the system's reason.
Shortcut AddStartupShortcut(const std::wstring& title, const std::wstring& target,
                            const FileId& self);

// The bytes of the file at `path`; nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::wstring& path);
// Puts the shortcut back as written, its folder made again when missing.
// Throws Failure.
void RestoreShortcut(const Shortcut& shortcut);
// Removes the shortcut, when it is still as written (another program's file
// in its place stays), and the Startup switch kept for it. Throws Failure.
void RemoveShortcut(const Shortcut& shortcut);

}  // namespace qx::blocker::win
