#pragma once
// The running blocker: it starts at logon, ends the programs its settings
// block and answers stop requests, until the right password stops it.
// Nothing else ends its loop: not a window closed, not a WM_QUIT.
#include <windows.h>

#include <optional>
#include <string>

#include "blocker/stop_protocol.h"
#include "common/failure.h"
#include "format/blocker_settings.h"

namespace qx::blocker::win {

struct BlockerFile {
  std::wstring path;  // its full path, long names
  std::wstring
      final_path;  // as the system resolves it (no substituted drive), for its start at logon
  std::wstring title, log_path;
  FileId id;
};

// Why the process is less protected than it should be, to say once it blocks.
struct Unprotected {
  std::optional<Failure> now;    // it could not protect itself
  std::optional<Failure> early;  // it could not be started protected
};

// Blocks until stopped; the exit code.
int RunBlocker(HINSTANCE instance, const BlockerSettings& settings, const BlockerFile& file,
               const Unprotected& unprotected);

}  // namespace qx::blocker::win
