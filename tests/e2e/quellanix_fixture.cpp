#include "tests/e2e/quellanix_fixture.h"

#include <algorithm>
#include <string>

#include "app/win32/control_ids.h"
#include "tests/e2e/driver/driver_error.h"
#include "tests/e2e/driver/input.h"
#include "tests/e2e/driver/wait.h"
#include "tests/e2e/driver/windows.h"

namespace qx::e2e {
namespace {

constexpr wchar_t kExeName[] = L"Quellanix.exe";
// Starting a program under Wine is quick once the wine server runs; the first
// start of a run may take longer.
constexpr auto kStartTimeout = 20s;
// Longer than any gap between two boxes of one flow.
constexpr auto kFlowSettle = 250ms;

std::wstring StatesText(const std::array<int, kEntryCount>& states) {
  std::wstring text;
  for (std::size_t i = 0; i < kEntryCount; ++i) {
    if (i && kCatalogue[i].group != kCatalogue[i - 1].group) text += L' ';
    text += static_cast<wchar_t>(L'0' + states[i]);
  }
  return text;
}

}  // namespace

void QuellanixTest::SetUp() {
  folder_.emplace(AppFolder::CopyOf(DistDir()));
  PrepareFolder(*folder_);
  app_.emplace(AppProcess::Start(folder_->File(kExeName)));
  main_ = WaitForTopWindow(app_->pid(), win::kMainWindowClass, L"", kStartTimeout);
}

void QuellanixTest::TearDown() {
  app_.reset();
  folder_.reset();
}

HWND QuellanixTest::Box(std::size_t catalogue_index) const {
  return ChildById(main_, win::BoxId(catalogue_index));
}

HWND QuellanixTest::Header(Group group) const {
  for (std::size_t i = 0; i < kGroupCount; ++i) {
    if (kGroupHeaders[i].group == group) return ChildById(main_, win::HeaderId(i));
  }
  throw DriverError(L"no header for that group");
}

HWND QuellanixTest::PasswordButton() const { return ChildById(main_, win::kPasswordButtonId); }
HWND QuellanixTest::CompileButton() const { return ChildById(main_, win::kCompileButtonId); }

std::array<int, kEntryCount> QuellanixTest::BoxStates() const {
  std::array<int, kEntryCount> states{};
  for (std::size_t i = 0; i < kEntryCount; ++i) states[i] = CheckState(Box(i));
  return states;
}

::testing::AssertionResult QuellanixTest::WaitForBoxStates(
    const std::array<int, kEntryCount>& expected) const {
  std::array<int, kEntryCount> seen{};
  if (WaitUntil([&] { return (seen = BoxStates()) == expected; })) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "boxes in catalogue order, groups apart:\n  expected " << Narrow(StatesText(expected))
         << "\n  shown    " << Narrow(StatesText(seen));
}

void QuellanixTest::ChooseMenuItem(wchar_t menu_key, wchar_t item_key) {
  BringToFront(main_);
  // F10 opens the menu bar as Alt does, with no modifier to hold.
  PressKey(VK_F10);
  PressKey(static_cast<WORD>(menu_key));
  // The item key must reach the open menu, not the window.
  WaitForTopWindow(pid(), L"#32768", L"");
  PressKey(static_cast<WORD>(item_key));
}

std::vector<HWND> QuellanixTest::OtherWindows() const {
  std::vector<HWND> others = TopWindows(pid());
  // Menus come and go as popups (#32768); a window closing as it is listed
  // has no class any more.
  std::erase_if(others, [&](HWND w) {
    const std::wstring cls = ClassOf(w);
    return w == main_ || cls.empty() || cls == L"#32768";
  });
  return others;
}

HWND QuellanixTest::WaitForOtherWindow() const {
  std::vector<HWND> others;
  if (!WaitUntil([&] { return !(others = OtherWindows()).empty(); })) {
    throw DriverError(L"no window opened");
  }
  return others.front();
}

void QuellanixTest::DismissOtherWindows() {
  constexpr int kPreference[] = {IDCANCEL, IDNO, IDOK};
  for (int round = 0; round < 20; ++round) {
    // A flow may show its next box right after the last one closes; while it
    // runs the main window stays disabled. Done once the main window has been
    // usable, and the only one, for a moment.
    std::vector<HWND> others;
    const auto box_or_enabled = [&] {
      others = OtherWindows();
      return !others.empty() || ::IsWindowEnabled(main_);
    };
    const auto box_or_disabled = [&] {
      others = OtherWindows();
      return !others.empty() || !::IsWindowEnabled(main_);
    };
    if (!WaitUntil(box_or_enabled)) throw DriverError(L"the main window stays disabled");
    if (others.empty() && !WaitUntil(box_or_disabled, kFlowSettle)) return;
    if (others.empty()) continue;

    HWND top = others.front();
    HWND button = nullptr;
    for (int id : kPreference) {
      if ((button = ::GetDlgItem(top, id)) != nullptr && ::IsWindowVisible(button)) break;
      button = nullptr;
    }
    if (!button) throw DriverError(L"a window with no Cancel, No or OK button stays open");
    Click(button);
    WaitUntil([&] { return !::IsWindow(top) || !::IsWindowVisible(top); });
  }
  throw DriverError(L"windows keep opening");
}

}  // namespace qx::e2e
