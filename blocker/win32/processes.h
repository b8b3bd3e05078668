#pragma once
// The running processes, as cheaply as the system lists them, and what the
// blocker needs to know of one it has not seen before.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qx::blocker::win {

struct ListedProcess {
  DWORD pid;
  std::uint64_t created;  // creation time: with the id, names one process for good
  std::wstring image_name;
};

// Every process of the system in one call. Throws Failure.
std::vector<ListedProcess> ListProcesses();

// The full path of a process's image, empty when it cannot be read.
std::wstring ImagePath(HANDLE process);

// The OriginalFilename of a file's version resource, empty when it has none.
std::wstring OriginalFilename(const std::wstring& path);

}  // namespace qx::blocker::win
