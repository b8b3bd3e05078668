#pragma once
// The top-level windows of every desktop of the window station: a program
// started on a second desktop shows its windows there, where this desktop's
// enumeration and window events do not reach.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>

namespace qx::blocker::win {

// Calls `visit` for each top-level window of this desktop, then of every other
// desktop that may be read.
void ForEachTopWindow(const std::function<void(HWND)>& visit);

// Posts WM_CLOSE (with `insist`, also its close box's SC_CLOSE, and hides it)
// to every visible top-level window of the processes `pids`; how many took it.
// A window of a program with more rights than this one refuses it.
int CloseWindowsOf(std::span<const std::uint32_t> pids, bool insist);

}  // namespace qx::blocker::win
