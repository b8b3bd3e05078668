// Set Password through the real input box and message boxes, by the image
// button and by the File menu.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/driver/dialogs.h"
#include "tests/e2e/driver/driver_error.h"
#include "tests/e2e/driver/input.h"
#include "tests/e2e/driver/wait.h"
#include "tests/e2e/driver/windows.h"
#include "tests/e2e/quellanix_fixture.h"
#include "tests/support/password_texts.h"

namespace qx::e2e {
namespace {

constexpr const wchar_t* kPrompt = test::kPasswordPrompt;
constexpr const wchar_t* kSet = test::kPasswordSet;
constexpr const wchar_t* kNone = test::kNoPassword;
using test::ChangeText;

// Wine keeps the icon static of a message box visible even when the style asks
// for no icon; only an icon actually set on it counts.
bool ShowsIcon(HWND box) {
  constexpr int kMessageIconId = 1088;
  HWND icon = ::GetDlgItem(box, kMessageIconId);
  return icon && ::IsWindowVisible(icon) && ::SendMessageW(icon, STM_GETICON, 0, 0) != 0;
}

enum class Path { kImageButton, kMenuItem };

class PasswordTest : public QuellanixTest {
 protected:
  // Starts Set Password and returns its input box, checked to be the request.
  HWND OpenRequest(Path path) {
    if (path == Path::kImageButton) {
      Click(PasswordButton());
    } else {
      ChooseMenuItem(L'F', L'P');
    }
    HWND box = WaitForDialog(pid());
    const InputBoxInfo info = ReadInputBox(box);
    EXPECT_EQ(info.title, L"Password Request");
    EXPECT_EQ(info.prompt, kPrompt);
    EXPECT_EQ(info.field, L"");
    last_described_ = Describe(box);
    return box;
  }

  // The message box that follows, with its title, text and buttons.
  HWND NextBox(MessageBoxInfo& info) {
    HWND box = WaitForDialog(pid());
    info = ReadMessageBox(box);
    info.has_icon = ShowsIcon(box);
    last_described_ = Describe(box);
    return box;
  }

  void ExpectSetReport() {
    MessageBoxInfo info;
    HWND box = NextBox(info);
    EXPECT_EQ(info.title, L"Password Set");
    EXPECT_EQ(info.text, kSet);
    EXPECT_TRUE(info.HasButton(IDOK) && !info.HasButton(IDYES) && !info.HasButton(IDNO));
    EXPECT_FALSE(info.has_icon);
    PressButton(box, IDOK);
  }

  void ExpectNoPasswordReport() {
    MessageBoxInfo info;
    HWND box = NextBox(info);
    EXPECT_EQ(info.title, L"No Password");
    EXPECT_EQ(info.text, kNone);
    EXPECT_TRUE(info.HasButton(IDOK) && !info.HasButton(IDYES));
    EXPECT_TRUE(info.has_icon);
    PressButton(box, IDOK);
  }

  // The confirmation box, answered with `answer`.
  void ExpectConfirmation(const std::wstring& from, const std::wstring& to, int answer) {
    MessageBoxInfo info;
    HWND box = NextBox(info);
    EXPECT_EQ(info.title, L"Password Change");
    EXPECT_EQ(info.text, ChangeText(from, to));
    EXPECT_TRUE(info.HasButton(IDYES) && info.HasButton(IDNO) && !info.HasButton(IDOK));
    EXPECT_FALSE(info.has_icon);
    PressButton(box, answer);
  }

  // Nothing else opens: the flow has ended.
  void ExpectFlowEnded() {
    std::vector<HWND> others;
    WaitUntil([&] { return !(others = OtherWindows()).empty(); }, 500ms);
    EXPECT_TRUE(others.empty()) << Narrow(Describe(others.front()));
  }

