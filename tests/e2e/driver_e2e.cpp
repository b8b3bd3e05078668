// The driver itself, against a program Wine ships (notepad): when these fail,
// the bench is broken, not Quellanix.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <optional>

#include "tests/e2e/driver/app_process.h"
#include "tests/e2e/driver/dialogs.h"
#include "tests/e2e/driver/driver_error.h"
#include "tests/e2e/driver/input.h"
#include "tests/e2e/driver/windows.h"

namespace qx::e2e {
namespace {

std::wstring SystemNotepad() {
  std::array<wchar_t, MAX_PATH> dir{};
  ::GetSystemDirectoryW(dir.data(), static_cast<UINT>(std::size(dir)));
  return std::wstring(dir.data()) + L"\\notepad.exe";
}

class DriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_.emplace(AppProcess::Start(SystemNotepad()));
    main_ = WaitForTopWindow(app_->pid(), L"Notepad", L"", 20s);
    edit_ = ChildByText(main_, L"Edit", L"");
    ASSERT_NE(edit_, nullptr);
  }

  std::optional<AppProcess> app_;
  HWND main_ = nullptr;
  HWND edit_ = nullptr;
};

TEST_F(DriverTest, TypesIntoTheFocusedFieldAndReadsItBack) {
  Click(edit_);
  ASSERT_TRUE(WaitUntil([&] { return FocusedControl(main_) == edit_; }));
  TypeText(L"Grüße, 42 & more");
  EXPECT_TRUE(WaitUntil([&] { return Text(edit_) == L"Grüße, 42 & more"; })) << Narrow(Text(edit_));
  Chord({VK_SHIFT, VK_HOME});
  PressKey(VK_DELETE);
  EXPECT_TRUE(WaitUntil([&] { return Text(edit_).empty(); }));
}

TEST_F(DriverTest, OpensAMenuByItsAccessKeyAndClosesItWithEscape) {
  BringToFront(main_);
  Chord({VK_MENU, 'F'});
  HWND popup = WaitForTopWindow(app_->pid(), L"#32768", L"");
  PressKey(VK_ESCAPE);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(popup); }));
}

TEST_F(DriverTest, ReadsAndAnswersAMessageBox) {
  Click(edit_);
  TypeText(L"unsaved");
  ASSERT_TRUE(WaitUntil([&] { return Text(edit_) == L"unsaved"; }));
  BringToFront(main_);
  Chord({VK_MENU, 'F'});
  WaitForTopWindow(app_->pid(), L"#32768", L"");
  PressKey('X');  // E&xit
  HWND box = WaitForDialog(app_->pid());
  const MessageBoxInfo info = ReadMessageBox(box);
  EXPECT_EQ(info.title, L"Notepad");
  EXPECT_NE(info.text.find(L"Untitled"), std::wstring::npos) << Narrow(info.text);
  EXPECT_TRUE(info.HasButton(IDYES) && info.HasButton(IDNO) && info.HasButton(IDCANCEL));
  EXPECT_FALSE(info.HasButton(IDOK));
  EXPECT_TRUE(info.has_icon);
  PressButton(box, IDNO);
  EXPECT_TRUE(app_->WaitForExit());
}

}  // namespace
}  // namespace qx::e2e
