#include "blocker/win32/instance.h"

namespace qx::blocker::win {

InstanceLock::InstanceLock(const FileId& file) {
  mutex_ = CreateMutexW(nullptr, TRUE, (L"Local\\" + InstanceName(file)).c_str());
  // A running blocker's mutex refuses others every right but waiting: there
  // is one already.
  const DWORD error = GetLastError();
  first_ = mutex_ ? error != ERROR_ALREADY_EXISTS : error != ERROR_ACCESS_DENIED;
}

InstanceLock::~InstanceLock() {
  if (mutex_) {
    if (first_) ReleaseMutex(mutex_);
    CloseHandle(mutex_);
  }
}

}  // namespace qx::blocker::win