  std::wstring last_described_;
};

TEST_F(PasswordTest, SetsAPasswordThroughTheInputBox) {
  AnswerInputBox(OpenRequest(Path::kImageButton), L"Secret 42");
  ExpectSetReport();
  ExpectFlowEnded();
  // The same password again asks nothing.
  AnswerInputBox(OpenRequest(Path::kImageButton), L"Secret 42");
  ExpectSetReport();
  ExpectFlowEnded();
}

TEST_F(PasswordTest, ChangeIsConfirmedAndNoKeepsTheOldPassword) {
  AnswerInputBox(OpenRequest(Path::kImageButton), L"secret");
  ExpectSetReport();

  AnswerInputBox(OpenRequest(Path::kImageButton), L"Secret");  // letter case counts
  ExpectConfirmation(L"secret", L"Secret", IDNO);
  ExpectFlowEnded();

  // Still the old one: the next change names it again.
  AnswerInputBox(OpenRequest(Path::kImageButton), L"other");
  ExpectConfirmation(L"secret", L"other", IDYES);
  ExpectSetReport();

  AnswerInputBox(OpenRequest(Path::kImageButton), L"third");
  ExpectConfirmation(L"other", L"third", IDNO);
  ExpectFlowEnded();
}

TEST_F(PasswordTest, CancelSetsNoPassword) {
  CancelInputBox(OpenRequest(Path::kImageButton));
  ExpectNoPasswordReport();
  ExpectFlowEnded();

  AnswerInputBox(OpenRequest(Path::kImageButton), L"secret");
  ExpectSetReport();
  // Cancel with a password set is a change to nothing, and asks first.
  CancelInputBox(OpenRequest(Path::kImageButton));
  ExpectConfirmation(L"secret", L"", IDYES);
  ExpectNoPasswordReport();
  // Removed: the next password is a first one again.
  AnswerInputBox(OpenRequest(Path::kImageButton), L"new");
  ExpectSetReport();
}

TEST_F(PasswordTest, CharactersOutsideTheCodePageAreRefused) {
  AnswerInputBox(OpenRequest(Path::kImageButton), L"secret");
  ExpectSetReport();
  AnswerInputBox(OpenRequest(Path::kImageButton), L"smile \x263A");
  MessageBoxInfo info;
  HWND box = NextBox(info);
  EXPECT_EQ(info.title, L"Password Not Set");
  EXPECT_NE(info.text.find(L"Nothing has been changed"), std::wstring::npos) << Narrow(info.text);
  EXPECT_TRUE(info.has_icon);
  PressButton(box, IDOK);
  ExpectFlowEnded();
  // The old password is still set.
  AnswerInputBox(OpenRequest(Path::kImageButton), L"x");
  ExpectConfirmation(L"secret", L"x", IDNO);
}

TEST_F(PasswordTest, MenuItemAndImageButtonBehaveTheSame) {
  // One script per path; it ends with no password set, so both start alike.
  auto run = [&](Path path) {
    std::vector<std::wstring> seen;
    AnswerInputBox(OpenRequest(path), L"first");
    seen.push_back(last_described_);
    ExpectSetReport();
    seen.push_back(last_described_);

    AnswerInputBox(OpenRequest(path), L"second");
    ExpectConfirmation(L"first", L"second", IDNO);
    seen.push_back(last_described_);
    ExpectFlowEnded();

    CancelInputBox(OpenRequest(path));
    ExpectConfirmation(L"first", L"", IDYES);
    seen.push_back(last_described_);
    ExpectNoPasswordReport();
    seen.push_back(last_described_);
    return seen;
  };
  const std::vector<std::wstring> by_button = run(Path::kImageButton);
  const std::vector<std::wstring> by_menu = run(Path::kMenuItem);
  ASSERT_EQ(by_button.size(), by_menu.size());
  for (std::size_t i = 0; i < by_button.size(); ++i) {
    EXPECT_EQ(by_button[i], by_menu[i]) << Narrow(by_button[i]) << "\n---\n" << Narrow(by_menu[i]);
  }
}

}  // namespace
}  // namespace qx::e2e
