#pragma once
// What a blocker's exit code says, one meaning each: scripts and tests read
// them, and a user sees the same cases as messages.
namespace qx::blocker {

enum class ExitCode : int {
  kDone = 0,           // ended as its user asked: stopped with the password, or a stop request
                       // answered or cancelled
  kTemplate = 1,       // the bare template: no settings to run
  kDamaged = 2,        // its settings are damaged
  kUnreadable = 3,     // its own file cannot be read
  kCannotBlock = 4,    // the system refused what blocking needs
  kFailed = 5,         // an unexpected failure ended it
  kNothingTicked = 6,  // no application to block
  kNoAnswer = 7,       // a stop request: the running blocker did not answer
};

constexpr int AsInt(ExitCode code) { return static_cast<int>(code); }

}  // namespace qx::blocker
