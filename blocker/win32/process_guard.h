#pragma once
// The blocker's process refuses other programs of the same user: none may end,
// suspend, write into or re-permission it or its threads, change its token,
// nor hook into it. It ends by itself (the password) or with the session; an
// administrator with the debug privilege can still end it.
#include <windows.h>

#include <functional>
#include <memory>

#include "runtime/win32/handles.h"

namespace qx::blocker::win {

// Security attributes for a process or a thread protected from its creation:
// others, its owner included, may only wait for it and ask its name.
class ProtectiveAttributes {
 public:
  enum class For { kProcess, kThread };
  // Throws Failure with the system's reason.
  explicit ProtectiveAttributes(For object);
  SECURITY_ATTRIBUTES* get() { return &attributes_; }

 private:
  std::unique_ptr<void, decltype(&::LocalFree)> descriptor_;
  SECURITY_ATTRIBUTES attributes_{};
};

// Protects the process, its token and every thread it has; threads made
// later are made with ProtectedThread. Throws Failure with the system's
// reason of the first step that failed, once it has tried them all.
void ProtectProcess();

// A thread of the blocker, protected from its creation, doing `work` (which
// must not throw); waited for when this goes.
class ProtectedThread {
 public:
  // Throws Failure with the system's reason.
  explicit ProtectedThread(std::function<void()> work);
  ~ProtectedThread();
  ProtectedThread(const ProtectedThread&) = delete;
  ProtectedThread& operator=(const ProtectedThread&) = delete;

 private:
  std::function<void()> work_;
  qx::win::ProcessHandle thread_;  // the one owner of kernel handles
};

// Starts `work` (which must not throw) on a protected thread of its own that
// nothing waits for. False when no thread could be made.
bool StartDetachedThread(std::function<void()> work);

}  // namespace qx::blocker::win
