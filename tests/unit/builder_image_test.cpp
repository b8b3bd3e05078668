// The compiled blocker's bytes: layout around the template and the bag contents.
#include <gtest/gtest.h>

#include <string>

#include "builder/prop_bag.h"
#include "builder/settings_reader.h"
#include "tests/support/fake_runtime.h"

namespace qx {
namespace {

constexpr wchar_t kFolder[] = L"C:\\Program Files\\Quellanix";
const std::wstring kTemplate = std::wstring(kFolder) + L"\\quellanix.ext";

std::int32_t TrailerOf(const std::string& file) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(file[file.size() - 4 + i]);
  return static_cast<std::int32_t>(v);
}

struct ImageFixture : ::testing::Test {
  test::FakeRuntime fake;
  PublicValues values;

  std::string Build(const std::string& template_bytes, const std::wstring& title = L"Blocker") {
    fake.files.files[kTemplate] = template_bytes;
    values.ProgramTitle = title;
    PropBag(fake.rt, values).BuildBlocker();
    return fake.files.files.at(std::wstring(kFolder) + L"\\" + title + L".exe");
  }
};

TEST_F(ImageFixture, LayoutForTemplatesOfOneTwoAndManyBytes) {
  std::string many(70000, '\0');
  for (std::size_t i = 0; i < many.size(); ++i) many[i] = static_cast<char>(i * 7 + 3);
  for (const std::string& tpl : {std::string("Z"), std::string("MZ"), many}) {
    SCOPED_TRACE(tpl.size());
    const std::string file = Build(tpl);
    const std::size_t L = tpl.size();
    // Prefix intact, the template's last byte replaced by the record's first.
    EXPECT_EQ(file.compare(0, L - 1, tpl, 0, L - 1), 0);
    EXPECT_EQ(static_cast<unsigned char>(file[L - 1]), 0x11);
    EXPECT_EQ(static_cast<unsigned char>(file[L]), 0x20);
    EXPECT_EQ(TrailerOf(file), static_cast<std::int32_t>(L));
    // Record: 12-byte header, then C bytes ending where the trailer begins.
    const std::size_t C =
        static_cast<unsigned char>(file[L + 3]) | static_cast<unsigned char>(file[L + 4]) << 8;
    EXPECT_EQ(file.size(), L + (C + 12) + 3);
    EXPECT_EQ(file.substr(L - 1 + 2, 2), std::string("\x01\x00", 2));
    EXPECT_EQ(file.substr(L - 1 + 8, 4), std::string(4, '\0'));
    EXPECT_EQ(file.substr(L - 1 + 12, 4), "QXPB");
    const SettingsResult r = ReadSettings(file);
    ASSERT_TRUE(r.ok()) << r.reason;
    EXPECT_EQ(r.settings.template_length, L);
  }
}

TEST_F(ImageFixture, BagContentsForNoneAllAndMixedSelections) {
  // None ticked: all 36 keys are still written, each flag False.
  std::string file = Build("MZ-template");
  const std::size_t body = 10 + 12;  // template prefix + record header
  EXPECT_EQ(file.substr(body, 8), std::string("QXPB\x01\x00\x24\x00", 8));
  EXPECT_EQ(file.substr(body + 8, 11), std::string("\x05\x00Kazaa\x0b\x00\x00\x00", 11));
  // The last property is the empty password: name, type 8, length 0, then the trailer.
  const std::string tail = std::string("\x0b\x00", 2) + "Encpassword" +
                           std::string("\x08\x00\x00\x00\x00\x00", 6) +
                           std::string("\x0b\x00\x00\x00", 4);
  EXPECT_EQ(file.substr(file.size() - tail.size()), tail);
  SettingsResult r = ReadSettings(file);
  ASSERT_TRUE(r.ok()) << r.reason;
  for (VbBool b : r.settings.block) EXPECT_EQ(b, vbFalse);
  EXPECT_EQ(r.settings.encrypted_password, "");

  // All ticked, and a password.
  values.block.fill(vbTrue);
  values.EncryptedPassword = L"Kq;zAb";
  r = ReadSettings(Build("MZ-template"));
  ASSERT_TRUE(r.ok()) << r.reason;
  for (VbBool b : r.settings.block) EXPECT_EQ(b, vbTrue);
  EXPECT_EQ(r.settings.encrypted_password, "Kq;zAb");

  // Mixed: Remote Desktop (catalogue 24th) is written last, right after Run.
  values.block.fill(vbFalse);
  values.block[0] = vbTrue;   // Kazaa
  values.block[23] = vbTrue;  // Remote Desktop
  values.block[34] = vbTrue;  // Run
  file = Build("MZ-template");
  const std::string run_then_rdp = std::string("\x03\x00", 2) + "Run" +
                                   std::string("\x0b\x00\xff\xff", 4) + std::string("\x0d\x00", 2) +
                                   "RemoteDesktop" + std::string("\x0b\x00\xff\xff", 4);
  EXPECT_NE(file.find(run_then_rdp), std::string::npos);
  r = ReadSettings(file);
  ASSERT_TRUE(r.ok()) << r.reason;
  EXPECT_EQ(r.settings.block, values.block);
}

TEST_F(ImageFixture, CompilingTwiceReplacesTheWholeFile) {
  values.block[3] = vbTrue;
  const std::string first = Build(std::string(300, 'T'));
  values.block[3] = vbFalse;
  values.EncryptedPassword = L"abc";
  const std::string second = Build(std::string(300, 'T'));
  EXPECT_EQ(second.size(), first.size() + 3);
  const SettingsResult r = ReadSettings(second);
  ASSERT_TRUE(r.ok()) << r.reason;
  EXPECT_EQ(r.settings.block[3], vbFalse);
  EXPECT_EQ(r.settings.encrypted_password, "abc");
}

TEST_F(ImageFixture, UnusableTemplateWritesNothingAndNamesTheTemplate) {
  values.ProgramTitle = L"Blocker";
  // Missing.
  EXPECT_THROW(PropBag(fake.rt, values).BuildBlocker(), Failure);
  // Empty.
  fake.files.files[kTemplate] = "";
  try {
    PropBag(fake.rt, values).BuildBlocker();
    ADD_FAILURE() << "an empty template was accepted";
  } catch (const Failure& f) {
    EXPECT_NE(f.operation().find(kTemplate), std::wstring::npos);
    EXPECT_NE(f.reason().find(L"empty"), std::wstring::npos);
  }
  EXPECT_EQ(fake.files.files.size(), 1u);
  EXPECT_EQ(fake.files.compositions, 0);
}

}  // namespace
}  // namespace qx
