#pragma once
// The blocker's start at logon stays on: on a protected thread of its own, it
// watches the Run key, the Startup switches, the compatibility marks and the
// keys holding them (the system signals an event at each change there), its
// shortcut's folder when it starts from there, and checks them every second
// besides (a renamed or replaced key signals nothing). A value deleted or
// changed is written again, a switch put off is put back on, a mark asking
// for an administrator on its file is removed, a shortcut deleted or changed
// is put back; a Run key that no longer takes its value gives way to a
// shortcut in the Startup folder.
#include <windows.h>

#include <array>
#include <atomic>
#include <optional>
#include <string>

#include "blocker/logon_name.h"
#include "blocker/stop_protocol.h"
#include "blocker/win32/process_guard.h"
#include "blocker/win32/startup_shortcut.h"
#include "common/failure.h"
#include "runtime/win32/handles.h"

namespace qx::blocker::win {

// What the watch tells the blocker, from the watch's thread.
class LogonReport {
 public:
  virtual ~LogonReport() = default;
  virtual void Mended(Mend mend, const std::wstring& what) = 0;
  virtual void Failed(const Failure& failure) = 0;
};

// What starts the blocker at logon: its Run value, its Startup shortcut, or both.
struct OwnStarts {
  std::wstring run_name;  // none when the Run key refused it
  std::wstring command;   // the Run value's text
  std::optional<Shortcut> shortcut;
};

struct FindChangeTraits {
  using Handle = HANDLE;
  static void Close(Handle h) { ::FindCloseChangeNotification(h); }
};

class LogonWatch {
 public:
  // Starts watching `starts`, which start `target`, the file `self` (called
  // `title`). Throws Failure.
  LogonWatch(OwnStarts starts, std::wstring title, std::wstring target, const FileId& self,
             LogonReport& report);
  ~LogonWatch() { Stop(); }
  // Ends the watch and waits for its thread; nothing is mended after.
  void Stop();
  // From any thread.
  bool from_startup_folder() const { return from_folder_; }
  // Once stopped: what it keeps, to remove.
  const OwnStarts& starts() const { return starts_; }

  // The keys watched, their parents after them.
  enum Slot { kRun, kRunSwitch, kFolderSwitch, kLayers, kRunParent, kSwitchParent, kLayersParent };
  static constexpr std::size_t kSlots = 7, kOwnKeys = 4;  // the parents after kOwnKeys

 private:
  void Watch();
  LSTATUS Reopen(std::size_t slot);
  void Open(Slot slot);
  void Arm();
  HKEY Current(Slot slot, qx::win::RegKey& fresh, bool* refused = nullptr);
  void MendRun();
  void MendAll();
  void StartFromFolder();
  void WatchFolder();

  OwnStarts starts_;
  std::wstring title_, target_;
  FileId self_;
  LogonReport& report_;
  std::atomic<bool> from_folder_{false};
  bool restore_failed_ = false;  // the last check could not put its shortcut back
  // Held from the start with the rights to mend them (a key's list changed
  // later does not take them away); a slot not watched holds none.
  std::array<qx::win::RegKey, kSlots> keys_;
  std::array<qx::win::EventHandle, kSlots> changed_;
  qx::win::UniqueHandle<FindChangeTraits> folder_changed_;
  qx::win::EventHandle stop_;
  std::optional<ProtectedThread> thread_;
};

}  // namespace qx::blocker::win
