// The installed program: started from where the installer put it, it compiles
// a blocker into that folder. scripts/test-release.sh installs it into a fresh
// Wine prefix and names the folder in QX_INSTALLED_DIR.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/win32/control_ids.h"
#include "format/settings_reader.h"
#include "tests/e2e/quellanix_fixture.h"

namespace qx::e2e {
namespace {

TEST(InstalledTest, StartsFromItsFolderAndCompilesABlockerThere) {
  wchar_t folder[MAX_PATH] = {};
  if (!::GetEnvironmentVariableW(L"QX_INSTALLED_DIR", folder, MAX_PATH)) {
    GTEST_SKIP() << "run by scripts/test-release.sh, which installs the program first";
  }
  const std::wstring dir = folder;
  AppProcess app = AppProcess::Start(dir + L"\\Quellanix.exe");
  HWND main = WaitForTopWindow(app.pid(), win::kMainWindowClass, L"", 30s);
  Click(ChildById(main, win::BoxId(EntryIndex("Notepad"))));
  Click(ChildById(main, win::kCompileButtonId));
  ASSERT_EQ(FinishCompile(app.pid(), false, L"Kids"), L"Compile Complete");
  const SettingsResult read = ReadSettings(ReadFile(dir + L"\\Kids.exe"));
  ASSERT_TRUE(read.ok()) << read.reason;
  EXPECT_TRUE(read.settings.block[EntryIndex("Notepad")]);
}

}  // namespace
}  // namespace qx::e2e
