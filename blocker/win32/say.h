#pragma once
// The blocker's few words to its user: message boxes, the one way it shows them.
#include <windows.h>

#include <string>

#include "blocker/exit_codes.h"

namespace qx::blocker::win {

inline constexpr wchar_t kCaption[] = L"Quellanix Blocker";

// Shows `text` with `buttons` and `icon` under `caption`, in front; the button chosen.
int Ask(const std::wstring& text, const std::wstring& caption, UINT buttons, UINT icon);

// Shows `text`; `code`, for the caller to end with.
int Say(const std::wstring& text, UINT icon, ExitCode code = ExitCode::kDone);

// Shows `text` on a thread of its own, so that the caller's work goes on
// while it is open (on the caller's thread when no thread can be made).
void SayAside(const std::wstring& text, UINT icon);

}  // namespace qx::blocker::win
