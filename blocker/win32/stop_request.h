#pragma once
// A second start of a running blocker's file: its owner may stop it with the
// password. The password goes only to a window whose process runs this same
// file; any other window of the control window's class is ignored.
#include <windows.h>

#include <string>

#include "blocker/stop_protocol.h"
#include "format/blocker_settings.h"

namespace qx::blocker::win {

// The control window of the blocker that runs the file `self`; nullptr when
// none does, and this start is to block. With `may_be_starting` (the instance
// mutex was taken), it waits a few seconds for a blocker still starting.
HWND FindRunningBlocker(const FileId& self, bool may_be_starting);

// Asks for the password (or "Stop blocking?") and sends it to `blocker`
// until it stops or the owner gives up. The exit code.
int AskToStop(HINSTANCE instance, const BlockerSettings& settings, HWND blocker, const FileId& self,
              const std::wstring& title, const std::wstring& log_path);

}  // namespace qx::blocker::win
