// The About dialog's handlers: its texts, registry values as the launcher
// reads them, and how it finds and starts the system information tool.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "about/frm_about.h"
#include "about/key_value.h"
#include "tests/support/fake_runtime.h"

namespace qx {
namespace {

using Data = std::vector<std::uint8_t>;
constexpr char kPathKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr char kFolderKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";

Data Sz(std::string_view text) {
  Data bytes(text.begin(), text.end());
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
};

TEST_F(AboutFixture, LoadShowsTheFactsAndOkUnloads) {
  fake.app.Title = L"T";
  fake.app.Major = 10;
  fake.app.Minor = 0;
  fake.app.Revision = 7;
  form.Form_Load();
  EXPECT_EQ(view.caption, L"About T");
  EXPECT_EQ(view.title, L"T");
  EXPECT_EQ(view.version, L"Version 10.0.7");
  EXPECT_EQ(view.unloads, 0);
  form.cmdOK_Click();
  EXPECT_EQ(view.unloads, 1);
}

TEST_F(AboutFixture, RegistryValuesBecomeText) {
  // clang-format off
  const struct {
    std::uint32_t type;
    Data data;
    bool read;
    std::wstring text;  // KeyVal afterwards, from "before"
  } cases[] = {
      {kRegSz, Sz("C:\\Tools\\a b.exe"), true, L"C:\\Tools\\a b.exe"},
      {kRegSz, Data{'u', 'n'}, true, L"un"},                           // unterminated {kRegSz, Data{'a', 'b', 0, 0}, true, std::wstring(L"ab\0", 3)},  // one zero dropped {kRegSz, Data{0}, true, L""},
      {kRegSz, Data{'C', ':', 0xE9, 0}, true, L"C:\u00e9"},  // read as ANSI {kRegSz, Data(1024, 'x'), true, std::wstring(1024, L'x')},
      {kRegSz, Data(1025, 'x'), false, L""},  // more than the buffer {kRegDword, Data{0x00, 0x10, 0x00, 0x00}, true, L"4096"},
      {kRegDword, Data{0xFF, 0xFF, 0xFF, 0xFF}, true, L"4294967295"},  // unsigned {kRegDword, Data{1, 0, 0, 0, 0, 0, 0, 1}, true, L"72057594037927937"},
      {2, Sz("%SystemRoot%"), true, L"before"},  // other types leave it {3, Data{1, 2}, true, L"before"},
  };
  // clang-format on
  for (const auto& c : cases) {
    fake.registry.Set("K", "V", c.type, c.data);
    std::wstring val = L"before";
    EXPECT_EQ(form.GetKeyValue(kHKeyLocalMachine, L"K", L"V", val), c.read) << c.data.size();
    EXPECT_EQ(val, c.text) << c.data.size();
  }
  // A value without data, or a number too long to hold, fails instead of
  // crashing or overflowing; an unreadable key or name empties the text.
  std::wstring val = L"before";
  for (const Data& bad : {Data{}, Data(9, 1)}) {
    fake.registry.Set("K", "V", kRegDword, bad);
    EXPECT_THROW(form.GetKeyValue(kHKeyLocalMachine, L"K", L"V", val), Failure);
    EXPECT_EQ(val, L"before");
  }
  EXPECT_FALSE(form.GetKeyValue(kHKeyLocalMachine, L"K\u4e00", L"V", val));
  EXPECT_EQ(val, L"");
}

TEST_F(AboutFixture, SystemInformationIsStartedByTheFirstUsablePathOrReportedUnavailable) {
  // clang-format off
  const struct {
    const char* what;
    std::vector<std::tuple<std::string, std::string, std::uint32_t, Data>> values;
    std::vector<std::wstring> files;
    bool fail_start;
    std::wstring started;  // empty: the message instead
    std::size_t reads;
  } cases[] = {
      {"PATH value, spaces and all", {{kPathKey, "PATH", kRegSz, Sz("C:\\Program Files\\S\\m.exe")}}, {}, false, L"C:\\Program Files\\S\\m.exe", 1},
      {"PATH that cannot start: no second look-up", {{kPathKey, "PATH", kRegSz, Sz("C:\\x.exe")}, {kFolderKey, "MSINFO", kRegSz, Sz("C:\\T")}}, {L"C:\\T\\MSINFO32.EXE"}, true, L"", 1},
      {"folder holding the tool", {{kFolderKey, "MSINFO", kRegSz, Sz("C:\\Program Files\\T")}}, {L"C:\\Program Files\\T\\MSINFO32.EXE"}, false, L"C:\\Program Files\\T\\MSINFO32.EXE", 2},
      {"folder without the tool", {{kFolderKey, "MSINFO", kRegSz, Sz("C:\\T")}}, {L"C:\\T\\msinfo.exe"}, false, L"", 2},
      {"neither value", {}, {}, false, L"", 2},
      {"PATH without data", {{kPathKey, "PATH", kRegSz, {}}, {kFolderKey, "MSINFO", kRegSz, Sz("C:\\T")}}, {L"C:\\T\\MSINFO32.EXE"}, false, L"", 1},
      {"PATH of another type starts nothing", {{kPathKey, "PATH", 2, Sz("%P%\\m.exe")}}, {}, true, L"", 1},
      {"PATH over 1024 bytes: the folder", {{kPathKey, "PATH", kRegSz, Data(1025, 'a')}, {kFolderKey, "MSINFO", kRegSz, Sz("D:\\T")}}, {L"D:\\T\\MSINFO32.EXE"}, false, L"D:\\T\\MSINFO32.EXE", 2},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::FakeRuntime run;
    for (const auto& [key, name, type, data] : c.values) run.registry.Set(key, name, type, data);
    for (const auto& f : c.files) run.files.files[f] = "";
    run.processes.fail_start = c.fail_start;
    RecordingView v;
    frmAbout(run.rt, v).cmdSysInfo_Click();
    EXPECT_EQ(run.registry.reads.size(), c.reads);
    EXPECT_TRUE(run.processes.shell_calls.empty());  // never split at spaces
    if (!c.started.empty()) {
      EXPECT_EQ(run.processes.started_exact, std::vector<std::wstring>{c.started});
      EXPECT_TRUE(run.dialogs.boxes.empty());
    } else {
      ASSERT_EQ(run.dialogs.boxes.size(), 1u);
      EXPECT_EQ(run.dialogs.boxes[0].prompt, L"System Information Is Unavailable At This Time");
      EXPECT_EQ(run.dialogs.boxes[0].style, vbOKOnly);
      EXPECT_FALSE(run.dialogs.boxes[0].title);  // the application title
    }
  }
}

}  // namespace
}  // namespace qx
