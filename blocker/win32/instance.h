#pragma once
// One running blocker per blocker file, and how a second start of the same
// file asks the running one to stop: a message-only window that takes the
// typed password and answers with the outcome. The running instance keeps the
// count of wrong passwords, so starting the prompt again does not reset it.
#include <windows.h>

#include <string>

namespace qx::blocker::win {

// Owns the instance mutex; `first()` is false when the file already runs.
class InstanceLock {
 public:
  explicit InstanceLock(const std::wstring& blocker_path);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  bool first() const { return first_; }
  const std::wstring& name() const { return name_; }

 private:
  std::wstring name_;
  HANDLE mutex_ = nullptr;
  bool first_ = true;
};

inline constexpr wchar_t kControlWindowClass[] = L"QuellanixBlockerControl";
inline constexpr ULONG_PTR kStopRequest = 0x51584253;  // WM_COPYDATA tag

enum class StopAnswer { Stopped = 1, Wrong = 2, Wait = 3 };
struct StopReply {
  StopAnswer answer;
  int seconds;  // Wrong: before the next attempt; Wait: still to wait
};
constexpr LRESULT Encode(StopReply r) { return static_cast<int>(r.answer) + 16 * r.seconds; }
constexpr StopReply Decode(LRESULT v) {
  return {static_cast<StopAnswer>(v % 16), static_cast<int>(v / 16)};
}

// Sends the typed password (ANSI bytes) to the running instance of `name`,
// waiting up to a few seconds for it to be ready. nullopt-like `false` when
// no running instance answers.
bool RequestStop(const std::wstring& name, const std::string& password, StopReply& reply);

}  // namespace qx::blocker::win
