// The compile flow against the scripted runtime: questions, texts, titles and
// what happens after a failure.
#include <gtest/gtest.h>

#include "format/settings_reader.h"
#include "tests/support/fake_runtime.h"

namespace qx {
namespace {

constexpr wchar_t kFolder[] = L"C:\\Program Files\\Quellanix";
constexpr wchar_t kTitlePrompt[] =
    L"Please enter a name for the application, this is the name that will appear in Task "
    L"Manager. If you enter nothing it will default to Brindlecor.";

struct CompileFixture : ::testing::Test {
  test::FakeRuntime fake;
  PublicValues values;
  test::FakeView view;
  frmMain form{fake.rt, values, view};

  CompileFixture() {
    form.Form_Load();
    fake.files.files[std::wstring(kFolder) + L"\\quellanix.ext"] = "MZtemplate";
  }
  const std::string* Blocker(const std::wstring& title) {
    const auto it = fake.files.files.find(std::wstring(kFolder) + L"\\" + title + L".exe");
    return it == fake.files.files.end() ? nullptr : &it->second;
  }
  bool Completed() const {
    for (const auto& b : fake.dialogs.boxes) {
      if (b.prompt == L"Compile Complete") return true;
    }
    return false;
  }
};

TEST_F(CompileFixture, BlankPasswordAnsweredNoCompilesWithAnEmptyPassword) {
  fake.dialogs.msgbox_answers = {vbNo};
  fake.dialogs.input_answers = {L"Guard"};
  view.values[23] = 1;
  form.picCompile_Click();

  ASSERT_EQ(fake.dialogs.boxes.size(), 2u);
  EXPECT_EQ(fake.dialogs.boxes[0].prompt,
            L"There is no Password set - Would you like to set one now?");
  EXPECT_EQ(fake.dialogs.boxes[0].style, 20);
  EXPECT_EQ(fake.dialogs.boxes[0].title, L"Blank Password!");
  ASSERT_EQ(fake.dialogs.inputs.size(), 1u);
  EXPECT_EQ(fake.dialogs.inputs[0].prompt, kTitlePrompt);
  EXPECT_EQ(fake.dialogs.inputs[0].title, L"Program Title");
  EXPECT_EQ(fake.dialogs.inputs[0].default_text, L"Brindlecor");
  EXPECT_EQ(fake.dialogs.boxes[1].prompt, L"Compile Complete");
  EXPECT_EQ(fake.dialogs.boxes[1].style, 0);
  EXPECT_EQ(fake.dialogs.boxes[1].title, L"Compile Completed - Quellanix");

  EXPECT_EQ(values.ProgramTitle, L"Guard");
  ASSERT_NE(Blocker(L"Guard"), nullptr);
  const SettingsResult r = ReadSettings(*Blocker(L"Guard"));
  ASSERT_TRUE(r.ok()) << r.reason;
  EXPECT_EQ(r.settings.encrypted_password, "");
  EXPECT_TRUE(r.settings.block[23]);  // the flags were refreshed from the boxes
}

TEST_F(CompileFixture, BlankPasswordAnsweredYesRunsThePasswordFlowFirst) {
  // Yes, the password "secret", its confirmation box, then the title.
  fake.dialogs.msgbox_answers = {vbYes, vbOK};
  fake.dialogs.input_answers = {L"secret", L"Guard"};
  form.mnuCompile_Click();

  EXPECT_EQ(values.PlainPassword, L"secret");
  ASSERT_FALSE(values.EncryptedPassword.empty());
  ASSERT_EQ(fake.dialogs.inputs.size(), 2u);
  EXPECT_EQ(fake.dialogs.inputs[1].title, L"Program Title");
  ASSERT_NE(Blocker(L"Guard"), nullptr);
  const SettingsResult r = ReadSettings(*Blocker(L"Guard"));
  ASSERT_TRUE(r.ok()) << r.reason;
  EXPECT_EQ(r.settings.encrypted_password, *fake.ansi.ToAnsi(values.EncryptedPassword));
  EXPECT_TRUE(Completed());
}

TEST_F(CompileFixture, WithAPasswordSetNoQuestionIsAsked) {
  values.PlainPassword = L"pw";
  values.EncryptedPassword = L"XYZw";
  fake.dialogs.input_answers = {L"Brindlecor"};  // OK on the pre-filled text
  form.picCompile_Click();
  EXPECT_EQ(fake.dialogs.boxes.size(), 1u);
  EXPECT_TRUE(Completed());
  ASSERT_NE(Blocker(L"Brindlecor"), nullptr);
  EXPECT_EQ(ReadSettings(*Blocker(L"Brindlecor")).settings.encrypted_password, "XYZw");
}

TEST_F(CompileFixture, EmptyAnswerOrCancelGivesTheOfferedDefault) {
  values.PlainPassword = L"pw";
  fake.dialogs.input_answers = {L"Other", L""};
  form.picCompile_Click();
  form.picCompile_Click();  // emptied field or Cancel
  EXPECT_EQ(values.ProgramTitle, L"Brindlecor");
  EXPECT_NE(Blocker(L"Brindlecor"), nullptr);
  EXPECT_EQ(Blocker(L""), nullptr);
  // The prompt offers the default again, not the last title.
  EXPECT_EQ(fake.dialogs.inputs[1].default_text, L"Brindlecor");
}

TEST_F(CompileFixture, SpacesAndExeTitlesAreUsedUnchanged) {
  values.PlainPassword = L"pw";
  fake.dialogs.input_answers = {L"   ", L"tool.exe"};
  form.picCompile_Click();
  form.picCompile_Click();
  EXPECT_NE(Blocker(L"   "), nullptr);
  EXPECT_NE(Blocker(L"tool.exe"), nullptr);  // tool.exe.exe
}

TEST_F(CompileFixture, FailuresStopBeforeCompleteAndWriteNothing) {
  values.PlainPassword = L"pw";
  // A refused title.
  fake.dialogs.input_answers = {L"CON"};
  EXPECT_THROW(form.picCompile_Click(), Failure);
  // A missing template.
  fake.files.files.clear();
  fake.dialogs.input_answers = {L"Guard"};
  EXPECT_THROW(form.picCompile_Click(), Failure);
  // A failing write (a full disk, say) leaves an older blocker as it was.
  fake.files.files[std::wstring(kFolder) + L"\\quellanix.ext"] = "MZtemplate";
  fake.files.files[std::wstring(kFolder) + L"\\Guard.exe"] = "older";
  fake.files.fail_write = L"There is not enough space on the disk.";
  fake.dialogs.input_answers = {L"Guard"};
  try {
    form.picCompile_Click();
    ADD_FAILURE() << "no failure";
  } catch (const Failure& f) {
    EXPECT_NE(f.reason().find(L"space"), std::wstring::npos);
  }
  EXPECT_EQ(*Blocker(L"Guard"), "older");
  EXPECT_FALSE(Completed());
  EXPECT_EQ(fake.files.files.size(), 2u);
}

}  // namespace
}  // namespace qx
