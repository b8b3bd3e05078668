// The More Applications dialog through the real window: left without a choice
// it changes no byte of a compile; a common program and a program file added
// through the Open dialog are stopped by the blocker, a renamed copy too (what
// the blocker leaves alone and its log are the blocker tests' own).
#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <commctrl.h>  // this needs windows.h first
// clang-format on

#include <string>

#include "app/more_list.h"
#include "app/win32/control_ids.h"
#include "blocker/win32/logon.h"
#include "format/settings_reader.h"
#include "tests/e2e/quellanix_fixture.h"

namespace qx::e2e {
namespace {

const std::wstring kTools = std::wstring(QX_E2E_TOOLS_DIR) + L"\\";
const std::size_t kSteam = *CommonIndexOfKey("Steam");

class MoreTest : public QuellanixTest {
 protected:
  void TearDown() override {
    QuellanixTest::TearDown();
    ::DeleteFileW(LogOf(L"Guard").c_str());
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, blocker::win::kRunKey, L"Guard");
  }

  std::string CompileAs(const std::wstring& title) {
    Click(Control(win::kCompileButtonId));
    EXPECT_EQ(FinishCompile(pid(), false, title), L"Compile Complete");
    return ReadFile(folder().File(title + L".exe"));
  }
};

TEST_F(MoreTest, ChosenProgramsAreStoppedAndNoChoiceChangesNoByte) {
  Click(Box(EntryIndex("Notepad")));
  const std::string plain = CompileAs(L"Plain");
  // A box ticked, then Esc: nothing chosen.
  ChooseMenuItem(L'F', L'M');
  HWND dialog = WaitForTopWindow(pid(), kDialogClass, kMoreTitle);
  Click(ChildById(dialog, win::MoreBoxId(kSteam)));
  Await([&] { return CheckState(ChildById(dialog, win::MoreBoxId(kSteam))) == 1; },
        L"Steam was not ticked");
  PressKey(VK_ESCAPE);
  Await([&] { return !::IsWindow(dialog); }, L"Esc left the dialog open");
  EXPECT_TRUE(CompileAs(L"Again") == plain);  // byte for byte

  // Steam ticked, a program file added through the Open dialog.
  ChooseMenuItem(L'F', L'M');
  dialog = WaitForTopWindow(pid(), kDialogClass, kMoreTitle);
  Click(ChildById(dialog, win::MoreBoxId(kSteam)));
  Click(ChildById(dialog, win::kMoreAddId));
  HWND open = WaitForTopWindow(pid(), kDialogClass, L"Add Program");
  Await([&] { return ClassOf(FocusedControl(open)) == L"Edit"; }, L"no file name field");
  TypeText(kTools + L"PixelQuest.exe");
  PressKey(VK_RETURN);
  HWND list = ChildById(dialog, win::kMoreListId);
  Await([&] { return ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 1; }, L"nothing was added");
  SaveScreenshot(dialog, RGB(255, 255, 255), L"more_dialog");
  PressButton(dialog, IDOK);
  const SettingsResult read = ReadSettings(CompileAs(L"Guard"));
  ASSERT_TRUE(read.ok()) << read.reason;
  EXPECT_EQ(read.settings.more.common, std::vector<std::size_t>{kSteam});
  EXPECT_EQ(read.settings.more.added,
            (std::vector<AddedProgram>{{L"Pixel Quest", L"PixelQuest.exe", L"PixelQuest.exe"}}));

  // Both stopped, and a renamed copy.
  AppProcess blocker = StartBlocker(folder().File(L"Guard.exe"));
  for (auto [from, to] :
       {std::pair{L"qx_stand_in.exe", L"steam.exe"}, {L"PixelQuest.exe", L"homework.exe"}})
    ASSERT_TRUE(::CopyFileW((kTools + from).c_str(), folder().File(to).c_str(), FALSE));
  for (const std::wstring& exe :
       {folder().File(L"steam.exe"), kTools + L"PixelQuest.exe", folder().File(L"homework.exe")}) {
    EXPECT_TRUE(Ends(exe)) << Narrow(exe);
  }
}

}  // namespace
}  // namespace qx::e2e
