#pragma once
// Whose a process is, for one that may not be opened to be read or ended: its
// owner, which the owner may always read, unless it took that right away too.
#include <cstdint>

#include "blocker/process_watch.h"

namespace qx::blocker::win {

Owner OwnerOfProcess(std::uint32_t pid);

}  // namespace qx::blocker::win
