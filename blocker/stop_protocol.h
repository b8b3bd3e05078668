#pragma once
// How a second start of a blocker file talks to the running one: it finds
// the running blocker's control window, makes sure that the window's process
// runs the same file, and sends the typed password in a WM_COPYDATA; the
// answer is the message's result.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qx::blocker {

inline constexpr std::uintptr_t kStopRequestTag = 0x51584253;  // WM_COPYDATA's dwData

enum class StopAnswer { Stopped = 1, Wrong = 2, Wait = 3 };
struct StopReply {
  StopAnswer answer;
  int seconds;  // Wrong: before the next attempt; Wait: still to wait
};
// Never 0, which is what a window that does not answer returns.
constexpr std::intptr_t Encode(StopReply r) { return static_cast<int>(r.answer) + 16 * r.seconds; }
constexpr StopReply Decode(std::intptr_t v) {
  return {static_cast<StopAnswer>(v % 16), static_cast<int>(v / 16)};
}

// Before it asks for the password, a second start asks the running blocker
// what its owner should know: a WM_COPYDATA with this tag and no data, whose
// result holds the bits below (kStateAnswered always: a window that does not
// answer returns 0).
inline constexpr std::uintptr_t kStateRequestTag = 0x51584249;
inline constexpr std::intptr_t kStateAnswered = 1;
inline constexpr std::intptr_t kFromStartupFolder = 2;  // the Run key refused it
inline constexpr std::intptr_t kNotAtLogon = 4;         // nothing starts it at logon
inline constexpr std::intptr_t kFileChangeable = 8;     // this account may change its file
// What the password box adds to its question for `state`, each on a line;
// empty when there is nothing to say (or no answer came).
std::wstring StateNotes(std::intptr_t state);

// The payload: the password's length as four little-endian bytes, then the
// password (ANSI bytes).
std::vector<unsigned char> StopPayload(std::string_view password);
// The password of a payload; nothing when it is missing, short or its length
// disagrees with its size (the sender is not a blocker: it is not read on).
std::optional<std::string> ReadStopPayload(const void* data, std::size_t size);

// A file as the system knows it, whatever its path's spelling.
struct FileId {
  std::uint32_t volume;
  std::uint64_t index;
  bool operator==(const FileId&) const = default;
};

// The name of the instance mutex and of the control window of the blocker
// running `file`.
std::wstring InstanceName(const FileId& file);

// What a start of a blocker file does next, the instance mutex taken or not.
struct StartChoice {
  enum { kAsk, kBlock, kLookAgain } step;
  std::size_t window;  // kAsk: the index of the running blocker's window
};
// `windows`: the files that the processes of the control windows found run
// (nothing where that cannot be read). Only a window whose process runs this
// file is asked; without one, this start blocks unless another process of
// this file may still be starting.
StartChoice ChooseStart(const FileId& self, std::span<const std::optional<FileId>> windows,
                        bool other_process_of_this_file, bool waited_long_enough);

}  // namespace qx::blocker
