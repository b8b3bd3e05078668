#pragma once
// Reading and answering the program's message boxes and input boxes.
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/e2e/driver/wait.h"

namespace qx::e2e {

inline constexpr wchar_t kDialogClass[] = L"#32770";

// The first dialog (class #32770) of `pid` to show; throws when none does.
HWND WaitForDialog(DWORD pid, std::chrono::milliseconds timeout = kDefaultTimeout);

struct DialogButton {
  int id;
  std::wstring caption;  // with its ampersand, e.g. "&Yes"
};

struct MessageBoxInfo {
  std::wstring title;
  std::wstring text;
  std::vector<DialogButton> buttons;  // in Z order; unused ones do not exist
  bool has_icon = false;

  bool HasButton(int id) const;
};

// Message boxes: the text is the static with ID 65535, the icon the static
// with ID 1088, the buttons keep IDOK, IDCANCEL, IDYES, IDNO...
MessageBoxInfo ReadMessageBox(HWND box);

// Clicks the button with `id` and waits until the box is gone.
void PressButton(HWND dialog, int id);

struct InputBoxInfo {
  std::wstring title;
  std::wstring prompt;
  std::wstring field;
};

InputBoxInfo ReadInputBox(HWND box);

// Replaces the field's text as a person would (select all, type), then clicks
// OK; waits until the box is gone.
void AnswerInputBox(HWND box, std::wstring_view text);

// Clicks Cancel; waits until the box is gone.
void CancelInputBox(HWND box);

// A comparable account of a top-level window: class, title, and the class and
// text of each visible child. Two paths that run the same code show equal ones.
std::wstring Describe(HWND top);

}  // namespace qx::e2e
