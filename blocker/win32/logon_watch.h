#pragma once
// The blocker's start at logon stays on: on a protected thread of its own, it
// watches the Run key, the Startup switches and the compatibility marks (the
// system signals an event at each change there) and checks them every second
// besides (a renamed or replaced key signals nothing). A value deleted or
// changed is written again, a switch put off is put back on, a mark asking
// for an administrator on its file is removed.
#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "blocker/logon_name.h"
#include "blocker/stop_protocol.h"
#include "blocker/win32/process_guard.h"
#include "common/failure.h"
#include "runtime/win32/handles.h"

namespace qx::blocker::win {

// What the watch tells the blocker, from the watch's thread.
class LogonReport {
 public:
  virtual ~LogonReport() = default;
  virtual void Mended(Mend mend, const std::wstring& value_name) = 0;
  virtual void Failed(const Failure& failure) = 0;
};

class LogonWatch {
 public:
  // Starts watching the value `name` of `run` (opened with the rights to put
  // it back), which runs `command`, the file `self`. Throws Failure.
  LogonWatch(qx::win::RegKey run, std::wstring name, std::wstring command, const FileId& self,
             LogonReport& report);
  ~LogonWatch() { Stop(); }
  // Ends the watch and waits for its thread; nothing is mended after.
  void Stop();

 private:
  void Watch();
  void Arm();
  void MendAll();

  std::wstring name_, command_;
  FileId self_;
  LogonReport& report_;
  // Run, Startup switches, compatibility marks: held from the start with the
  // rights to mend them (a key's list changed later does not take them away).
  std::array<qx::win::RegKey, 3> keys_;
  std::array<qx::win::EventHandle, 3> changed_;
  qx::win::EventHandle stop_;
  std::optional<ProtectedThread> thread_;
};

}  // namespace qx::blocker::win
