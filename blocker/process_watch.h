#pragma once
// Which running processes to end, and each judged once: a process is
// remembered as seen only after it was judged on the name of its image file
// and, where the file has one, its version resource; until then every list
// check and every window of it tries again. The system is reached through
// ProcessSource, so the rules run the same on a test's fake.
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "format/blocker_settings.h"

namespace qx::blocker {

// A process as the system lists it: with its creation time, its id names
// one process for good.
struct ListedProcess {
  std::uint32_t pid;
  std::uint64_t created;
  auto operator<=>(const ListedProcess&) const = default;
};

// One process, opened with the rights to read and end it.
class OpenedProcess {
 public:
  virtual ~OpenedProcess() = default;
  virtual std::uint64_t Created() const = 0;
  // The full path of its image; nothing while it cannot be read.
  virtual std::optional<std::wstring> ImagePath() const = 0;
  virtual bool End() = 0;
};

class ProcessSource {
 public:
  virtual ~ProcessSource() = default;
  // Every process of the system. Throws Failure.
  virtual std::vector<ListedProcess> List() = 0;
  // Nothing when the process may not be opened (another user's, the
  // system's) or has gone.
  virtual std::unique_ptr<OpenedProcess> Open(std::uint32_t pid) = 0;
  // The OriginalFilename of the file's version resource, empty when it has
  // none; nothing when the file cannot be read.
  virtual std::optional<std::wstring> OriginalName(const std::wstring& path) = 0;
};

struct StoppedProgram {
  std::wstring name;  // as the notice and the log name it
  std::wstring path;  // the executable
};

class ProcessWatch {
 public:
  ProcessWatch(const BlockerSettings& settings, ProcessSource& source, std::uint32_t self)
      : settings_(settings), source_(source), self_(self) {}

  // Every listed process not judged before. Throws Failure when the list
  // cannot be had.
  std::vector<StoppedProgram> Scan();
  // One process, when a window of it appears.
  std::vector<StoppedProgram> Check(std::uint32_t pid);
  // Some process could not be judged yet: the next check should come soon,
  // for a few checks; one that stays unreadable waits for the timed ones.
  bool Waiting() const { return waiting_ > 0 && waiting_ <= kSoonChecks; }

 private:
  // Whether `process` could be judged; ends it when it is blocked.
  bool Judge(std::uint32_t pid, OpenedProcess& process, std::vector<StoppedProgram>& stopped);

  const BlockerSettings& settings_;
  ProcessSource& source_;
  const std::uint32_t self_;
  static constexpr int kSoonChecks = 10;
  std::set<ListedProcess> seen_;
  int waiting_ = 0;  // checks in a row that left a process unjudged
};

}  // namespace qx::blocker
