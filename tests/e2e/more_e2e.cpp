// The More Applications dialog through the real window: left without a choice
// it changes no byte of a compile; a common program and a program file added
// through the Open dialog are stopped by the blocker, a renamed copy too.
#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <commctrl.h>  // these need windows.h first
#include <shlobj.h>
// clang-format on

#include <string>

#include "app/more_list.h"
#include "app/win32/control_ids.h"
#include "blocker/win32/instance.h"
#include "blocker/win32/logon.h"
#include "format/settings_reader.h"
#include "tests/e2e/quellanix_fixture.h"

namespace qx::e2e {
namespace {

const std::wstring kTools = std::wstring(QX_E2E_TOOLS_DIR) + L"\\";
const std::size_t kSteam = *CommonIndexOfKey("Steam");

std::wstring LogOf(const std::wstring& title) {
  wchar_t folder[MAX_PATH];
  ::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, folder);
  return std::wstring(folder) + L"\\Quellanix\\" + title + L".log";
}

class MoreTest : public QuellanixTest {
 protected:
  void TearDown() override {
    QuellanixTest::TearDown();
    ::DeleteFileW(LogOf(L"Guard").c_str());
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, blocker::win::kRunKey, L"Guard");
  }

  HWND OpenMore() {
    ChooseMenuItem(L'F', L'M');
    return WaitForTopWindow(pid(), kDialogClass, kMoreTitle);
  }

  std::string CompileAs(const std::wstring& title) {
    Click(Control(win::kCompileButtonId));
    EXPECT_EQ(FinishCompile(pid(), false, title), L"Compile Complete");
    return ReadFile(folder().File(title + L".exe"));
  }

  // Whether the program started ends within 5 s (or before its start returns).
  static bool Ends(const std::wstring& exe) {
    try {
      return AppProcess::Start(exe).WaitForExit(5s);
    } catch (const DriverError&) {
      return true;
    }
  }
};

TEST_F(MoreTest, ChosenProgramsAreStoppedAndNoChoiceChangesNoByte) {
  Click(Box(EntryIndex("Notepad")));
  const std::string plain = CompileAs(L"Plain");
  // A box ticked, then Esc; opened again and left with Enter: nothing chosen.
  HWND dialog = OpenMore();
  Click(ChildById(dialog, win::MoreBoxId(kSteam)));
  Await([&] { return CheckState(ChildById(dialog, win::MoreBoxId(kSteam))) == 1; },
        L"Steam was not ticked");
  PressKey(VK_ESCAPE);
  Await([&] { return !::IsWindow(dialog); }, L"Esc left the dialog open");
  dialog = OpenMore();
  EXPECT_EQ(CheckState(ChildById(dialog, win::MoreBoxId(kSteam))), 0);
  EXPECT_EQ(FocusedControl(dialog), ChildById(dialog, win::MoreBoxId(0)));
  PressKey(VK_RETURN);
  Await([&] { return !::IsWindow(dialog); }, L"Enter left the dialog open");
  EXPECT_TRUE(CompileAs(L"Again") == plain);  // byte for byte

  // Steam ticked, a program file added through the Open dialog, Explorer refused.
  dialog = OpenMore();
  Click(ChildById(dialog, win::MoreBoxId(kSteam)));
  Click(ChildById(dialog, win::kMoreAddId));
  HWND open = WaitForTopWindow(pid(), kDialogClass, L"Add Program");
  Await([&] { return ClassOf(FocusedControl(open)) == L"Edit"; }, L"no file name field");
  TypeText(kTools + L"PixelQuest.exe");
  PressKey(VK_RETURN);
  HWND list = ChildById(dialog, win::kMoreListId);
  Await([&] { return ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 1; }, L"nothing was added");
  SaveScreenshot(dialog, RGB(255, 255, 255), L"more_dialog");
  PressKey(L'N', VK_MENU);  // Add by &Name...
  AnswerInputBox(WaitForTopWindow(pid(), kDialogClass, L"Add by Name"), L"Explorer.EXE");
  // The message box over the dialog, which bears the same title.
  HWND refusal = nullptr;
  Await(
      [&] {
        return (refusal = ::GetLastActivePopup(dialog)) != dialog && Text(refusal) == kMoreTitle;
      },
      L"no refusal");
  EXPECT_NE(ReadBox(refusal).text.find(L"is part of Windows"), std::wstring::npos);
  SaveScreenshot(refusal, ::GetSysColor(COLOR_BTNFACE), L"more_refusal");
  PressButton(refusal, IDOK);
  PressButton(dialog, IDOK);
  const SettingsResult read = ReadSettings(CompileAs(L"Guard"));
  ASSERT_TRUE(read.ok()) << read.reason;
  EXPECT_EQ(read.settings.more.common, std::vector<std::size_t>{kSteam});
  EXPECT_EQ(read.settings.more.added,
            (std::vector<AddedProgram>{{L"Pixel Quest", L"PixelQuest.exe", L"PixelQuest.exe"}}));

  // Both stopped, and a renamed copy; a program not chosen runs on.
  AppProcess unlisted = AppProcess::Start(kTools + L"qx_stand_in.exe");
  WaitForTopWindow(unlisted.pid(), L"", L"", 20s);
  AppProcess blocker = AppProcess::Start(folder().File(L"Guard.exe"));
  Await(
      [] {
        return ::FindWindowExW(HWND_MESSAGE, nullptr, blocker::win::kControlWindowClass, nullptr) !=
               nullptr;
      },
      L"the blocker did not start", 20s);
  ASSERT_TRUE(::CopyFileW((kTools + L"qx_stand_in.exe").c_str(),
                          folder().File(L"steam.exe").c_str(), FALSE));
  ASSERT_TRUE(::CopyFileW((kTools + L"PixelQuest.exe").c_str(),
                          folder().File(L"homework.exe").c_str(), FALSE));
  for (const std::wstring& exe :
       {folder().File(L"steam.exe"), kTools + L"PixelQuest.exe", folder().File(L"homework.exe")}) {
    EXPECT_TRUE(Ends(exe)) << Narrow(exe);
  }
  EXPECT_FALSE(unlisted.WaitForExit(0ms));
  // Each stop is logged right after it, by the blocker's own time.
  const std::string copy = "  Pixel Quest  " + Narrow(folder().File(L"homework.exe"));
  EXPECT_TRUE(WaitUntil([&] {
    const std::string log = ReadFile(LogOf(L"Guard"));
    return log.find("  Steam  ") != std::string::npos && log.find(copy) != std::string::npos;
  })) << ReadFile(LogOf(L"Guard"));
}

}  // namespace
}  // namespace qx::e2e
