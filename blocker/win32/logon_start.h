#pragma once
// The blocker's start at logon for one run: registered before it listens
// (its Run value, else a shortcut in the Startup folder), kept by its watch,
// told to a second start, and removed at the password stop.
#include <cstdint>
#include <optional>
#include <string>

#include "blocker/stop_protocol.h"
#include "blocker/win32/logon_watch.h"

namespace qx::blocker::win {

class LogonStart {
 public:
  // Registers the file `self` (called `title`, at `final_path`) and watches
  // what it registered. The Startup folder's use is logged through `report`;
  // a failure is said through it (the Run key's, when nothing took it).
  LogonStart(const std::wstring& title, const std::wstring& final_path, const FileId& self,
             LogonReport& report);
  // kFromStartupFolder and kNotAtLogon, for the password box.
  std::intptr_t State() const;
  // Nothing is mended after.
  void StopWatch() {
    if (watch_) watch_->Stop();
  }
  // Its Run value and its shortcut go, once the watch has stopped. Throws Failure.
  void Remove(const FileId& self) const;

 private:
  OwnStarts starts_;
  bool nowhere_ = false;
  std::optional<LogonWatch> watch_;
};

}  // namespace qx::blocker::win
