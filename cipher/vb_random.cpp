#include "cipher/vb_random.h"

#include <bit>

namespace qx {

namespace {
constexpr std::uint32_t kMultiplier = 0x43FD43FD;
constexpr std::uint32_t kIncrement = 0xC39EC3;
constexpr std::uint32_t kMask24 = 0xFFFFFF;
constexpr float kScale = 16777216.0f;  // 2^24: every 24-bit state is exact in a float
}  // namespace

float VbRandom::Next() {
  state_ = (state_ * kMultiplier + kIncrement) & kMask24;
  return static_cast<float>(state_) / kScale;
}

float VbRandom::Next(float x) {
  if (x < 0.0f) {
    const auto b = std::bit_cast<std::uint32_t>(x);
    state_ = (b + (b >> 24)) & kMask24;
  }
  return Next();
}

void VbRandom::Randomize(double x) {
  const auto bits = std::bit_cast<std::uint64_t>(x);
  const auto h = static_cast<std::int32_t>(static_cast<std::uint32_t>(bits >> 32));
  // Unsigned arithmetic keeps the 32-bit wrap-around well defined.
  const std::uint32_t mixed =
      (static_cast<std::uint32_t>(h) & 0xFFFFu) ^ static_cast<std::uint32_t>(h >> 16);
  state_ = (state_ & 0xFF0000FFu) | (mixed << 8);
}

}  // namespace qx
