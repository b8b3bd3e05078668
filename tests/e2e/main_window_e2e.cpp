// The main window as a person meets it: what it shows, what header clicks do,
// what its menus and keys reach.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "app/win32/control_ids.h"
#include "app/win32/main_layout.h"
#include "ui/image_box.h"
#include "tests/e2e/driver/dialogs.h"
#include "tests/e2e/driver/driver_error.h"
#include "tests/e2e/driver/input.h"
#include "tests/e2e/driver/screenshot.h"
#include "tests/e2e/driver/windows.h"
#include "tests/e2e/quellanix_fixture.h"

namespace qx::e2e {
namespace {

using States = std::array<int, kEntryCount>;

constexpr int kTwipsPerPixel = 15;  // at 96 DPI
constexpr std::wstring_view kInstructionStart =
    L"Thank you for choosing Brindlecor's Quellanix software. To get started tick the "
    L"applications that you wish to block and then click the compile button. For more detailed "
    L"instructions see the help file. If you would like to see more applications added to "
    L"Quellanix then email ";

std::size_t IndexOf(std::string_view control) {
  for (std::size_t i = 0; i < kEntryCount; ++i) {
    if (kCatalogue[i].control == control) return i;
  }
  throw DriverError(L"no such box in the catalogue");
}

std::string RectText(const RECT& r) {
  std::ostringstream out;
  out << '(' << r.left << ", " << r.top << ", " << r.right - r.left << " x " << r.bottom - r.top
      << ')';
  return out.str();
}

RECT Pixels(const win::TwipsRect& t) {
  return {t.left / kTwipsPerPixel, t.top / kTwipsPerPixel, (t.left + t.width) / kTwipsPerPixel,
          (t.top + t.height) / kTwipsPerPixel};
}

void ExpectControl(HWND control, std::wstring_view cls, std::wstring_view caption,
                   const RECT& rect) {
  EXPECT_EQ(ClassOf(control), cls);
  EXPECT_EQ(Text(control), caption);
  EXPECT_EQ(RectText(RectInParent(control)), RectText(rect));
  EXPECT_TRUE(::IsWindowVisible(control));
  EXPECT_TRUE(::IsWindowEnabled(control));
  EXPECT_FALSE(HasStyle(control, WS_BORDER));
  EXPECT_EQ(::GetWindowLongW(control, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE), 0);
}

// Check boxes in the order Tab walks them.
std::vector<std::size_t> TabOrderOfBoxes() {
  std::vector<std::size_t> order(kEntryCount);
  for (std::size_t i = 0; i < kEntryCount; ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [](std::size_t a, std::size_t b) {
    return win::kBoxPlaces[a].tab_order < win::kBoxPlaces[b].tab_order;
  });
  return order;
}

class MainWindowTest : public QuellanixTest {
 protected:
  void PrepareFolder(const AppFolder& f) override {
    // Help Index must find no help file, whatever the build ships.
    if (f.Exists(L"quellanix.chm")) f.Remove(L"quellanix.chm");
  }

  // Sets one group's members, as a header click does, in the expected states.
  static void SetGroup(States& states, Group group, int value) {
    for (std::size_t i = 0; i < kEntryCount; ++i) {
      if (kCatalogue[i].group == group) states[i] = value;
    }
  }

  // Presses a key (or chord) and waits until the focus has moved; the control
  // that has it then.
  HWND MoveFocus(std::initializer_list<WORD> keys) {
    HWND before = FocusedControl(main());
    Chord(keys);
    HWND after = nullptr;
    if (!WaitUntil([&] { return (after = FocusedControl(main())) != before && after; })) {
      throw DriverError(L"the focus did not move");
    }
    return after;
  }

  // Catalogue index of a check box, or -1 for any other control.
  int BoxIndexOf(HWND control) const {
    if (::GetParent(control) != main()) return -1;
    const int id = ::GetDlgCtrlID(control);
    return id >= win::kFirstBoxId && id < win::BoxId(kEntryCount) ? id - win::kFirstBoxId : -1;
  }

