#pragma once
// The image of a running program as the loader mapped it, read from the
// process's memory: its version resource is there even when its file cannot
// be opened (held open exclusively, renamed or removed since it started).
#include <windows.h>

#include <memory>

#include "common/byte_source.h"

namespace qx::blocker::win {

// The main image of `process` (opened with PROCESS_VM_READ and
// PROCESS_QUERY_LIMITED_INFORMATION, which must outlive it); nothing when it
// cannot be read.
std::unique_ptr<ByteSource> ImageBytes(HANDLE process);

}  // namespace qx::blocker::win
