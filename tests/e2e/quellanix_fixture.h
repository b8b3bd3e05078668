#pragma once
// The fixture of the end-to-end tests: a fresh copy of the program in its own
// temporary application folder for each test, its main window found, and the
// copy ended after the test.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

#include "catalogue/catalogue.h"
#include "tests/e2e/driver/app_process.h"

namespace qx::e2e {

class QuellanixTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs before the program starts: add, change or remove files beside it.
  virtual void PrepareFolder(const AppFolder& folder) { (void)folder; }

  const AppFolder& folder() const { return *folder_; }
  AppProcess& app() { return *app_; }
  DWORD pid() const { return app_->pid(); }
  HWND main() const { return main_; }

  HWND Box(std::size_t catalogue_index) const;
  HWND Header(Group group) const;
  HWND PasswordButton() const;
  HWND CompileButton() const;

  // BM_GETCHECK of every box, in catalogue order.
  std::array<int, kEntryCount> BoxStates() const;
  // Waits until the boxes show `expected`; false (and the last states in the
  // failure message) when they do not.
  ::testing::AssertionResult WaitForBoxStates(const std::array<int, kEntryCount>& expected) const;

  // F10 and the menu's access key, then the item's, to the main window.
  void ChooseMenuItem(wchar_t menu_key, wchar_t item_key);

  // Top-level windows of the program other than the main window.
  std::vector<HWND> OtherWindows() const;
  // The first window other than the main one to show; throws when none does.
  HWND WaitForOtherWindow() const;
  // Answers every open box with Cancel, No or OK (in that order of preference)
  // until only the main window is left.
  void DismissOtherWindows();

 private:
  std::optional<AppFolder> folder_;
  std::optional<AppProcess> app_;
  HWND main_ = nullptr;
};

}  // namespace qx::e2e
