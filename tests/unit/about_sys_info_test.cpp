#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "about/about_texts.h"
#include "about/frm_about.h"
#include "tests/support/fake_runtime.h"

namespace qx {
namespace {

constexpr char kPathKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr char kFolderKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";

std::vector<std::uint8_t> Sz(std::string_view text) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

class RecordingView : public AboutView {
 public:
  std::wstring caption, title, version;
  int unloads = 0;
  void SetCaption(std::wstring_view t) override { caption = t; }
  void SetTitleText(std::wstring_view t) override { title = t; }
  void SetVersionText(std::wstring_view t) override { version = t; }
  void Unload() override { ++unloads; }
};

struct AboutFixture : ::testing::Test {
  test::FakeRuntime fake;
  RecordingView view;
  frmAbout form{fake.rt, view};

  void ExpectUnavailableOnly() {
    ASSERT_EQ(fake.dialogs.boxes.size(), 1u);
    EXPECT_EQ(fake.dialogs.boxes[0].prompt, L"System Information Is Unavailable At This Time");
    EXPECT_EQ(fake.dialogs.boxes[0].style, vbOKOnly);
    EXPECT_FALSE(fake.dialogs.boxes[0].title.has_value());
    EXPECT_TRUE(fake.processes.started_exact.empty());
    EXPECT_TRUE(fake.processes.shell_calls.empty());
  }
};

TEST_F(AboutFixture, LoadShowsTitleAndVersionFromTheFacts) {
  form.Form_Load();
  EXPECT_EQ(view.caption, L"About Quellanix V2.0");
  EXPECT_EQ(view.title, L"Quellanix V2.0");
  EXPECT_EQ(view.version, L"Version 2.1.0");

  fake.app.Title = L"T";
  fake.app.Major = 10;
  fake.app.Minor = 0;
  fake.app.Revision = 7;
  form.Form_Load();
  EXPECT_EQ(view.caption, L"About T");
  EXPECT_EQ(view.version, L"Version 10.0.7");
  EXPECT_EQ(view.unloads, 0);
}

TEST_F(AboutFixture, OkUnloads) {
  form.cmdOK_Click();
  EXPECT_EQ(view.unloads, 1);
}

TEST_F(AboutFixture, DisclaimerNamesTheMakerAndItsSite) {
  const std::wstring text = kAboutDisclaimer;
  EXPECT_EQ(text.rfind(L"Warning: ... ", 0), 0u);
  EXPECT_NE(text.find(L"Brindlecor"), std::wstring::npos);
  EXPECT_NE(text.find(L"www.brindlecor.com"), std::wstring::npos);
  EXPECT_NE(std::wstring(kAboutDescription).find(L"activities.  ---  We cannot"),
            std::wstring::npos);
}

TEST_F(AboutFixture, PathValueIsStartedAsReadWithoutFurtherChecks) {
  // Spaces and all: started as one program, not as a command line.
  fake.registry.Set(kPathKey, "PATH", kRegSz, Sz("C:\\Program Files\\Sys Info\\msinfo32.exe"));
  form.cmdSysInfo_Click();
  EXPECT_EQ(fake.processes.started_exact,
            std::vector<std::wstring>{L"C:\\Program Files\\Sys Info\\msinfo32.exe"});
  EXPECT_TRUE(fake.processes.shell_calls.empty());
  EXPECT_TRUE(fake.dialogs.boxes.empty());
  ASSERT_EQ(fake.registry.reads.size(), 1u);
  EXPECT_EQ(fake.registry.reads[0].first, kPathKey);
}

TEST_F(AboutFixture, PathValueThatCannotStartGivesTheMessageWithoutTheSecondLookup) {
  fake.registry.Set(kPathKey, "PATH", kRegSz, Sz("C:\\missing.exe"));
  fake.registry.Set(kFolderKey, "MSINFO", kRegSz, Sz("C:\\Tools"));
  fake.files.files[L"C:\\Tools\\MSINFO32.EXE"] = "";
  fake.processes.fail_start = true;
  form.StartSysInfo();
  ExpectUnavailableOnly();
  EXPECT_EQ(fake.registry.reads.size(), 1u);
}

TEST_F(AboutFixture, FolderValueIsUsedWhenItHoldsTheTool) {
  fake.registry.Set(kFolderKey, "MSINFO", kRegSz, Sz("C:\\Program Files\\Tools"));
  fake.files.files[L"C:\\Program Files\\Tools\\MSINFO32.EXE"] = "";
  form.StartSysInfo();
  EXPECT_EQ(fake.processes.started_exact,
            std::vector<std::wstring>{L"C:\\Program Files\\Tools\\MSINFO32.EXE"});
  EXPECT_TRUE(fake.dialogs.boxes.empty());
  ASSERT_EQ(fake.registry.reads.size(), 2u);
  EXPECT_EQ(fake.registry.reads[1], std::make_pair(std::string(kFolderKey), std::string("MSINFO")));
}

TEST_F(AboutFixture, FolderWithoutTheToolGivesTheMessage) {
  fake.registry.Set(kFolderKey, "MSINFO", kRegSz, Sz("C:\\Tools"));
  fake.files.files[L"C:\\Tools\\msinfo.exe"] = "";
  form.StartSysInfo();
  ExpectUnavailableOnly();
}

TEST_F(AboutFixture, NeitherValueGivesTheMessage) {
  form.StartSysInfo();
  ExpectUnavailableOnly();
  EXPECT_EQ(fake.registry.reads.size(), 2u);
}

TEST_F(AboutFixture, EmptyPathValueGivesTheMessageWithoutTheSecondLookup) {
  fake.registry.Set(kPathKey, "PATH", kRegSz, {});
  fake.registry.Set(kFolderKey, "MSINFO", kRegSz, Sz("C:\\Tools"));
  fake.files.files[L"C:\\Tools\\MSINFO32.EXE"] = "";
  form.StartSysInfo();
  ExpectUnavailableOnly();
  EXPECT_EQ(fake.registry.reads.size(), 1u);
}

TEST_F(AboutFixture, PathOfAnotherTypeTriesTheEmptyPath) {
  // Found, but its type leaves the path empty; starting nothing fails.
  fake.registry.Set(kPathKey, "PATH", 2, Sz("%ProgramFiles%\\msinfo32.exe"));
  fake.processes.fail_start = true;
  form.StartSysInfo();
  ExpectUnavailableOnly();
  EXPECT_EQ(fake.registry.reads.size(), 1u);
}

TEST_F(AboutFixture, OverlongPathValueFallsBackToTheFolder) {
  fake.registry.Set(kPathKey, "PATH", kRegSz, std::vector<std::uint8_t>(1025, 'a'));
  fake.registry.Set(kFolderKey, "MSINFO", kRegSz, Sz("D:\\T"));
  fake.files.files[L"D:\\T\\MSINFO32.EXE"] = "";
  form.StartSysInfo();
  EXPECT_EQ(fake.processes.started_exact, std::vector<std::wstring>{L"D:\\T\\MSINFO32.EXE"});
}

}  // namespace
}  // namespace qx
