#pragma once
// The platform runtime's random-number generator, reproduced bit for bit: the
// compiled blocker recovers the password only if it replays the same keystream.
#include <cstdint>

namespace qx {

class VbRandom {
 public:
  static constexpr std::uint32_t kInitialState = 0x50000;

  // The next value of the sequence, in [0, 1).
  float Next();
  // A negative argument restarts the sequence from a state that depends on the
  // argument alone and returns its first value; any other argument is Next().
  float Next(float x);
  // Mixes the upper half of x's bits into the middle bytes of the state. A
  // single-precision argument widens to double exactly, as the runtime does.
  void Randomize(double x);

 private:
  std::uint32_t state_ = kInitialState;
};

}  // namespace qx
