#pragma once
// One running blocker per blocker file: a mutex named after the file, and the
// running blocker's message-only control window, which a second start of the
// same file finds (see stop_request.h). The mutex alone proves nothing, as
// any program can take its name.
#include <windows.h>

#include <string>

#include "blocker/stop_protocol.h"

namespace qx::blocker::win {

inline constexpr wchar_t kControlWindowClass[] = L"QuellanixBlockerControl";

// Takes the instance mutex of `file`; `first()` is false when it was there already.
class InstanceLock {
 public:
  explicit InstanceLock(const FileId& file);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  bool first() const { return first_; }

 private:
  HANDLE mutex_ = nullptr;
  bool first_ = true;
};

}  // namespace qx::blocker::win
