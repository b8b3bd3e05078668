#pragma once
// The fixture of the end-to-end tests: a fresh copy of the program in its own
// temporary application folder for each test, its main window found, and the
// copy ended after the test.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "app/win32/control_ids.h"
#include "catalogue/catalogue.h"
#include "tests/e2e/driver/driver.h"

namespace qx::e2e {

// BM_GETCHECK of every box, in catalogue order.
using BoxStates = std::array<int, kEntryCount>;

// The catalogue index of the entry with this bag key; throws when there is none.
std::size_t EntryIndex(std::string_view bag_key);

// The next box of `pid`: its text, once closed with `button`.
std::wstring Answer(DWORD pid, int button, std::chrono::milliseconds timeout = kDefaultTimeout);

// Answers a compile just started: No to the blank-password question unless a
// password is set, then `title` typed or the title offered taken; the text of
// the box that ends it.
std::wstring FinishCompile(DWORD pid, bool password_set, std::wstring_view title = {});

// The activity log of the blocker titled `title`.
std::wstring LogOf(const std::wstring& title);
// A running blocker's control window; nullptr when none runs.
HWND ControlWindow();
// Starts the blocker at `path` and waits until it listens.
AppProcess StartBlocker(const std::wstring& path);
// Starts a program a blocker should stop: whether it ends within 5 s.
bool Ends(const std::wstring& exe, std::wstring_view arguments = {}, DWORD flags = 0);

class QuellanixTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  const AppFolder& folder() const { return *folder_; }
  AppProcess& app() { return *app_; }
  DWORD pid() const { return app_->pid(); }
  HWND main() const { return main_; }
  HWND Control(int id) const { return ChildById(main_, id); }
  HWND Box(std::size_t catalogue_index) const { return Control(win::BoxId(catalogue_index)); }
  HWND Header(Group group) const;

  BoxStates ReadBoxStates() const;
  // Gives `input` until the boxes show `expected` (see GiveInput); a click on
  // `control`, a box or a group header.
  void GiveForStates(const std::function<void()>& input, const BoxStates& expected,
                     std::wstring_view what);
  void ClickForStates(HWND control, const BoxStates& expected) {
    GiveForStates([&] { Click(control); }, expected, L"a click on " + Text(control));
  }
  // Clicks `control` and waits for the box it opens.
  HWND ClickForBox(HWND control);

  // F10 and the menu's access key, then the item's, to the main window.
  void ChooseMenuItem(wchar_t menu_key, wchar_t item_key);

 private:
  std::optional<AppFolder> folder_;
  std::optional<AppProcess> app_;
  HWND main_ = nullptr;
};

}  // namespace qx::e2e
