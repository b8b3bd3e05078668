#pragma once
// Finds and ends the processes the settings block (ProcessWatch on the
// system's processes), and closes the Run dialog where it is blocked: each
// opening once, however many of its windows and checks see it.
#include <windows.h>

#include <set>
#include <vector>

#include "blocker/process_watch.h"
#include "blocker/win32/processes.h"
#include "format/blocker_settings.h"

namespace qx::blocker::win {

class ProgramStopper {
 public:
  explicit ProgramStopper(const BlockerSettings& settings) : settings_(settings) {}

  // Every process not judged before. Throws Failure when the list cannot be had.
  std::vector<StoppedProgram> Scan() { return processes_.Scan(); }
  // One process, when a window of it appears.
  std::vector<StoppedProgram> Check(DWORD pid) { return processes_.Check(pid); }
  // Some process could not be judged yet: the next check should come soon.
  bool Waiting() const { return processes_.Waiting(); }
  // Closes `window` when it is a Run dialog and the Run dialog is blocked; the
  // program that shows it goes on. Reported the first time only.
  std::vector<StoppedProgram> CloseIfRunDialog(HWND window);
  // Every Run dialog open now, on every desktop.
  std::vector<StoppedProgram> CloseRunDialogs();

 private:
  const BlockerSettings& settings_;
  SystemProcesses system_;
  ProcessWatch processes_{settings_, system_, GetCurrentProcessId()};
  std::set<HWND> closed_;  // Run dialogs told to close, until they have gone
};

}  // namespace qx::blocker::win
