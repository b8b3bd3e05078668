#include <gtest/gtest.h>

#include <vector>

#include "cipher/vb_random.h"

namespace qx {
namespace {

TEST(VbRandom, FreshStateGivesTheRuntimesFirstValues) {
  VbRandom rnd;
  EXPECT_NEAR(rnd.Next(), 0.7055475, 5e-8);
  EXPECT_NEAR(rnd.Next(), 0.5334240, 5e-8);
  EXPECT_NEAR(rnd.Next(), 0.5795186, 5e-8);
}

TEST(VbRandom, NegativeArgumentRestartsFromTheArgumentAlone) {
  VbRandom fresh;
  VbRandom used(0x123456);
  for (int i = 0; i < 17; ++i) used.Next();
  used.Randomize(3.25);

  EXPECT_NEAR(fresh.Next(-1.0f), 0.224007, 5e-7);
  EXPECT_EQ(used.Next(-1.0f), fresh.state() / 16777216.0f);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(used.Next(), fresh.Next()) << i;

  // A different negative argument starts a different sequence.
  VbRandom other;
  EXPECT_NE(other.Next(-2.0f), VbRandom().Next(-1.0f));
}

TEST(VbRandom, ValuesStayInUnitIntervalAndStateIn24Bits) {
  VbRandom rnd;
  for (int i = 0; i < 100000; ++i) {
    const float x = rnd.Next();
    ASSERT_GE(x, 0.0f);
    ASSERT_LT(x, 1.0f);
    ASSERT_LT(rnd.state(), 1u << 24);
  }
}

TEST(VbRandom, RandomizeMixesTheUpperHalfIntoTheMiddleBytes) {
  // 1.0 has upper bits 0x3FF00000: 0x0000 ^ 0x3FF0 = 0x3FF0, shifted by 8.
  VbRandom one(0xAB1234CD);
  one.Randomize(1.0);
  EXPECT_EQ(one.state(), 0xAB3FF0CDu);

  // -1.0: the shift of the upper half is arithmetic, so its sign fills the top.
  VbRandom minus_one(VbRandom::kInitialState);
  minus_one.Randomize(-1.0);
  EXPECT_EQ(minus_one.state(), 0xFFBFF000u);

  // Zero clears the middle bytes only.
  VbRandom zero(0x12345678);
  zero.Randomize(0.0);
  EXPECT_EQ(zero.state(), 0x12000078u);

  // A single-precision argument widens exactly.
  VbRandom from_float(77);
  VbRandom from_double(77);
  from_float.Randomize(0.224007f);
  from_double.Randomize(static_cast<double>(0.224007f));
  EXPECT_EQ(from_float.state(), from_double.state());
}

TEST(VbRandom, StateBitsAbove24DoNotChangeTheSequence) {
  VbRandom high(0xFF000000u | 0x50000u);
  VbRandom plain;
  for (int i = 0; i < 10; ++i) EXPECT_EQ(high.Next(), plain.Next());
}

}  // namespace
}  // namespace qx
