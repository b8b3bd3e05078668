#pragma once
// The blocker's few words to its user: a message box under its own caption.
#include <windows.h>

#include <string>

#include "blocker/exit_codes.h"

namespace qx::blocker::win {

// Shows `text`; `code`, for the caller to end with.
int Say(const std::wstring& text, UINT icon, ExitCode code = ExitCode::kDone);

}  // namespace qx::blocker::win
