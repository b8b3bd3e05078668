// The main window as a person meets it: a header click, the keyboard walk,
// and the menu commands that reach the shell.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "app/win32/control_ids.h"
#include "catalogue/catalogue.h"
#include "tests/e2e/quellanix_fixture.h"

namespace qx::e2e {
namespace {

using MainWindowTest = QuellanixTest;

// Remote Desktop Client sits in the Games column but belongs to no group.
TEST_F(MainWindowTest, AHeaderClickTicksItsGroupAndTheNextClearsIt) {
  BoxStates games{};
  for (std::size_t i = 0; i < kEntryCount; ++i) games[i] = kCatalogue[i].group == Group::Games;
  ClickForStates(Header(Group::Games), games);
  SaveScreenshot(main(), RGB(255, 255, 255), L"main_window");
  ClickForStates(Header(Group::Games), {});
}

TEST_F(MainWindowTest, TabWalksRoundEveryBoxOnceAndSpaceTicksOne) {
  BringToFront(main());
  // The boxes as Tab reaches them once round; other stops (the image buttons)
  // are passed over, headers must not be among them.
  std::vector<std::size_t> walked;
  for (int press = 0; walked.size() <= kEntryCount && press < 3 * int{kEntryCount}; ++press) {
    HWND before = FocusedControl(main()), focus = nullptr;
    PressKey(VK_TAB);
    ASSERT_TRUE(WaitUntil([&] { return (focus = FocusedControl(main())) != before && focus; }));
    const int id = ::GetDlgCtrlID(focus);
    ASSERT_FALSE(id >= win::kFirstHeaderId && id < win::HeaderId(kGroupCount)) << "a header";
    if (id >= win::kFirstBoxId && id < win::BoxId(kEntryCount))
      walked.push_back(id - win::kFirstBoxId);
  }
  ASSERT_EQ(walked.size(), kEntryCount + 1);
  EXPECT_EQ(walked.front(), walked.back()) << "the walk does not come round";
  EXPECT_EQ(std::set(walked.begin() + 1, walked.end()).size(), kEntryCount) << "a box missed";

  BoxStates one{};
  one[walked.back()] = 1;
  GiveForStates([] { PressKey(VK_SPACE); }, one, L"Space");
}

TEST_F(MainWindowTest, HelpIndexOpensTheHelpAndOpenFolderShowsTheFolder) {
  const std::vector<HWND> before = TopWindows(0);
  ChooseMenuItem(L'H', L'H');
  HWND help = WaitForTopWindow(0, L"", L"Quellanix Help", 20s);
  ::PostMessageW(help, WM_CLOSE, 0, 0);
  Await([&] { return !::IsWindow(help); }, L"the help stays open");
  // The folder's name holds spaces: it still reaches the explorer as one path.
  ChooseMenuItem(L'F', L'O');
  const std::wstring& path = folder().path();
  HWND explorer = WaitForTopWindow(0, L"", path.substr(path.find_last_of(L'\\') + 1), 20s);
  for (HWND w : TopWindows(0)) {
    const bool old = std::find(before.begin(), before.end(), w) != before.end();
    EXPECT_TRUE(old || w == explorer) << "new window: " << Narrow(Text(w));
  }
  ::PostMessageW(explorer, WM_CLOSE, 0, 0);
}

}  // namespace
}  // namespace qx::e2e
