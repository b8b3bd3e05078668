// The generator and the cipher: the stored format depends on every bit.
#include "app/cipher.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "cipher/text_cipher.h"
#include "common/failure.h"
#include "tests/support/fake_runtime.h"

namespace qx {
namespace {

std::string Bytes(std::initializer_list<int> codes) {
  std::string out;
  for (int c : codes) out.push_back(static_cast<char>(c));
  return out;
}

TEST(VbRandom, ReproducesTheRuntimesSequenceRestartAndReseed) {
  VbRandom fresh;
  EXPECT_NEAR(fresh.Next(), 0.7055475, 5e-8);
  EXPECT_NEAR(fresh.Next(), 0.5334240, 5e-8);
  VbRandom used(0x123456), restarted;
  used.Randomize(3.25);
  EXPECT_NEAR(restarted.Next(-1.0f), 0.224007, 5e-7);
  EXPECT_EQ(used.Next(-1.0f), restarted.state() / 16777216.0f);  // the argument alone decides
  EXPECT_NE(VbRandom().Next(-2.0f), VbRandom().Next(-1.0f));
  // Randomize mixes the upper half of the double into the middle bytes; the
  // shift is arithmetic, and a float widens exactly.
  const struct {
    std::uint32_t before;
    double x;
    std::uint32_t after;
  } mixes[] = {{0xAB1234CD, 1.0, 0xAB3FF0CD},
               {VbRandom::kInitialState, -1.0, 0xFFBFF000},
               {0x12345678, 0.0, 0x12000078}};
  for (const auto& m : mixes) {
    VbRandom r(m.before);
    r.Randomize(m.x);
    EXPECT_EQ(r.state(), m.after) << m.x;
  }
  VbRandom high(0xFF000000u | VbRandom::kInitialState), plain;
  for (int i = 0; i < 1000; ++i) {
    const float x = high.Next();
    ASSERT_EQ(x, plain.Next());  // bits above 24 do not matter
    ASSERT_TRUE(x >= 0.0f && x < 1.0f);
  }
}

TEST(TextCipher, GoldenCipherTextsAndStretchVectors) {
  // Worked out independently from the generator's and the cipher's definitions.
  EXPECT_EQ(EncryptText(kCipherKey, "secret"), "=X[kZS^N");
  EXPECT_EQ(EncryptText(kCipherKey, "Quellanix2024"), "[Hak<LqNmf`l`D^Sq[");
  EXPECT_EQ(EncryptText(kCipherKey, Bytes({0xE9, 0xFC, 'A', 0xFF, 0})), "S?=SMxo");
  EXPECT_EQ(Stretch("abc"), Bytes({92, 93, 94, 80}));
  EXPECT_EQ(Stretch("ab"), Bytes({92, 93, 79}));
  EXPECT_EQ(Stretch("a"), Bytes({92, 75}));
  EXPECT_EQ(Stretch(Bytes({0, 0, 0, 255, 255, 255})), Bytes({59, 59, 59, 59, 122, 122, 122, 122}));
  // Shrink skips what it cannot carry out: a code below 59 leaves a space, a
  // length of 4k + 1 never reads its last character.
  const std::pair<std::string, std::string> shrinks[] = {
      {"", ""},
      {"K", ""},
      {Bytes({58, 60, 61, 59}), Bytes({32, 1, 2})},
      {"\\]^PA", "abc"},
      {"\\]^Pz", "abc"}};
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
    if (length > 2) {
      ASSERT_NE(DecryptText("another key", out), in);
    }
  }
  // Equal leading groups give equal leading cipher text.
  EXPECT_EQ(EncryptText(kCipherKey, "abcdefXYZ").substr(0, 8),
            EncryptText(kCipherKey, "abcdefQ").substr(0, 8));
}

TEST(CipherClass, WorksOnTheProgramWideValuesAndRefusesUnrepresentableText) {
  test::Latin1Codec ansi;
  PublicValues values;
  values.CipherKey = L"*#tkqa71wzrvo#*";
  values.PlainPassword = L"secret";
  cipher c(values, ansi);
  c.KeyString("unrelated");
  c.Text("xyz");
  c.DoXor();
  c.Encrypt();  // on a fresh keystream of its own
  EXPECT_EQ(values.EncryptedPassword, L"=X[kZS^N");
  c.KeyString("unrelated");
  c.DoXor();
  EXPECT_EQ(c.Text(), "xyz");  // the same keystream twice removes itself
  values.PlainPassword.clear();
  c.Decrypt();
  EXPECT_EQ(values.PlainPassword, L"secret");

  values.PlainPassword = L"pass\x263A";
  EXPECT_THROW(c.Encrypt(), Failure);
  EXPECT_EQ(values.EncryptedPassword, L"=X[kZS^N");
}

}  // namespace
}  // namespace qx
