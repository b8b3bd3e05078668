#pragma once
// The system's processes for the watch: listed as cheaply as the system lists
// them, opened to be read and ended, and their files' version resources.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "blocker/process_watch.h"

namespace qx::blocker::win {

class SystemProcesses : public ProcessSource {
 public:
  std::vector<ListedProcess> List() override;
  std::unique_ptr<OpenedProcess> Open(std::uint32_t pid) override;
  std::optional<std::wstring> OriginalName(const std::wstring& path) override;
  Owner OwnerOf(std::uint32_t pid) override;
  int CloseWindows(std::span<const std::uint32_t> pids, bool insist) override;

 private:
  std::vector<std::uint64_t> buffer_;  // kept: the list is taken again and again
};

// The full path of a process's image, however long; nothing when it cannot be read.
std::optional<std::wstring> ImagePath(HANDLE process);

}  // namespace qx::blocker::win
