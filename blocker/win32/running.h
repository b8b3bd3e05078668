#pragma once
// The running blocker: it protects itself, starts at logon, ends the programs
// its settings block and answers stop requests, until the right password
// stops it. Nothing else ends its loop: not a window closed, not a WM_QUIT.
#include <windows.h>

#include <string>

#include "blocker/stop_protocol.h"
#include "format/blocker_settings.h"

namespace qx::blocker::win {

struct BlockerFile {
  std::wstring path;  // its full path, long names
  std::wstring title, log_path;
  FileId id;
};

// Blocks until stopped; the exit code.
int RunBlocker(HINSTANCE instance, const BlockerSettings& settings, const BlockerFile& file);

}  // namespace qx::blocker::win
