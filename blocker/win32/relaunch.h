#pragma once
// The process the system starts (from the Run value or a double click) does
// as little as it can: it starts its file again, protected from the new
// process's first moment, keeps only the right to wait for it, and passes
// its exit code back. A program polling for the first process can still
// catch that one; the blocker itself it cannot.
#include <windows.h>

#include <string>

#include "runtime/win32/handles.h"

namespace qx::blocker::win {

// The command-line argument the started process carries.
inline constexpr wchar_t kRelaunched[] = L"/relaunched";

// Starts `path` again, protected, with `arguments` after kRelaunched. Throws
// Failure with the system's reason (e.g. a path too long for the system to start).
qx::win::ProcessHandle StartProtected(const std::wstring& path, const std::wstring& arguments);
// Waits for `process` to end; its exit code.
int ExitCodeOf(const qx::win::ProcessHandle& process);

}  // namespace qx::blocker::win
