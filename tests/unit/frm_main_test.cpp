// The main window's handlers against the scripted runtime: group headers, the
// menus, the password flow and the compile flow.
#include "app/frm_main.h"

#include <gtest/gtest.h>

#include "cipher/text_cipher.h"
#include "format/blocker_writer.h"
#include "format/settings_reader.h"
#include "tests/support/fake_runtime.h"
#include "tests/support/password_texts.h"

namespace qx {
namespace {

using Texts = std::vector<std::wstring>;
constexpr int kOk = 1, kYes = 6, kNo = 7;  // the system's IDOK, IDYES, IDNO
const std::wstring kFolder = L"C:\\Program Files\\Quellanix";
const std::wstring kSet = std::wstring(test::kPasswordSet) + L"|0|Password Set";

// The fixture is the window and its check boxes.
struct MainFixture : ::testing::Test, MainView {
  test::FakeRuntime fake;
  PublicValues values;
  std::array<int, kEntryCount> box{};
  frmMain form{fake.rt, values, *this};

  int Value(std::size_t i) const override { return box.at(i); }
  void SetValue(std::size_t i, int v) override { box.at(i) = v; }
  void ShowAbout() override {}
  void ShowMore() override {}
  void EndProgram() override {}

  MainFixture() {
    form.Form_Load();
    fake.files[kFolder + L"\\quellanix.ext"] = "MZtemplate";
  }
  // Under the program's key: Form_Load must have set it.
  std::wstring CipherTextOf(const std::wstring& password) {
    return password.empty() ? L"" : fake.FromAnsi(EncryptText(kCipherKey, *fake.ToAnsi(password)));
  }
  void Script(const std::wstring& password, std::deque<int> answers,
              std::deque<std::wstring> entries) {
    values.PlainPassword = password;
    values.EncryptedPassword = CipherTextOf(password);
    fake.answers = std::move(answers);
    fake.entries = std::move(entries);
    fake.boxes.clear();
    fake.inputs.clear();
  }
};

TEST_F(MainFixture, AHeaderClickFollowsItsDecidingBoxAloneAndTouchesNoOtherGroup) {
  for (const GroupHeader& h : kGroupHeaders) {
    for (int state : {0, 1, 2}) {  // clear, ticked, grey
      for (std::size_t i = 0; i < kEntryCount; ++i) box[i] = static_cast<int>(i % 3);
      box[IndexOfKey(h.deciding_key).value()] = state;
      const auto before = box;
      form.HeaderClick(h.group);
      for (std::size_t i = 0; i < kEntryCount; ++i) {
        EXPECT_EQ(box[i], kCatalogue[i].group == h.group ? state == 0 : before[i])
            << h.control << " " << state << " " << kCatalogue[i].control;
      }
    }
  }
}

TEST_F(MainFixture, OpenFolderAndHelpReachTheShellWithTheProgramsFolder) {
  form.mnuOpenApp_Click();
  form.mnuIndex_Click();
  EXPECT_EQ(fake.calls,
            (Texts{L"shell(1) explorer.exe " + kFolder, L"open " + kFolder + L"\\quellanix.chm"}));
}

TEST_F(MainFixture, PasswordFlowOutcomes) {
  const std::wstring none = L"No Password has been set|16|No Password";
  const auto change = [](const std::wstring& from, const std::wstring& to) {
    return L"You have requested to change the password from " + from + L" to " + to +
           L". Do you wish to continue?|4|Password Change";
  };
  const std::wstring refused =
      L"This password contains characters that the system's ANSI code page cannot represent, so "
      L"it could not be typed back to disable the blocker.\n\nNothing has been changed. Please "
      L"choose a password without those characters.|16|Password Not Set";
  // clang-format off
  // After: PlainPassword, and EncryptedPassword must be its cipher text.
  const struct { const wchar_t* what; std::wstring previous, entry; std::deque<int> answers; Texts boxes; std::wstring after; } cases[] = {
      {L"first password", L"", L"secret", {}, {kSet}, L"secret"},
      {L"empty or Cancel, none set", L"", L"", {}, {none}, L""},
      {L"the same again", L"secret", L"secret", {}, {kSet}, L"secret"},
      {L"change confirmed (case counts)", L"secret", L"Secret", {kYes}, {change(L"secret", L"Secret"), kSet}, L"Secret"},
      {L"change to empty confirmed", L"secret", L"", {kYes}, {change(L"secret", L""), none}, L""},
      {L"change declined", L"secret", L"other", {kNo}, {change(L"secret", L"other")}, L"secret"},
      {L"removal declined", L"secret", L"", {kNo}, {change(L"secret", L"")}, L"secret"},
      {L"code page characters", L"", std::wstring{L'p', 0xE9, 0xFF}, {}, {kSet}, std::wstring{L'p', 0xE9, 0xFF}},
      {L"outside the code page: no question", L"secret", L"pass\x263A", {kYes}, {refused}, L"secret"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.what);
    Script(c.previous, c.answers, {c.entry});
    form.picPassword_Click();
    EXPECT_EQ(fake.inputs, Texts{test::kPasswordPrompt + std::wstring(L"|Password Request|")});
    EXPECT_EQ(fake.boxes, c.boxes);
    EXPECT_EQ(values.PlainPassword, c.after);
    EXPECT_EQ(values.EncryptedPassword, CipherTextOf(c.after));
  }
  // A failed encryption keeps the password before it, in step with its cipher text.
  Script(L"secret", {kYes}, {L"other"});
  values.CipherKey = L"\x263A";
  EXPECT_THROW(form.picPassword_Click(), Failure);
  EXPECT_EQ(values.PlainPassword, L"secret");
}

TEST_F(MainFixture, CompileFlowTitlesFlagsAndTheBlankPasswordQuestion) {
  const std::wstring ask =
      L"There is no Password set - Would you like to set one now?|20|Blank Password!";
  const std::wstring done = L"Compile Complete|0|Compile Completed - Quellanix";
  // clang-format off
  // The password set before the compile; the title of the blocker written.
  // An older blocker of the title's name is replaced.
  const std::string older = WriteBlocker("MZtemplate", BlockerSettings{});
  const struct { const wchar_t* what; std::wstring password; std::deque<int> answers; std::deque<std::wstring> entries; Texts boxes; std::wstring file; std::string existing = {}; } cases[] = {
      {L"No: empty password, typed title", L"", {kNo}, {L"Guard"}, {ask, done}, L"Guard"},
      {L"an older blocker replaced", L"", {kNo}, {L"Guard"}, {ask, done}, L"Guard", older},
      {L"Yes: the password flow first", L"", {kYes, kOk}, {L"pw", L"Guard"}, {ask, kSet, done}, L"Guard"},
      {L"set: the pre-filled title", L"pw", {}, {L"Brindlecor"}, {done}, L"Brindlecor"},
      {L"empty answer or Cancel", L"pw", {}, {L""}, {done}, L"Brindlecor"},
      {L"spaces only", L"pw", {}, {L"   "}, {done}, L"   "},
      {L"a title ending in .exe", L"pw", {}, {L"tool.exe"}, {done}, L"tool.exe"},
  };
  // clang-format on
  values.more.common[14] = true;  // chosen in the More Applications dialog
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.what);
    Script(c.password, c.answers, c.entries);
    for (std::size_t i = 0; i < kEntryCount; ++i) box[i] = static_cast<int>((i + 1) % 3);
    if (!c.existing.empty()) fake.files[kFolder + L"\\" + c.file + L".exe"] = c.existing;
    form.picCompile_Click();
    EXPECT_EQ(fake.boxes, c.boxes);
    // The default offered is never the last title.
    EXPECT_TRUE(fake.inputs.back().ends_with(L"|Program Title|Brindlecor"));
    const auto file = fake.files.extract(kFolder + L"\\" + c.file + L".exe");
    ASSERT_FALSE(file.empty());
    const SettingsResult r = ReadSettings(file.mapped());
    ASSERT_TRUE(r.ok()) << r.reason;
    // Grey counts as ticked.
    for (std::size_t i = 0; i < kEntryCount; ++i)
      EXPECT_EQ(r.settings.block[i], (i + 1) % 3 != 0) << i;
    EXPECT_EQ(fake.FromAnsi(r.settings.encrypted_password), CipherTextOf(values.PlainPassword));
    EXPECT_EQ(r.settings.more.common, std::vector<std::size_t>{14});
  }
}

