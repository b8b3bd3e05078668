#pragma once
// Which running processes to end, and each judged once: a process is
// remembered as seen only after it was judged on the name of its image file
// and, where the file has one, its version resource; until then every list
// check and every window of it tries again. A process of this user and session
// that hides from being opened is judged by the name the system lists it
// under; one that must stop but cannot be ended has its windows closed for as
// long as it runs. The system is reached through ProcessSource, so the rules
// run the same on a test's fake.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "format/blocker_settings.h"

namespace qx::blocker {

// A process as the system lists it: with its creation time, its id names
// one process for good.
struct ListedProcess {
  std::uint32_t pid;
  std::uint64_t created;
  std::uint32_t parent = 0, session = 0;
  std::wstring name = {};  // its image's file name, as the system lists it
  bool operator<(const ListedProcess& o) const {
    return std::tie(pid, created) < std::tie(o.pid, o.created);
  }
};

// One process, opened with the rights to read it, and to end it where it allows that.
class OpenedProcess {
 public:
  virtual ~OpenedProcess() = default;
  virtual std::uint64_t Created() const = 0;
  // The full path of its image; nothing while it cannot be read.
  virtual std::optional<std::wstring> ImagePath() const = 0;
  // The OriginalFilename of the version resource in its image in memory,
  // empty when it has none; nothing when the image cannot be read.
  virtual std::optional<std::wstring> OriginalNameInMemory() const = 0;
  virtual bool End() = 0;
};

// Whose a process is, read from the process object itself.
enum class Owner { kGone, kThisUser, kOtherUser, kUnknown };

class ProcessSource {
 public:
  virtual ~ProcessSource() = default;
  // Every process of the system. Throws Failure.
  virtual std::vector<ListedProcess> List() = 0;
  // Nothing when the process may not be opened (another user's, the
  // system's, one that shields itself) or has gone.
  virtual std::unique_ptr<OpenedProcess> Open(std::uint32_t pid) = 0;
  // The OriginalFilename of the file's version resource, empty when it has
  // none; nothing when the file cannot be read.
  virtual std::optional<std::wstring> OriginalName(const std::wstring& path) = 0;
  virtual Owner OwnerOf(std::uint32_t pid) = 0;
  // Asks every window of the processes `pids`, on every desktop, to close
  // (with `insist`, as its close box does too); how many were asked.
  virtual int CloseWindows(std::span<const std::uint32_t> pids, bool insist) = 0;
};

struct StoppedProgram {
  std::wstring name;            // as the notice and the log name it
  std::wstring path;            // the executable, or the name it is listed under when unreadable
  bool windows_closed = false;  // it could not be ended: its windows were closed instead
};

// What the notice says of a stopped program, and the detail of its log line.
std::wstring NoticeText(const StoppedProgram& program);
std::wstring LogDetail(const StoppedProgram& program);

class ProcessWatch {
 public:
  ProcessWatch(const BlockerSettings& settings, ProcessSource& source, std::uint32_t self)
      : settings_(settings), source_(source), self_(self) {}

  // Every listed process not judged before, and the windows of those held
  // closed. Throws Failure when the list cannot be had.
  std::vector<StoppedProgram> Scan();
  // One process, when a window of it appears.
  std::vector<StoppedProgram> Check(std::uint32_t pid);
  // Some process could not be judged yet: the next check should come soon,
  // for a few checks; one that stays unreadable waits for the timed ones.
  bool Waiting() const { return waiting_ > 0 && waiting_ <= kSoonChecks; }

 private:
  enum class Verdict { kUnjudged, kJudged, kStopped, kCannotEnd, kHold, kGone };
  struct Held {
    StoppedProgram program;
    std::vector<std::uint32_t> pids = {};  // its own and its console window's process
    int rounds = 0;                        // closes that found windows
    bool reported = false;
  };

  // A listed process, opened or, where it may not be, by its listed name.
  Verdict JudgeListed(const ListedProcess& listed, StoppedProgram& stopped);
  // Ends `process` when it is blocked, filling `stopped`.
  Verdict Judge(const ListedProcess& listed, OpenedProcess& process, StoppedProgram& stopped);
  // A blocked process that cannot be ended: held when it is this user's in this session.
  Verdict Hold(const ListedProcess& listed);
  // Closes the windows of a held process, as the system lists processes now.
  void CloseWindows(const ListedProcess& listed, Held& held, const std::vector<ListedProcess>& list,
                    std::vector<StoppedProgram>& stopped);

  const BlockerSettings& settings_;
  ProcessSource& source_;
  const std::uint32_t self_;
  static constexpr int kSoonChecks = 10;
  std::set<ListedProcess> seen_;
  std::map<ListedProcess, Held> held_;
  std::optional<std::uint32_t> session_;  // this process's, from the list
  int waiting_ = 0;                       // checks in a row that left a process unjudged
};

}  // namespace qx::blocker
