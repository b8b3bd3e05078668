// The generator and the cipher: the stored format depends on every bit.
#include "app/cipher.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "cipher/text_cipher.h"
#include "tests/support/fake_runtime.h"

namespace qx {
namespace {

using namespace std::string_literals;

// Only a negative argument reseeds; the golden cipher texts below depend on
// every other bit of the generator.
TEST(VbRandom, ReseedsOnANegativeArgumentOnly) {
  EXPECT_NEAR(VbRandom().Next(-1.0f), 0.224007, 5e-7);
  for (float x : {1.0f, -0.0f})  // negative zero is not below zero: the sequence's first value
    EXPECT_NEAR(VbRandom().Next(x), 0.7055475, 5e-8) << x;
}

TEST(TextCipher, GoldenCipherTextsAndStretchVectors) {
  // Worked out independently from the generator's and the cipher's definitions.
  EXPECT_EQ(EncryptText(kCipherKey, "Quellanix2024"), "[Hak<LqNmf`l`D^Sq[");
  EXPECT_EQ(EncryptText(kCipherKey, "\xE9\xFC\x41\xFF\0"s), "S?=SMxo");
  // Six bits a character from ';' (0) to 'z' (63); the high bits of a group last.
  EXPECT_EQ(Stretch("abc\0\0\0\xFF\xFF\xFFz"s), "\\]^P;;;;zzzzuK");
  // Shrink skips what it cannot carry out: a code below 59 leaves a space, a
  // length of 4k + 1 never reads its last character.
  // clang-format off
  const std::pair<std::string, std::string> shrinks[] = {
      {"", ""}, {"K", ""}, {":<=;", " \x01\x02"}, {"\\]^PA", "abc"}, {"\\]^Pz", "abc"}};
  // clang-format on
  for (const auto& [in, out] : shrinks) EXPECT_EQ(Shrink(in), out) << in;
}

TEST(TextCipher, AnyBytesOfAnyLengthComeBackWithTheSameKeyOnly) {
  std::mt19937 gen(20240601);
  std::uniform_int_distribution<int> byte(0, 255);
  for (std::size_t length = 0; length <= 300; ++length) {
    std::string in;
    for (std::size_t i = 0; i < length; ++i) in.push_back(static_cast<char>(byte(gen)));
    const std::string out = EncryptText(kCipherKey, in);
    ASSERT_EQ(out.size(), length + (length + 2) / 3);
    for (char c : out) ASSERT_TRUE(c >= 59 && c <= 122) << int(c);
    ASSERT_EQ(DecryptText(kCipherKey, out), in) << length;
    ASSERT_TRUE(length <= 2 || DecryptText("another key", out) != in) << length;
  }
}

// Encrypt is the password flow's (see its table); Decrypt reverses it.
TEST(CipherClass, DecryptsTheProgramWideCipherText) {
  test::FakeRuntime fake;
  PublicValues values;
  values.CipherKey = L"*#tkqa71wzrvo#*";
  values.EncryptedPassword = L"=X[kZS^N";
  cipher(values, fake).Decrypt();
  EXPECT_EQ(values.PlainPassword, L"secret");
}

}  // namespace
}  // namespace qx
