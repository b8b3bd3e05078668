#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "about/frm_about.h"
#include "about/key_value.h"
#include "tests/support/fake_runtime.h"

namespace qx {
namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

class NullView : public AboutView {
 public:
  void SetCaption(std::wstring_view) override {}
  void SetTitleText(std::wstring_view) override {}
  void SetVersionText(std::wstring_view) override {}
  void Unload() override {}
};

struct KeyValueFixture : ::testing::Test {
  test::FakeRuntime fake;
  NullView view;
  frmAbout form{fake.rt, view};
  std::wstring val = L"before";

  bool Read(std::uint32_t type, std::vector<std::uint8_t> data) {
    fake.registry.Set("K", "V", type, std::move(data));
    return form.GetKeyValue(kHKeyLocalMachine, L"K", L"V", val);
  }
};

TEST_F(KeyValueFixture, TextLosesOneTerminatingZeroAndOnlyOne) {
  EXPECT_TRUE(Read(kRegSz, Bytes(std::string_view("C:\\Tools\\a b.exe\0", 17))));
  EXPECT_EQ(val, L"C:\\Tools\\a b.exe");
  EXPECT_TRUE(Read(kRegSz, Bytes("unterminated")));
  EXPECT_EQ(val, L"unterminated");
  EXPECT_TRUE(Read(kRegSz, Bytes(std::string_view("ab\0\0", 4))));
  EXPECT_EQ(val, std::wstring(L"ab\0", 3));
  EXPECT_TRUE(Read(kRegSz, {0}));
  EXPECT_EQ(val, L"");
}

TEST_F(KeyValueFixture, TextIsReadAsAnsi) {
  EXPECT_TRUE(Read(kRegSz, {'C', ':', '\\', 0xE9, 0}));
  EXPECT_EQ(val, L"C:\\\u00e9");
}

TEST_F(KeyValueFixture, BufferHoldsExactly1024Bytes) {
  EXPECT_TRUE(Read(kRegSz, std::vector<std::uint8_t>(1024, 'x')));
  EXPECT_EQ(val, std::wstring(1024, L'x'));

  std::vector<std::uint8_t> terminated(1023, 'y');
  terminated.push_back(0);
  EXPECT_TRUE(Read(kRegSz, terminated));
  EXPECT_EQ(val, std::wstring(1023, L'y'));

  EXPECT_FALSE(Read(kRegSz, std::vector<std::uint8_t>(1025, 'z')));
  EXPECT_EQ(val, L"");
}

TEST_F(KeyValueFixture, NumbersBecomeDecimalText) {
  EXPECT_TRUE(Read(kRegDword, {0x00, 0x10, 0x00, 0x00}));
  EXPECT_EQ(val, L"4096");
  EXPECT_TRUE(Read(kRegDword, {0x01, 0x02, 0x03, 0x04}));
  EXPECT_EQ(val, L"67305985");
  // Values from 0x80000000 up read as unsigned.
  EXPECT_TRUE(Read(kRegDword, {0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(val, L"4294967295");
  EXPECT_TRUE(Read(kRegDword, {0x00, 0x00, 0x00, 0x00}));
  EXPECT_EQ(val, L"0");
}

TEST_F(KeyValueFixture, OtherTypesLeaveTheTextAsItWas) {
  for (std::uint32_t type : {0u, 2u, 3u, 7u, 11u}) {
    val = L"before";
    EXPECT_TRUE(Read(type, Bytes(std::string_view("%SystemRoot%\0", 13)))) << type;
    EXPECT_EQ(val, L"before") << type;
  }
}

TEST_F(KeyValueFixture, ValueWithoutDataIsAFailureNotACrash) {
  for (std::uint32_t type : {kRegSz, kRegDword, 3u}) {
    val = L"before";
    EXPECT_THROW(Read(type, {}), Failure) << type;
    EXPECT_EQ(val, L"before") << type;
  }
}

TEST_F(KeyValueFixture, UnreadableKeyEmptiesTheText) {
  EXPECT_FALSE(form.GetKeyValue(kHKeyLocalMachine, L"Missing", L"V", val));
  EXPECT_EQ(val, L"");
  val = L"before";
  // The names go to the registry as ANSI copies; a name that has none fails.
  EXPECT_FALSE(form.GetKeyValue(kHKeyLocalMachine, L"K\u4e00", L"V", val));
  EXPECT_EQ(val, L"");
  ASSERT_EQ(fake.registry.reads.size(), 1u);
  EXPECT_EQ(fake.registry.reads[0].first, "Missing");
}

TEST(DecodeKeyValue, LongNumbersFailInsteadOfOverflowing) {
  test::Latin1Codec ansi;
  std::wstring val = L"before";
  const std::vector<std::uint8_t> eight{1, 0, 0, 0, 0, 0, 0, 1};
  DecodeKeyValue(kRegDword, eight, ansi, val);
  EXPECT_EQ(val, L"72057594037927937");
  const std::vector<std::uint8_t> nine{1, 0, 0, 0, 0, 0, 0, 0, 1};
  EXPECT_THROW(DecodeKeyValue(kRegDword, nine, ansi, val), Failure);
}

}  // namespace
}  // namespace qx
