#include "blocker/win32/instance.h"

namespace qx::blocker::win {

InstanceLock::InstanceLock(const FileId& file) {
  mutex_ = CreateMutexW(nullptr, TRUE, (L"Local\\" + InstanceName(file)).c_str());
  first_ = !(mutex_ && GetLastError() == ERROR_ALREADY_EXISTS);
}

InstanceLock::~InstanceLock() {
  if (mutex_) {
    if (first_) ReleaseMutex(mutex_);
    CloseHandle(mutex_);
  }
}

}  // namespace qx::blocker::win
