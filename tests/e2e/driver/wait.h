#pragma once
// Polling with a deadline: the tests wait for a visible effect, never for a
// fixed time.
#include <windows.h>

#include <chrono>

namespace qx::e2e {

using namespace std::chrono_literals;

inline constexpr std::chrono::milliseconds kDefaultTimeout = 5s;

// Polls `done` until it returns true or `timeout` passes; the last answer.
template <typename Predicate>
bool WaitUntil(Predicate&& done, std::chrono::milliseconds timeout = kDefaultTimeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return done();
    ::Sleep(2);
  }
}

}  // namespace qx::e2e
