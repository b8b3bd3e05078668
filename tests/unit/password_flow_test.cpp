#include <gtest/gtest.h>

#include <string>

#include "app/frm_main.h"
#include "app/cipher.h"
#include "tests/support/fake_runtime.h"
#include "tests/support/password_texts.h"

namespace qx {
namespace {

constexpr const wchar_t* kPrompt = test::kPasswordPrompt;
constexpr const wchar_t* kSet = test::kPasswordSet;
constexpr const wchar_t* kNone = test::kNoPassword;
using test::ChangeText;

struct PasswordFixture : ::testing::Test {
  test::FakeRuntime fake;
  PublicValues values;
  test::FakeView view;
  frmMain form{fake.rt, values, view};

  PasswordFixture() { form.Form_Load(); }

  // Runs the flow once with the given entry and answers to message boxes.
  void Run(const std::wstring& entry, std::initializer_list<int> answers = {}) {
    fake.dialogs.boxes.clear();
    fake.dialogs.inputs.clear();
    fake.dialogs.input_answers = {entry};
    fake.dialogs.msgbox_answers = answers;
    form.SetPassword();
    ASSERT_EQ(fake.dialogs.inputs.size(), 1u);
    EXPECT_EQ(fake.dialogs.inputs[0].prompt, kPrompt);
    EXPECT_EQ(fake.dialogs.inputs[0].title, L"Password Request");
    EXPECT_EQ(fake.dialogs.inputs[0].default_text, L"");
  }

  std::wstring CipherTextOf(const std::wstring& password) {
    PublicValues other;
    other.CipherKey = values.CipherKey;
    other.PlainPassword = password;
    cipher(other, fake.ansi).Encrypt();
    return other.EncryptedPassword;
  }

  void ExpectOnlyBox(const std::wstring& text, int style, const std::wstring& title, int at = 0,
                     std::size_t count = 1) {
    ASSERT_EQ(fake.dialogs.boxes.size(), count);
    const test::ShownBox& box = fake.dialogs.boxes[static_cast<std::size_t>(at)];
    EXPECT_EQ(box.prompt, text);
    EXPECT_EQ(box.style, style);
    EXPECT_EQ(box.title, title);
  }
};

TEST_F(PasswordFixture, FirstPasswordIsSetWithoutConfirmation) {
  Run(L"secret");
  ExpectOnlyBox(kSet, 0, L"Password Set");
  EXPECT_EQ(values.PlainPassword, L"secret");
  EXPECT_EQ(values.EncryptedPassword, L"=X[kZS^N");
}

TEST_F(PasswordFixture, EmptyEntryOrCancelWithNoPasswordSet) {
  Run(L"");
  ExpectOnlyBox(kNone, 16, L"No Password");
  EXPECT_EQ(values.PlainPassword, L"");
  EXPECT_EQ(values.EncryptedPassword, L"");
}

TEST_F(PasswordFixture, SamePasswordAgainEncryptsAgainWithoutConfirmation) {
  Run(L"secret");
  const std::wstring before = values.EncryptedPassword;
  Run(L"secret");
  ExpectOnlyBox(kSet, 0, L"Password Set");
  EXPECT_EQ(values.PlainPassword, L"secret");
  EXPECT_EQ(values.EncryptedPassword, before);
}

TEST_F(PasswordFixture, ConfirmedChangeSetsTheNewPassword) {
  Run(L"secret");
  Run(L"Secret", {vbYes});  // letter case counts
  ExpectOnlyBox(ChangeText(L"secret", L"Secret"), 4, L"Password Change", 0, 2);
  ExpectOnlyBox(kSet, 0, L"Password Set", 1, 2);
  EXPECT_EQ(values.PlainPassword, L"Secret");
  EXPECT_EQ(values.EncryptedPassword, CipherTextOf(L"Secret"));
}

TEST_F(PasswordFixture, ConfirmedChangeToEmptyClearsBothValues) {
  Run(L"secret");
  Run(L"", {vbYes});
  ExpectOnlyBox(ChangeText(L"secret", L""), 4, L"Password Change", 0, 2);
  EXPECT_EQ(fake.dialogs.boxes[0].prompt,
            L"You have requested to change the password from secret to . Do you wish to "
            L"continue?");
  ExpectOnlyBox(kNone, 16, L"No Password", 1, 2);
  EXPECT_EQ(values.PlainPassword, L"");
  // The removed password's cipher text must not reach a later compile.
  EXPECT_EQ(values.EncryptedPassword, L"");
}

TEST_F(PasswordFixture, DeclinedChangeKeepsEverythingAndShowsNothingMore) {
  Run(L"secret");
  const std::wstring before = values.EncryptedPassword;
  for (const std::wstring& entry : {std::wstring(L"other"), std::wstring()}) {
    Run(entry, {vbNo});
    ExpectOnlyBox(ChangeText(L"secret", entry), 4, L"Password Change");
    EXPECT_EQ(values.PlainPassword, L"secret");
    EXPECT_EQ(values.EncryptedPassword, before);
  }
  // The next request still names the password that is set.
  Run(L"third", {vbYes});
  EXPECT_EQ(fake.dialogs.boxes[0].prompt, ChangeText(L"secret", L"third"));
  EXPECT_EQ(values.PlainPassword, L"third");
}

TEST_F(PasswordFixture, UnrepresentablePasswordIsRefusedAndNothingChanges) {
  const std::wstring smiley = L"pass\x263A";
  Run(smiley);
  ASSERT_EQ(fake.dialogs.boxes.size(), 1u);
  EXPECT_EQ(fake.dialogs.boxes[0].style, 16);
  EXPECT_NE(fake.dialogs.boxes[0].prompt.find(L"Nothing has been changed"), std::wstring::npos);
  EXPECT_EQ(values.PlainPassword, L"");
  EXPECT_EQ(values.EncryptedPassword, L"");

  // With a password set: no confirmation is asked, and the old one stays.
  Run(L"secret");
  const std::wstring before = values.EncryptedPassword;
  Run(smiley, {vbYes});
  ASSERT_EQ(fake.dialogs.boxes.size(), 1u);
  EXPECT_EQ(fake.dialogs.boxes[0].style, 16);
  EXPECT_EQ(values.PlainPassword, L"secret");
  EXPECT_EQ(values.EncryptedPassword, before);
}

TEST_F(PasswordFixture, CharactersOfTheCodePageAboveAsciiAreAccepted) {
  const std::wstring password{L'p', 0xE9, 0xFC, 0xFF};
  Run(password);
  ExpectOnlyBox(kSet, 0, L"Password Set");
  EXPECT_EQ(values.EncryptedPassword, CipherTextOf(password));
}

TEST_F(PasswordFixture, MenuItemAndImageButtonRunTheSameFlow) {
  fake.dialogs.input_answers = {L"one"};
  form.mnuPassword_Click();
  EXPECT_EQ(values.PlainPassword, L"one");
  fake.dialogs.input_answers = {L"two"};
  fake.dialogs.msgbox_answers = {vbYes};
  form.picPassword_Click();
  EXPECT_EQ(values.PlainPassword, L"two");
  ASSERT_EQ(fake.dialogs.inputs.size(), 2u);
  ASSERT_EQ(fake.dialogs.boxes.size(), 3u);
  EXPECT_EQ(fake.dialogs.boxes[1].prompt, ChangeText(L"one", L"two"));
}

}  // namespace
}  // namespace qx
