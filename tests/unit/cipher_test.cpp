#include "cipher/cipher.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "cipher/vb_random.h"
#include "runtime/failure.h"
#include "tests/support/fake_runtime.h"

namespace qx {
namespace {

constexpr char kKey[] = "*#tkqa71wzrvo#*";

std::vector<int> Codes(const std::string& s) {
  std::vector<int> out;
  for (char c : s) out.push_back(static_cast<unsigned char>(c));
  return out;
}

std::string Bytes(std::initializer_list<int> codes) {
  std::string out;
  for (int c : codes) out.push_back(static_cast<char>(static_cast<unsigned char>(c)));
  return out;
}

struct CipherFixture : ::testing::Test {
  test::Latin1Codec ansi;
  PublicValues values;
  cipher c{values, ansi};

  std::string Stretched(const std::string& in) {
    c.Text(in);
    c.Stretch();
    return c.Text();
  }
  std::string Shrunk(const std::string& in) {
    c.Text(in);
    c.Shrink();
    return c.Text();
  }
  std::wstring EncryptedFrom(const std::wstring& password) {
    values.CipherKey = L"*#tkqa71wzrvo#*";
    values.PlainPassword = password;
    cipher(values, ansi).Encrypt();
    return values.EncryptedPassword;
  }
};

TEST_F(CipherFixture, StretchGivesLowBitsThenTheGroupsHighBits) {
  EXPECT_EQ(Codes(Stretched("abc")), (std::vector<int>{92, 93, 94, 80}));
  EXPECT_EQ(Codes(Stretched("ab")), (std::vector<int>{92, 93, 79}));
  EXPECT_EQ(Codes(Stretched("a")), (std::vector<int>{92, 75}));
  EXPECT_EQ(Stretched(""), "");
  // Extremes of a full group: all-zero and all-ones bytes.
  EXPECT_EQ(Codes(Stretched(Bytes({0, 0, 0, 255, 255, 255}))),
            (std::vector<int>{59, 59, 59, 59, 122, 122, 122, 122}));
  EXPECT_EQ(Shrunk(Bytes({92, 93, 94, 80})), "abc");
}

TEST_F(CipherFixture, ShrinkUndoesStretchForAnyBytes) {
  std::string all;
  for (int code = 0; code < 256; ++code) all.push_back(static_cast<char>(code));
  EXPECT_EQ(Shrunk(Stretched(all)), all);

  std::mt19937 gen(20240601);
  std::uniform_int_distribution<int> byte(0, 255);
  for (std::size_t length = 0; length <= 300; ++length) {
    for (int round = 0; round < 3; ++round) {
      std::string in;
      for (std::size_t i = 0; i < length; ++i) in.push_back(static_cast<char>(byte(gen)));
      const std::string out = Stretched(in);
      ASSERT_EQ(out.size(), length + (length + 2) / 3) << length;
      for (int code : Codes(out)) ASSERT_TRUE(code >= 59 && code <= 122) << code;
      ASSERT_EQ(Shrunk(out), in) << "length " << length;
    }
  }
}

TEST_F(CipherFixture, ShrinkSkipsStepsItCannotCarryOut) {
  // Nothing to shrink: empty in, empty out (also for a single character).
  EXPECT_EQ(Shrunk(""), "");
  EXPECT_EQ(Shrunk("K"), "");
  // A code below 59 where the low bits come from makes no character: the
  // position keeps its space and the rest goes on.
  EXPECT_EQ(Codes(Shrunk(Bytes({58, 60, 61, 59}))), (std::vector<int>{32, 1, 2}));
  // Length 4k + 1 gives 3k characters; the last one is never read.
  EXPECT_EQ(Shrunk("\\]^PA"), "abc");
  EXPECT_EQ(Shrunk("\\]^Pz"), "abc");
  EXPECT_EQ(Shrunk("\\]^P\\]^P\x01").size(), 6u);
}

TEST_F(CipherFixture, RewritingTheKeyRestartsTheKeystream) {
  const std::string plain = Bytes({0, 1, 2, 'p', 'w', 200, 255, 0, 0, 0});
  c.KeyString(kKey);
  c.Text(plain);
  c.DoXor();
  const std::string first = c.Text();
  EXPECT_EQ(first.size(), plain.size());
  EXPECT_NE(first, plain);

  for (int i = 0; i < 7; ++i) ProcessRandom().Next();  // draws in between do not matter
  c.KeyString(kKey);
  c.Text(plain);
  c.DoXor();
  EXPECT_EQ(c.Text(), first);

  // The same keystream a second time removes itself.
  c.KeyString(kKey);
  c.DoXor();
  EXPECT_EQ(c.Text(), plain);

  // A different key gives a different keystream; an empty key still seeds.
  c.KeyString("another key");
  c.Text(plain);
  c.DoXor();
  EXPECT_NE(c.Text(), first);
  c.KeyString("");
  c.Text(plain);
  c.DoXor();
  const std::string empty_key = c.Text();
  c.KeyString("");
  c.Text(plain);
  c.DoXor();
  EXPECT_EQ(c.Text(), empty_key);
}

TEST_F(CipherFixture, CipherTextMatchesTheRuntimesGenerator) {
  // Worked out independently from the generator's and cipher's definitions.
  EXPECT_EQ(EncryptedFrom(L"secret"), L"=X[kZS^N");
  EXPECT_EQ(EncryptedFrom(L"Quellanix2024"), L"[Hak<LqNmf`l`D^Sq[");
  EXPECT_EQ(EncryptedFrom(std::wstring{0xE9, 0xFC, L'A', 0xFF, 0}), L"S?=SMxo");
}

TEST_F(CipherFixture, CipherTextLengthAndAlphabet) {
  const std::size_t expected[] = {0, 2, 3, 4, 6, 7, 8};
  for (std::size_t n = 0; n < std::size(expected); ++n) {
    const std::wstring text = EncryptedFrom(std::wstring(n, L'x'));
    EXPECT_EQ(text.size(), expected[n]) << n;
    for (wchar_t ch : text) EXPECT_TRUE(ch >= 59 && ch <= 122) << static_cast<int>(ch);
  }
}

TEST_F(CipherFixture, DecryptGivesBackThePassword) {
  const std::wstring passwords[] = {L"", L"a", L"Secret Password",
                                    std::wstring{0x80, 0xA0, 0xE9, 0xFF, 0x01, 0},
                                    std::wstring(301, L'\xFE')};
  for (const std::wstring& password : passwords) {
    const std::wstring encrypted = EncryptedFrom(password);
    values.PlainPassword = L"overwritten";
    ProcessRandom().Next();  // Decrypt reseeds on its own
    cipher(values, ansi).Decrypt();
    EXPECT_EQ(values.PlainPassword, password);
    EXPECT_EQ(values.EncryptedPassword, encrypted);
  }
}

TEST_F(CipherFixture, SameLeadingGroupsGiveTheSameLeadingCipherText) {
  const std::wstring a = EncryptedFrom(L"abcdefXYZ1");
  const std::wstring b = EncryptedFrom(L"abcdefQ");
  EXPECT_EQ(a.substr(0, 8), b.substr(0, 8));
  EXPECT_NE(a.substr(0, 12), b.substr(0, 12));
  // Same key and password: same cipher text whatever was drawn before.
  ProcessRandom().Next(-9.0f);
  EXPECT_EQ(EncryptedFrom(L"abcdefXYZ1"), a);
}

TEST_F(CipherFixture, EncryptAndDecryptUseOnlyTheProgramWideValues) {
  c.KeyString("unrelated");
  c.Text("unrelated");
  values.CipherKey = L"*#tkqa71wzrvo#*";
  values.PlainPassword = L"secret";
  c.Encrypt();
  EXPECT_EQ(values.EncryptedPassword, L"=X[kZS^N");
  EXPECT_EQ(c.Text(), "unrelated");
}

TEST_F(CipherFixture, UnrepresentableTextFailsAndWritesNothing) {
  values.CipherKey = L"*#tkqa71wzrvo#*";
  values.PlainPassword = L"pass\x263A";
  values.EncryptedPassword = L"before";
  EXPECT_THROW(c.Encrypt(), Failure);
  EXPECT_EQ(values.EncryptedPassword, L"before");

  values.EncryptedPassword = L"\x263A";
  values.PlainPassword = L"before";
  EXPECT_THROW(c.Decrypt(), Failure);
  EXPECT_EQ(values.PlainPassword, L"before");
}

}  // namespace
}  // namespace qx
