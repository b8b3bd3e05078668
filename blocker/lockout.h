#pragma once
// How long a wrong password holds the next attempt back: 1 s after the first
// failure, doubling with each further one, at most a minute.
#include <chrono>

namespace qx::blocker {

constexpr std::chrono::seconds DelayAfterFailures(int failures) {
  if (failures <= 0) return std::chrono::seconds(0);
  if (failures > 6) return std::chrono::seconds(60);  // 2^6 = 64 is past the cap
  const long long delay = 1LL << (failures - 1);
  return std::chrono::seconds(delay < 60 ? delay : 60);
}

}  // namespace qx::blocker
