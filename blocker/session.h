#pragma once
// The running blocker's decisions, apart from the system that carries them
// out: its answer to a stop request (the password, the wait after wrong ones,
// the order in which it lets go), when the next list check is due, which
// failure is said (once, with what still holds) and what is logged. Times are
// milliseconds of a monotonic clock the caller reads.
#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "blocker/activity_log.h"
#include "blocker/stop_protocol.h"

namespace qx::blocker {

using Millis = std::uint64_t;

// How long a wrong password holds the next attempt back: 1 s after the first
// failure, doubling with each further one, at most a minute.
std::chrono::seconds DelayAfterFailures(int failures);

// Whether `typed` (the typed text in the ANSI code page; nothing when some
// character has no code there, so it could never have been set) is the
// password stored encrypted in the blocker.
bool PasswordMatches(std::string_view encrypted, const std::optional<std::string>& typed);

// Rights this account holds on the blocker's file and on its folder (the
// system's access-mask bits): whether they let it replace, rename or delete
// the file, or change who may. Then a child of the same account could too.
namespace rights {
inline constexpr std::uint32_t kWriteData = 0x2, kAppendData = 0x4, kDeleteChild = 0x40,
                               kDelete = 0x10000, kWriteDac = 0x40000, kWriteOwner = 0x80000;
}
bool AccountCanChange(std::uint32_t file_rights, std::uint32_t folder_rights);

// What the session asks of the running system.
class SessionHost {
 public:
  virtual ~SessionHost() = default;
  // The watches on its start at logon end (they would put it back).
  virtual void StopWatches() = 0;
  // Its own values at logon go. Throws Failure.
  virtual void RemoveLogonValues() = 0;
  virtual void Log(const std::string& line) = 0;
};

// The parts of its work whose failure is said, each once.
enum class Duty { kProtection, kLateProtection, kLogon, kLog, kListCheck, kWindowCheck };
inline constexpr std::size_t kDuties = 6;

// Between two list checks a new window brings, at least this long.
inline constexpr Millis kSoonMs = 100;

class Session {
 public:
  explicit Session(std::string encrypted_password)
      : encrypted_password_(std::move(encrypted_password)) {}

  // The answer to a stop request at `now` (`when` for the log). On the right
  // password (any, when none is set) the watches stop first, then its start
  // at logon is removed, and the stop is logged.
  StopReply Answer(const std::string& typed, Millis now, const LocalTime& when, SessionHost& host);
  bool stopping() const { return stopping_; }
  // Why its start at logon could not be removed at the stop, to say once the blocking has ended.
  const std::optional<std::wstring>& still_at_logon() const { return still_at_logon_; }

  // A list check ran at `now`.
  void Checked(Millis now) { last_check_ = now; }
  // A new window asks for a list check: how long until it, or nothing when
  // one is already pending; the caller calls SoonDone when it has run or
  // could not be set.
  std::optional<Millis> CheckSoon(Millis now);
  void SoonDone() { soon_pending_ = false; }

  // The text to say for a failure of `duty` (its reason given): the first
  // time only, with what still holds.
  std::optional<std::wstring> FirstFailure(Duty duty, const std::wstring& reason);

 private:
  std::string encrypted_password_;
  int failures_ = 0;
  Millis next_attempt_ = 0;  // before which attempts wait
  bool stopping_ = false;
  std::optional<std::wstring> still_at_logon_;
  Millis last_check_ = 0;
  bool soon_pending_ = false;
  std::array<bool, kDuties> said_{};
};

}  // namespace qx::blocker
