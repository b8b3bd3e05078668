// The main window as a person meets it: its controls in place, a header click,
// the keyboard walk, and the menu commands that reach the shell.
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

// The first descendant of `parent` of class `window_class`.
HWND Descendant(HWND parent, const wchar_t* window_class) {
  for (HWND child : Children(parent)) {
    if (ClassOf(child) == window_class) return child;
    if (HWND found = Descendant(child, window_class)) return found;
  }
  return nullptr;
}

// Every control shown, inside the client area and clear of every other.
TEST_F(MainWindowTest, ShowsEveryControlClearOfTheOthers) {
  RECT client{};
  ::GetClientRect(main(), &client);
  std::vector<RECT> placed;
  for (HWND control : Children(main())) {
    SCOPED_TRACE(Narrow(Text(control)));
    RECT r{}, overlap{};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, main(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_TRUE(::IntersectRect(&overlap, &r, &client) && ::EqualRect(&overlap, &r));
    for (const RECT& other : placed) EXPECT_FALSE(::IntersectRect(&overlap, &r, &other));
    placed.push_back(r);
    EXPECT_TRUE(::IsWindowVisible(control));
  }
  SaveScreenshot(main(), RGB(255, 255, 255), L"main_window");
}

// At 150 %, read from the prefix as the program starts (then set back): the
// same layout half as large again.
TEST_F(MainWindowTest, AStartAtAHigherDpiScalesTheWholeLayout) {
  const auto set_dpi = [](DWORD dpi) {
    return ::RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD,
                             &dpi, sizeof dpi);
  };
  ASSERT_EQ(set_dpi(144), ERROR_SUCCESS);
  AppProcess high = AppProcess::Start(folder().File(L"Quellanix.exe"));
  HWND window = nullptr;
  WaitUntil(
      [&] { return (window = FindTopWindow(high.pid(), win::kMainWindowClass, L"")) != nullptr; });
  ASSERT_TRUE(set_dpi(USER_DEFAULT_SCREEN_DPI) == ERROR_SUCCESS && window);  // the prefix's own
  RECT client{};
  ::GetClientRect(window, &client);
  EXPECT_EQ(std::pair(client.right, client.bottom), std::pair(978L, 807L));  // 652 x 538 at 96
  SaveScreenshot(window, RGB(255, 255, 255), L"main_window_144");
}

// Remote Desktop Client sits in the Games column but belongs to no group.
TEST_F(MainWindowTest, AHeaderClickTicksItsGroupAndTheNextClearsIt) {
  BoxStates games{};
  for (std::size_t i = 0; i < kEntryCount; ++i) games[i] = kCatalogue[i].group == Group::Games;
  ClickForStates(Header(Group::Games), games);
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

TEST_F(MainWindowTest, HelpIndexOpensTheHelpWithItsContentsAndOpenFolderShowsTheFolder) {
  const std::vector<HWND> before = TopWindows(0);
  ChooseMenuItem(L'H', L'H');
  HWND help = WaitForTopWindow(0, L"", L"Quellanix Help", 20s);
  HWND contents = nullptr;
  Await([&] { return (contents = Descendant(help, L"SysTreeView32")) != nullptr; },
        L"the help shows no contents");
  EXPECT_EQ(::SendMessageW(contents, 0x1105 /* TVM_GETCOUNT */, 0, 0), 15);  // one per page
  // Contents, Index and Search.
  EXPECT_EQ(
      ::SendMessageW(Descendant(help, L"SysTabControl32"), 0x1304 /* TCM_GETITEMCOUNT */, 0, 0), 3);
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