  // The first window the action opens, described, and then answered away.
  template <typename Action>
  std::wstring WhatOpens(Action&& action) {
    action();
    const std::wstring seen = Describe(WaitForOtherWindow());
    DismissOtherWindows();
    return seen;
  }
};

TEST_F(MainWindowTest, OpensTitledWithItsClientAreaMenuAndWhiteBackground) {
  EXPECT_EQ(Text(main()), L"Quellanix V2.1 by Brindlecor");
  const SIZE client = ClientSize(main());
  EXPECT_EQ(client.cx, 652);
  EXPECT_EQ(client.cy, 538);
  EXPECT_NE(::GetMenu(main()), nullptr);
  EXPECT_TRUE(HasStyle(main(), WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));

  SaveScreenshot(main(), L"main_window");
  // The window's own background, between the columns below the boxes.
  const Capture shot = CaptureWindow(main());
  POINT corner{client.cx - 2, client.cy - 2};
  ::ClientToScreen(main(), &corner);
  RECT frame{};
  ::GetWindowRect(main(), &frame);
  EXPECT_EQ(shot.Pixel(corner.x - frame.left, corner.y - frame.top), 0xFFFFFFu);
}

TEST_F(MainWindowTest, ShowsAll46ControlsAtTheirPlacesWithTheirCaptions) {
  EXPECT_EQ(Children(main()).size(), 46u);
  for (std::size_t i = 0; i < kEntryCount; ++i) {
    SCOPED_TRACE(std::string(kCatalogue[i].control));
    HWND box = Box(i);
    ExpectControl(box, L"Button", kCatalogue[i].caption, Pixels(win::kBoxPlaces[i].rect));
    EXPECT_EQ(::GetWindowLongW(box, GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_EQ(CheckState(box), 0);
  }
  for (std::size_t h = 0; h < kGroupCount; ++h) {
    SCOPED_TRACE(std::string(kGroupHeaders[h].control));
    HWND header = ChildById(main(), win::HeaderId(h));
    ExpectControl(header, L"Static", kGroupHeaders[h].caption, Pixels(win::kHeaderPlaces[h].rect));
    EXPECT_TRUE(HasStyle(header, SS_NOTIFY));  // clickable
  }
  HWND instructions = ChildById(main(), win::kInstructionsId);
  EXPECT_EQ(RectText(RectInParent(instructions)), RectText(Pixels({3240, 360, 6375, 1455})));
  const std::wstring text = Text(instructions);
  EXPECT_TRUE(text.starts_with(kInstructionStart)) << Narrow(text);
  EXPECT_NE(text.find(L'@', kInstructionStart.size()), std::wstring::npos) << Narrow(text);

  ExpectControl(ChildById(main(), win::kLogoId), win::kImageBoxClass, L"",
                Pixels({120, 120, 2970, 1935}));
  ExpectControl(PasswordButton(), win::kImageBoxClass, L"Password",
                Pixels({7440, 6600, 2160, 690}));
  ExpectControl(CompileButton(), win::kImageBoxClass, L"Compile", Pixels({7440, 7320, 2160, 690}));
}

// The P2P cases: the deciding box alone decides, whatever the other members show.
TEST_F(MainWindowTest, P2PHeaderFollowsItsDecidingBoxOnly) {
  const std::size_t kazaa = IndexOf("chkKazaa");
  HWND header = Header(Group::P2P);
  States expected{};

  // Only Kazaa ticked: the click clears it and leaves the other ten clear.
  Click(Box(kazaa));
  expected[kazaa] = 1;
  ASSERT_TRUE(WaitForBoxStates(expected));
  Click(header);
  expected[kazaa] = 0;
  ASSERT_TRUE(WaitForBoxStates(expected));

  // Every member but Kazaa ticked: the click ticks Kazaa and keeps the ten.
  Click(header);
  SetGroup(expected, Group::P2P, 1);
  ASSERT_TRUE(WaitForBoxStates(expected));
  Click(Box(kazaa));
  expected[kazaa] = 0;
  ASSERT_TRUE(WaitForBoxStates(expected));
  Click(header);
  expected[kazaa] = 1;
  ASSERT_TRUE(WaitForBoxStates(expected));
}

// Each header, clicked twice from clear: its group ticks, then clears; no other
// box moves, and no header ever touches Remote Desktop Client.
TEST_F(MainWindowTest, EveryHeaderTogglesOnlyItsOwnGroupAndNeverRemoteDesktop) {
  const std::size_t remote = IndexOf("chkRemoteDesktop");
  States expected{};
  Click(Box(remote));
  expected[remote] = 1;
  ASSERT_TRUE(WaitForBoxStates(expected));

  // Each group ticked and cleared in turn, with the groups before it left ticked.
  for (const GroupHeader& h : kGroupHeaders) {
    SCOPED_TRACE(std::string(h.control));
    Click(Header(h.group));
    SetGroup(expected, h.group, 1);
    ASSERT_TRUE(WaitForBoxStates(expected));
    Click(Header(h.group));
    SetGroup(expected, h.group, 0);
    ASSERT_TRUE(WaitForBoxStates(expected));
    Click(Header(h.group));
    SetGroup(expected, h.group, 1);
    ASSERT_TRUE(WaitForBoxStates(expected));
  }
  Click(Box(remote));
  expected[remote] = 0;
  EXPECT_TRUE(WaitForBoxStates(expected));
}

TEST_F(MainWindowTest, MenuItemsRunTheSameCodeAsTheImageButtons) {
  const std::wstring by_button = WhatOpens([&] { Click(PasswordButton()); });
  const std::wstring by_menu = WhatOpens([&] { ChooseMenuItem(L'F', L'P'); });
  EXPECT_EQ(Narrow(by_menu), Narrow(by_button));

  const std::wstring compile_button = WhatOpens([&] { Click(CompileButton()); });
  const std::wstring compile_menu = WhatOpens([&] { ChooseMenuItem(L'F', L'C'); });
  EXPECT_EQ(Narrow(compile_menu), Narrow(compile_button));
  EXPECT_NE(Narrow(compile_button), Narrow(by_button));
  EXPECT_TRUE(app().Running());
}

TEST_F(MainWindowTest, HelpIndexWithoutAHelpFileDoesNothingVisible) {
  const std::vector<HWND> before = TopWindows(0);
  ChooseMenuItem(L'H', L'H');
  // Input is served in order: once a later click has ticked its box, the menu
  // command before it has run to its end.
  Click(Box(0));
  ASSERT_TRUE(WaitUntil([&] { return CheckState(Box(0)) == 1; }));
  // Anything the shell might still start would show within this time.
  const auto new_window = [&] {
    for (HWND w : TopWindows(0)) {
      if (std::find(before.begin(), before.end(), w) == before.end()) return true;
    }
    return false;
  };
  EXPECT_FALSE(WaitUntil(new_window, 500ms)) << Narrow(Describe(TopWindows(0).front()));
  EXPECT_TRUE(app().Running());
}

TEST_F(MainWindowTest, OpenApplicationFolderShowsTheFolderInTheFileExplorer) {
  // The folder's name holds spaces: it still reaches the explorer as one path.
  const std::wstring& path = folder().path();
  const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
  ASSERT_NE(name.find(L' '), std::wstring::npos) << Narrow(path);
  ChooseMenuItem(L'F', L'O');
  HWND explorer = WaitForTopWindow(0, L"", name, 20s);
  EXPECT_NE(explorer, main());
  ::PostMessageW(explorer, WM_CLOSE, 0, 0);
  EXPECT_TRUE(app().Running());
}

TEST_F(MainWindowTest, ExitEndsTheProgram) {
  ChooseMenuItem(L'F', L'X');
  EXPECT_TRUE(app().WaitForExit());
}

TEST_F(MainWindowTest, TabAndShiftTabWalkTheBoxesInTabOrder) {
  BringToFront(main());
  const std::vector<std::size_t> expected = TabOrderOfBoxes();
  std::set<HWND> headers;
  for (std::size_t h = 0; h < kGroupCount; ++h) headers.insert(ChildById(main(), win::HeaderId(h)));

  // Forward: the boxes as Tab reaches them, other stops (image buttons) skipped.
  std::vector<std::size_t> forward;
  for (int press = 0; forward.size() < kEntryCount + 1 && press < 3 * int{kEntryCount}; ++press) {
    HWND focus = MoveFocus({VK_TAB});
    ASSERT_EQ(headers.count(focus), 0u) << "a header took the focus";
    if (const int i = BoxIndexOf(focus); i >= 0) forward.push_back(static_cast<std::size_t>(i));
  }
  ASSERT_EQ(forward.size(), kEntryCount + 1);
  EXPECT_EQ(forward.front(), forward.back()) << "the walk does not come round";
  const auto start = std::find(expected.begin(), expected.end(), forward.front());
  ASSERT_NE(start, expected.end());
  std::vector<std::size_t> rotated(start, expected.end());
  rotated.insert(rotated.end(), expected.begin(), start);
  forward.pop_back();
  EXPECT_EQ(forward, rotated);

  // Backward from where the forward walk ended.
  std::vector<std::size_t> backward;
  for (int press = 0; backward.size() < kEntryCount && press < 3 * int{kEntryCount}; ++press) {
    if (const int i = BoxIndexOf(MoveFocus({VK_SHIFT, VK_TAB})); i >= 0) {
      backward.push_back(static_cast<std::size_t>(i));
    }
  }
  std::vector<std::size_t> reversed(rotated.rbegin(), rotated.rend());
  EXPECT_EQ(backward, reversed);
}

TEST_F(MainWindowTest, SpaceTogglesTheFocusedBox) {
  BringToFront(main());
  HWND focus = nullptr;
  for (int press = 0; press < 5 && BoxIndexOf(focus = FocusedControl(main())) < 0; ++press) {
    MoveFocus({VK_TAB});
  }
  const int index = BoxIndexOf(focus);
  ASSERT_GE(index, 0) << "Tab does not reach a check box";
  States expected{};
  PressKey(VK_SPACE);
  expected[static_cast<std::size_t>(index)] = 1;
  ASSERT_TRUE(WaitForBoxStates(expected));
  PressKey(VK_SPACE);
  expected[static_cast<std::size_t>(index)] = 0;
  EXPECT_TRUE(WaitForBoxStates(expected));
}

TEST_F(MainWindowTest, AltFAndAltHOpenTheMenusAndEscapeClosesThem) {
  for (WORD menu : {WORD{'F'}, WORD{'H'}}) {
    BringToFront(main());
    Chord({VK_MENU, menu});
    HWND popup = WaitForTopWindow(pid(), L"#32768", L"");
    PressKey(VK_ESCAPE);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(popup); }));
  }
  EXPECT_TRUE(OtherWindows().empty());
}

}  // namespace
}  // namespace qx::e2e
