// The main window as a person meets it: its controls in place, a header click,
// the keyboard walk, and the menu commands that reach the shell.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "app/win32/control_ids.h"
#include "app/win32/main_layout.h"
#include "catalogue/catalogue.h"
#include "tests/e2e/quellanix_fixture.h"
#include "ui/layout.h"

namespace qx::e2e {
namespace {

constexpr int kDpi = 96;  // Wine's default

using MainWindowTest = QuellanixTest;

// The first descendant of `parent` of class `window_class`.
HWND Descendant(HWND parent, const wchar_t* window_class) {
  for (HWND child : Children(parent)) {
    if (ClassOf(child) == window_class) return child;
    if (HWND found = Descendant(child, window_class)) return found;
  }
  return nullptr;
}

void ExpectInPlace(HWND control, std::wstring_view caption, const win::TwipsRect& place) {
  EXPECT_EQ(Text(control), caption);
  const RECT want = win::ToPixels(place, kDpi);
  RECT got{};
  ::GetWindowRect(control, &got);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&got), 2);
  EXPECT_TRUE(::EqualRect(&want, &got))
      << got.left << "," << got.top << " to " << got.right << "," << got.bottom;
  EXPECT_TRUE(::IsWindowVisible(control));
}

TEST_F(MainWindowTest, ShowsItsCaptionAndEveryControlInPlace) {
  EXPECT_EQ(Text(main()), win::kMainCaption);
  RECT client{};
  ::GetClientRect(main(), &client);
  EXPECT_EQ(client.right, win::TwipsToPixels(win::kClientWidthTwips, kDpi));
  EXPECT_EQ(client.bottom, win::TwipsToPixels(win::kClientHeightTwips, kDpi));
  EXPECT_EQ(Children(main()).size(), kEntryCount + kGroupCount + win::FixedControls().size());
  for (std::size_t i = 0; i < kEntryCount; ++i) {
    SCOPED_TRACE(kCatalogue[i].control);
    EXPECT_EQ(win::kBoxPlaces[i].control, kCatalogue[i].control);  // the row is the entry's
    ExpectInPlace(Box(i), kCatalogue[i].caption, win::kBoxPlaces[i].rect);
    EXPECT_EQ(::GetWindowLongW(Box(i), GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
  }
  for (std::size_t h = 0; h < kGroupCount; ++h) {
    SCOPED_TRACE(kGroupHeaders[h].control);
    EXPECT_EQ(win::kHeaderPlaces[h].control, kGroupHeaders[h].control);
    // Its clicks are tested below.
    ExpectInPlace(Control(win::HeaderId(h)), kGroupHeaders[h].caption, win::kHeaderPlaces[h].rect);
  }
  for (const win::FixedControl& c : win::FixedControls()) {
    SCOPED_TRACE(c.name);
    ExpectInPlace(Control(c.id), c.id == win::kInstructionsId ? win::InstructionText() : c.text,
                  c.rect);
  }
  SaveScreenshot(main(), RGB(255, 255, 255), L"main_window");
}

// Remote Desktop Client sits in the Games column but belongs to no group.
TEST_F(MainWindowTest, AHeaderClickTicksItsGroupAndTheNextClearsIt) {
  BoxStates games{};
  for (std::size_t i = 0; i < kEntryCount; ++i) games[i] = kCatalogue[i].group == Group::Games;
  Click(Header(Group::Games));
  ASSERT_TRUE(WaitForBoxStates(games));
  Click(Header(Group::Games));
  EXPECT_TRUE(WaitForBoxStates({}));
}

TEST_F(MainWindowTest, TabWalksTheBoxesInTabOrderAndSpaceTicksOne) {
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
  std::vector<std::size_t> order(kEntryCount);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::ranges::sort(order, {}, [](std::size_t i) { return win::kBoxPlaces[i].tab_order; });
  std::ranges::rotate(order, std::ranges::find(order, walked.front()));
  order.push_back(walked.front());
  EXPECT_EQ(walked, order);

  BoxStates one{};
  one[walked.back()] = 1;
  PressKey(VK_SPACE);
  EXPECT_TRUE(WaitForBoxStates(one));
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
