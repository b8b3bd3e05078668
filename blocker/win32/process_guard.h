#pragma once
// The blocker's process refuses other programs of the same user: none may end,
// suspend, write into or re-permission it, nor hook into it. It ends by itself (the password) or
// with the session; an administrator with the debug privilege can still end it.

namespace qx::blocker::win {

// Throws Failure with the system's reason.
void ProtectProcess();

}  // namespace qx::blocker::win
