#pragma once
// The blocker's start at logon comes back: the Run key is watched (the system
// signals an event at each change there), and a value that was deleted or
// changed is written again.
#include <windows.h>

#include <string>

#include "blocker/stop_protocol.h"
#include "runtime/win32/handles.h"

namespace qx::blocker::win {

class LogonWatch {
 public:
  // Starts watching the value `name`, which starts `path`. Throws Failure.
  LogonWatch(std::wstring name, std::wstring path, const FileId& self);
  // Signalled when the Run key changes; never again once stopped.
  HANDLE event() const { return event_.get(); }
  const std::wstring& name() const { return name_; }
  // After the event: watches again, then writes the value back when it is
  // gone or no longer this blocker's. True when it did. Throws Failure.
  bool Restore();
  void Stop();

 private:
  void Arm();

  std::wstring name_, path_;
  FileId self_;
  qx::win::RegKey key_;
  qx::win::EventHandle event_;
};

}  // namespace qx::blocker::win
