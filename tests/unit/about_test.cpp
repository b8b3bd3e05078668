// The About dialog's handlers: its texts, registry values as the launcher
// reads them, and how it finds and starts the system information tool.
#include <gtest/gtest.h>

#include "about/frm_about.h"
#include "tests/support/fake_runtime.h"

namespace qx {
namespace {

using Data = std::vector<std::uint8_t>;
constexpr std::uint32_t kSz = 1, kDword = 4;  // the system's REG_SZ and REG_DWORD
using Texts = std::vector<std::wstring>;
constexpr char kPathKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr char kFolderKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";

Data Sz(std::string_view text) {
  Data bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

// The fixture is the dialog window.
struct AboutFixture : ::testing::Test, AboutView {
  test::FakeRuntime fake;
  frmAbout form{fake.rt, *this};

  std::wstring shown;
  void SetCaption(std::wstring_view t) override { shown += L"caption " + std::wstring(t); }
  void SetTitleText(std::wstring_view t) override { shown += L", title " + std::wstring(t); }
  void SetVersionText(std::wstring_view t) override { shown += L", " + std::wstring(t); }
  void Unload() override {}
};

TEST_F(AboutFixture, ShowsTheProgramsTitleAndVersion) {
  fake.app = {L"C:\\Q", L"Tool", 3, 14, 159};
  form.Form_Load();
  EXPECT_EQ(shown, L"caption About Tool, Version 3.14.159, title Tool");
}

TEST_F(AboutFixture, RegistryValuesBecomeText) {
  // clang-format off
  // Text: unterminated, one zero dropped, read as ANSI, more than the buffer.
  // Numbers: unsigned, up to eight bytes. Other types leave KeyVal ("before").
  const struct { std::uint32_t type; Data data; bool read; std::wstring text; } cases[] = {
      {kSz, Sz("C:\\Tools\\a b.exe"), true, L"C:\\Tools\\a b.exe"}, {kSz, Data{'u', 'n'}, true, L"un"},
      {kSz, Data{'a', 'b', 0, 0}, true, std::wstring(L"ab\0", 3)}, {kSz, Data{0}, true, L""},
      {kSz, Data{'C', ':', 0xE9, 0}, true, L"C:\u00e9"}, {kSz, Data(1024, 'x'), true, std::wstring(1024, L'x')},
      {kSz, Data(1025, 'x'), false, L""}, {kDword, Data{0x00, 0x10, 0x00, 0x00}, true, L"4096"},
      {kDword, Data{0xFF, 0xFF, 0xFF, 0xFF}, true, L"4294967295"},
      {kDword, Data{1, 0, 0, 0, 0, 0, 0, 1}, true, L"72057594037927937"},
      {2, Sz("%SystemRoot%"), true, L"before"}, {3, Data{1, 2}, true, L"before"},
  };
  // clang-format on
  for (const auto& c : cases) {
    fake.registry[{"K", "V"}] = {c.type, c.data};
    std::wstring val = L"before";
    EXPECT_EQ(form.GetKeyValue(kHKeyLocalMachine, L"K", L"V", val), c.read) << c.data.size();
    EXPECT_EQ(val, c.text) << c.data.size();
  }
  // A value without data, or a number too long to hold, fails instead of
  // crashing or overflowing.
  std::wstring val = L"before";
  for (const Data& bad : {Data{}, Data(9, 1)}) {
    fake.registry[{"K", "V"}] = {kDword, bad};
    EXPECT_THROW(form.GetKeyValue(kHKeyLocalMachine, L"K", L"V", val), Failure);
    EXPECT_EQ(val, L"before");
  }
  // A key or name outside the code page is not looked up, and empties the text.
  const std::size_t reads = fake.reads;
  for (const auto& [key, name] : {std::pair{L"K\u4e00", L"V"}, {L"K", L"V\u4e00"}}) {
    val = L"before";
    EXPECT_FALSE(form.GetKeyValue(kHKeyLocalMachine, key, name, val));
    EXPECT_EQ(val, L"");
  }
  EXPECT_EQ(fake.reads, reads);
}

using Value = std::tuple<std::string, std::string, std::uint32_t, Data>;
Value Path(Data data, std::uint32_t type = kSz) { return {kPathKey, "PATH", type, data}; }
Value Folder(std::string_view folder) { return {kFolderKey, "MSINFO", kSz, Sz(folder)}; }

TEST_F(AboutFixture, SystemInformationIsStartedByTheFirstUsablePathOrReportedUnavailable) {
  const std::string tool = "C:\\T\\MSINFO32.EXE", spaced = "C:\\Program Files\\T\\MSINFO32.EXE";
  const Value folder = Folder("C:\\T");
  // clang-format off
  // Registry values and files present; started: empty for the message instead.
  const struct { const char* what; std::vector<Value> values; std::vector<std::string> files;
                 bool fail_start; std::string started; std::size_t reads; } cases[] = {
      {"PATH, spaces and all", {Path(Sz(spaced))}, {}, false, spaced, 1},
      {"PATH failing: no second look-up", {Path(Sz("C:\\x.exe")), folder}, {tool}, true, "", 1},
      {"folder holding the tool", {Folder("C:\\Program Files\\T")}, {spaced}, false, spaced, 2},
      {"folder without the tool", {folder}, {"C:\\T\\msinfo.exe"}, false, "", 2},
      {"neither value", {}, {}, false, "", 2},
      {"PATH without data", {Path({}), folder}, {tool}, false, "", 1},
      {"PATH of another type starts nothing", {Path(Sz("%P%\\m.exe"), 2)}, {}, true, "", 1},
      {"over 1024 bytes: the folder", {Path(Data(1025, 'a')), folder}, {tool}, false, tool, 2},
  };
  // clang-format on
  const Texts unavailable{L"System Information Is Unavailable At This Time|0|-"};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::FakeRuntime run;
    for (const auto& [key, name, type, data] : c.values) run.registry[{key, name}] = {type, data};
    for (const auto& f : c.files) run.files[std::wstring(f.begin(), f.end())] = "";
    run.fail_start = c.fail_start;
    frmAbout(run.rt, *this).cmdSysInfo_Click();
    EXPECT_EQ(run.reads, c.reads);
    // One exact path, never a command line split at spaces.
    const std::wstring started(c.started.begin(), c.started.end());
    EXPECT_EQ(run.calls, started.empty() ? Texts{} : Texts{L"start(1) " + started});
    EXPECT_EQ(run.boxes, c.started.empty() ? unavailable : Texts{});
  }
}

}  // namespace
}  // namespace qx
