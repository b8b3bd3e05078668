#pragma once
// Programs that start themselves again and again (a browser's start-up boost,
// a launcher at logon) must not bury the child in notices: a stop of the same
// program within a short time of its last notice is logged, not shown.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace qx::blocker {

inline constexpr std::uint64_t kNoticeQuietMs = 30'000;

class NoticeThrottle {
 public:
  // Whether a stop of `program` at `now_ms` (a steady clock) gets a notice.
  bool ShouldShow(std::wstring_view program, std::uint64_t now_ms);

 private:
  std::map<std::wstring, std::uint64_t, std::less<>> shown_;  // program: when its notice showed
};

}  // namespace qx::blocker
