#pragma once
// Whether this account may change the blocker's file, read from the file's
// and its folder's security, as the system would judge a request.
#include <string>

namespace qx::blocker::win {

// Whether this account may replace, rename or delete the file at `path`, or
// change who may. Throws Failure when the system cannot tell.
bool AccountCanChangeFile(const std::wstring& path);

}  // namespace qx::blocker::win
