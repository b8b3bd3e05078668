// The main window's handlers against the scripted runtime: group headers, the
// block flags, the menus, the password flow and the compile flow.
#include "app/frm_main.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/cipher.h"
#include "format/settings_reader.h"
#include "tests/support/fake_runtime.h"
#include "tests/support/password_texts.h"

namespace qx {
namespace {

constexpr wchar_t kFolder[] = L"C:\\Program Files\\Quellanix";

std::size_t At(std::string_view key) { return IndexOfKey(key).value(); }

struct MainFixture : ::testing::Test {
  test::FakeRuntime fake;
  PublicValues values;
  test::FakeView view;
  frmMain form{fake.rt, values, view};

  MainFixture() {
    form.Form_Load();
    fake.files.files[std::wstring(kFolder) + L"\\quellanix.ext"] = "MZtemplate";
  }
  std::wstring CipherTextOf(const std::wstring& password) {
    PublicValues other;
    other.CipherKey = values.CipherKey;
    other.PlainPassword = password;
    cipher(other, fake.ansi).Encrypt();
    return other.EncryptedPassword;
  }
  std::vector<std::wstring> Shown() const {  // "text|style|title" per box
    std::vector<std::wstring> out;
    for (const auto& b : fake.dialogs.boxes) {
      out.push_back(b.prompt + L"|" + std::to_wstring(b.style) + L"|" + b.title.value_or(L"-"));
    }
    return out;
  }
  SettingsResult Blocker(const std::wstring& title) {
    const auto it = fake.files.files.find(std::wstring(kFolder) + L"\\" + title + L".exe");
    return it == fake.files.files.end() ? SettingsResult{} : ReadSettings(it->second);
  }
};

TEST_F(MainFixture, AHeaderClickFollowsItsDecidingBoxAloneAndTouchesNoOtherGroup) {
  EXPECT_EQ(values.CipherKey, L"*#tkqa71wzrvo#*");
  for (const GroupHeader& h : kGroupHeaders) {
    const std::size_t deciding = At(h.deciding_key);
    for (int state : {0, 1, 2}) {  // clear, ticked, grey
      for (std::size_t i = 0; i < kEntryCount; ++i) view.values[i] = static_cast<int>(i % 3);
      view.values[deciding] = state;
      const auto before = view.values;
      form.HeaderClick(h.group);
      for (std::size_t i = 0; i < kEntryCount; ++i) {
        const int want = kCatalogue[i].group == h.group ? (state == 0 ? 1 : 0) : before[i];
        EXPECT_EQ(view.values[i], want)
            << h.control << " " << state << " " << kCatalogue[i].control;
      }
    }
  }
}

TEST_F(MainFixture, FlagsFollowTheBoxesOnlyWhenDefinedAndGreyCountsAsTicked) {
  view.values[At("Ares")] = 1;
  view.values[At("RemoteDesktop")] = 2;
  form.DefineVariables();
  view.values[At("Ares")] = 0;
  for (std::size_t i = 0; i < kEntryCount; ++i) {
    const bool on = i == At("Ares") || i == At("RemoteDesktop");
    EXPECT_EQ(values.block[i], on ? vbTrue : vbFalse) << kCatalogue[i].control;
  }
}

TEST_F(MainFixture, MenusOpenTheFolderAndTheHelpFileUnquotedAndReachTheView) {
  form.mnuOpenApp_Click();
  form.mnuIndex_Click();
  form.mnuExit_Click();
  form.mnuAbout_Click();
  EXPECT_EQ(fake.processes.shell_calls,
            std::vector<std::wstring>{L"explorer.exe C:\\Program Files\\Quellanix"});
  EXPECT_EQ(fake.processes.opened_documents,
            std::vector<std::wstring>{L"C:\\Program Files\\Quellanix\\quellanix.chm"});
  EXPECT_EQ(view.ended, 1);
  EXPECT_EQ(view.about_shown, 1);
}

TEST_F(MainFixture, PasswordFlowOutcomes) {
  const std::wstring set = std::wstring(test::kPasswordSet) + L"|0|Password Set";
  const std::wstring none = std::wstring(test::kNoPassword) + L"|16|No Password";
  const auto change = [](const std::wstring& from, const std::wstring& to) {
    return test::ChangeText(from, to) + L"|4|Password Change";
  };
  // clang-format off
  const struct {
    const wchar_t* what;
    std::wstring previous, entry;
    std::deque<int> answers;
    std::vector<std::wstring> boxes;
    std::wstring after;  // PlainPassword; EncryptedPassword must be its cipher text
  } cases[] = {
      {L"first password", L"", L"secret", {}, {set}, L"secret"},
      {L"empty or Cancel, none set", L"", L"", {}, {none}, L""},
      {L"the same again", L"secret", L"secret", {}, {set}, L"secret"},
      {L"change confirmed (case counts)", L"secret", L"Secret", {vbYes}, {change(L"secret", L"Secret"), set}, L"Secret"},
      {L"change to empty confirmed", L"secret", L"", {vbYes}, {change(L"secret", L""), none}, L""},
      {L"change declined", L"secret", L"other", {vbNo}, {change(L"secret", L"other")}, L"secret"},
      {L"removal declined", L"secret", L"", {vbNo}, {change(L"secret", L"")}, L"secret"},
      {L"code page characters", L"", std::wstring{L'p', 0xE9, 0xFF}, {}, {set}, std::wstring{L'p', 0xE9, 0xFF}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.what);
    values.PlainPassword = c.previous;
    values.EncryptedPassword = c.previous.empty() ? L"" : CipherTextOf(c.previous);
    fake.dialogs = {};
    fake.dialogs.input_answers = {c.entry};
    fake.dialogs.msgbox_answers = c.answers;
    form.picPassword_Click();
    ASSERT_EQ(fake.dialogs.inputs.size(), 1u);
    EXPECT_EQ(fake.dialogs.inputs[0].prompt, test::kPasswordPrompt);
    EXPECT_EQ(fake.dialogs.inputs[0].title, L"Password Request");
    EXPECT_EQ(Shown(), c.boxes);
    EXPECT_EQ(values.PlainPassword, c.after);
    EXPECT_EQ(values.EncryptedPassword, c.after.empty() ? L"" : CipherTextOf(c.after));
  }
}

TEST_F(MainFixture, APasswordTheCodePageCannotHoldIsRefusedAndNothingChanges) {
  fake.dialogs.input_answers = {L"secret", L"pass\x263A"};
  form.mnuPassword_Click();
  fake.dialogs = {};
  fake.dialogs.input_answers = {L"pass\x263A"};
  form.mnuPassword_Click();
  ASSERT_EQ(fake.dialogs.boxes.size(), 1u);  // no confirmation is asked
  EXPECT_EQ(fake.dialogs.boxes[0].style, vbCritical);
  EXPECT_NE(fake.dialogs.boxes[0].prompt.find(L"Nothing has been changed"), std::wstring::npos);
  EXPECT_EQ(values.PlainPassword, L"secret");
  EXPECT_EQ(values.EncryptedPassword, CipherTextOf(L"secret"));
}

TEST_F(MainFixture, CompileFlowTitlesAndTheBlankPasswordQuestion) {
  const std::wstring ask =
      L"There is no Password set - Would you like to set one now?|20|Blank Password!";
  const std::wstring done = L"Compile Complete|0|Compile Completed - Quellanix";
  // clang-format off
  const struct {
    const wchar_t* what;
    std::wstring password;  // set before the compile
    std::deque<int> answers;
    std::deque<std::wstring> inputs;
    std::vector<std::wstring> boxes;
    std::wstring file;  // the blocker written
  } cases[] = {
      {L"No: empty password, typed title", L"", {vbNo}, {L"Guard"}, {ask, done}, L"Guard"},
      {L"Yes: the password flow first", L"", {vbYes, vbOK}, {L"pw", L"Guard"}, {ask, std::wstring(test::kPasswordSet) + L"|0|Password Set", done}, L"Guard"},
      {L"set: the pre-filled title", L"pw", {}, {L"Brindlecor"}, {done}, L"Brindlecor"},
      {L"empty answer or Cancel", L"pw", {}, {L""}, {done}, L"Brindlecor"},
      {L"spaces only", L"pw", {}, {L"   "}, {done}, L"   "},
      {L"a title ending in .exe", L"pw", {}, {L"tool.exe"}, {done}, L"tool.exe"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.what);
    values.PlainPassword = c.password;
    values.EncryptedPassword = c.password.empty() ? L"" : CipherTextOf(c.password);
    fake.dialogs = {};
    fake.dialogs.msgbox_answers = c.answers;
    fake.dialogs.input_answers = c.inputs;
    view.values[At("Nero")] = 2;
    form.picCompile_Click();
    EXPECT_EQ(Shown(), c.boxes);
    const auto& title_box = fake.dialogs.inputs.back();
    EXPECT_EQ(title_box.title, L"Program Title");
    EXPECT_EQ(title_box.default_text, L"Brindlecor");  // never the last title
    const SettingsResult r = Blocker(c.file);
    ASSERT_TRUE(r.ok()) << r.reason;
    EXPECT_TRUE(r.settings.block[At("Nero")]);  // the flags were refreshed
    EXPECT_EQ(r.settings.encrypted_password, *fake.ansi.ToAnsi(values.EncryptedPassword));
    fake.files.files.erase(std::wstring(kFolder) + L"\\" + c.file + L".exe");
  }
}

TEST_F(MainFixture, ACompileThatFailsShowsNoCompletionAndLeavesTheFilesAsTheyWere) {
  values.PlainPassword = L"pw";
  const auto fails = [&](const std::wstring& title, const std::wstring& reason) {
    fake.dialogs = {};
    fake.dialogs.input_answers = {title};
    try {
      form.mnuCompile_Click();
      ADD_FAILURE() << "no failure for " << testing::PrintToString(title);
    } catch (const Failure& f) {
      EXPECT_NE(f.reason().find(reason), std::wstring::npos) << testing::PrintToString(f.reason());
    }
    EXPECT_TRUE(fake.dialogs.boxes.empty());
  };
  fails(L"CON", L"device");
  fake.files.files[std::wstring(kFolder) + L"\\Guard.exe"] = "older";
  fake.files.fail_write = L"There is not enough space on the disk.";
  fails(L"Guard", L"space");
  EXPECT_EQ(fake.files.files.at(std::wstring(kFolder) + L"\\Guard.exe"), "older");
  fake.files.files = {};
  fails(L"Guard", L"cannot find");
  EXPECT_TRUE(fake.files.files.empty());
}

}  // namespace
}  // namespace qx
