#include "blocker/notice_throttle.h"

namespace qx::blocker {

bool NoticeThrottle::ShouldShow(std::wstring_view program, std::uint64_t now_ms) {
  const auto it = shown_.find(program);
  if (it != shown_.end() && now_ms - it->second < kNoticeQuietMs) return false;
  shown_.insert_or_assign(std::wstring(program), now_ms);
  return true;
}

}  // namespace qx::blocker
