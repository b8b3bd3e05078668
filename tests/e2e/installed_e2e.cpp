// The installed program: started from where the installer put it, it compiles
// a blocker into that folder; while it runs, the installer says so and changes
// nothing. scripts/test-release.sh installs it into a fresh Wine prefix and
// names the folder in QX_INSTALLED_DIR and the installer in QX_SETUP_EXE.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "format/settings_reader.h"
#include "tests/e2e/quellanix_fixture.h"

namespace qx::e2e {
namespace {

TEST(InstalledTest, WhileRunningKeepsSetupAndUninstallOutAndCompilesABlockerThere) {
  const wchar_t* dir_set = _wgetenv(L"QX_INSTALLED_DIR");
  if (!dir_set) GTEST_SKIP() << "run by scripts/test-release.sh, which installs the program first";
  const std::wstring dir = dir_set;
  AppProcess app = AppProcess::Start(dir + L"\\Quellanix.exe");
  HWND main = WaitForTopWindow(app.pid(), win::kMainWindowClass, L"", 30s);

  // Setup over the running program says so, and Cancel leaves the folder as it
  // was (a file removed first would come back from an install); so does a
  // silent uninstall (run in place: _?= keeps it from copying itself away, so
  // its exit code is its own).
  ASSERT_TRUE(::DeleteFileW((dir + L"\\LICENSE.txt").c_str()));
  const std::vector<std::wstring> files = FileNames(dir);
  AppProcess setup = AppProcess::Start(_wgetenv(L"QX_SETUP_EXE"));
  HWND box = WaitForTopWindow(setup.pid(), kDialogClass, L"", 30s);
  EXPECT_NE(ReadBox(box).text.find(L"Quellanix is running."), std::wstring::npos);
  SaveScreenshot(box, ::GetSysColor(COLOR_BTNFACE), L"setup_while_running");
  PressButton(box, IDCANCEL);
  AppProcess uninstall = AppProcess::Start(dir + L"\\Uninstall.exe", L"/S _?=" + dir);
  for (const AppProcess* p : {&setup, &uninstall}) {
    ASSERT_TRUE(p->WaitForExit(10s));
    EXPECT_EQ(p->ExitCode(), 2u);
  }
  EXPECT_EQ(FileNames(dir), files);

  Click(ChildById(main, win::BoxId(EntryIndex("Notepad"))));
  Click(ChildById(main, win::kCompileButtonId));
  ASSERT_EQ(FinishCompile(app.pid(), false, L"Kids"), L"Compile Complete");
  const SettingsResult read = ReadSettings(ReadFile(dir + L"\\Kids.exe"));
  ASSERT_TRUE(read.ok()) << read.reason;
  EXPECT_TRUE(read.settings.block[EntryIndex("Notepad")]);
}

}  // namespace
}  // namespace qx::e2e
