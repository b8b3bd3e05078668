#pragma once
// Finds and ends the processes the settings block: each process is looked at
// once, when the blocker first sees it in the process list or when one of its
// windows appears; and closes the Run dialog where it is blocked.
#include <windows.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "format/blocker_settings.h"
#include "runtime/win32/handles.h"

namespace qx::blocker::win {

struct StoppedProgram {
  std::size_t entry;  // catalogue index
  std::wstring path;  // the executable, or its name when the path cannot be read
};

class Watcher {
 public:
  explicit Watcher(const BlockerSettings& settings) : settings_(settings) {}

  // Every process not seen before. Throws Failure when the list cannot be had.
  std::vector<StoppedProgram> Scan();
  // One process, when a window of it appears.
  std::vector<StoppedProgram> Check(DWORD pid);
  // Closes `window` when it is a Run dialog and the Run dialog is blocked; the
  // program that shows it goes on.
  std::vector<StoppedProgram> CloseIfRunDialog(HWND window) const;
  // Every Run dialog open now.
  std::vector<StoppedProgram> CloseRunDialogs() const;

 private:
  // Once per process; `process` may come opened (with query and terminate rights).
  void Inspect(DWORD pid, std::uint64_t created, std::wstring image_name,
               qx::win::ProcessHandle process, std::vector<StoppedProgram>& stopped);

  const BlockerSettings& settings_;
  const DWORD self_ = GetCurrentProcessId();
  std::set<std::pair<DWORD, std::uint64_t>> seen_;
};

}  // namespace qx::blocker::win