// The title, then a file of that name that is no blocker, are refused before
// anything is written; a write failure keeps its reason.
TEST_F(MainFixture, ACompileThatFailsShowsNoCompletionAndKeepsTheReason) {
  fake.fail_write = L"There is not enough space on the disk.";
  fake.unreadable = kFolder + L"\\Locked.exe";
  // clang-format off
  const struct { std::wstring title, reason; std::string existing = {}; } cases[] = {
      {L"CON", L"device"}, {L"Guard", L"space"},
      {L"Uninstall", L"is not a blocker, so it may belong to another program", "MZ other"},
      {L"Locked", L"already there, and reading it failed", "MZ locked"},
  };
  // clang-format on
  for (const auto& c : cases) {
    const std::wstring path = kFolder + L"\\" + c.title + L".exe";
    if (!c.existing.empty()) fake.files[path] = c.existing;
    Script(L"pw", {}, {c.title});
    try {
      form.mnuCompile_Click();
      ADD_FAILURE() << "no failure for " << testing::PrintToString(c.title);
    } catch (const Failure& f) {
      EXPECT_NE(f.operation().find(path), std::wstring::npos);
      EXPECT_NE(f.reason().find(c.reason), std::wstring::npos)
          << testing::PrintToString(f.reason());
    }
    EXPECT_EQ(fake.boxes, Texts{});
    EXPECT_EQ(fake.files[path], c.existing);  // as it was, or still none
  }
  Script(L"pw", {}, {L"New"});
  fake.fail_write.reset();
  values.EncryptedPassword = L"\x263A";  // not from the cipher: refused before any write
  EXPECT_THROW(form.mnuCompile_Click(), Failure);
}

}  // namespace
}  // namespace qx
