#include "tests/e2e/driver/dialogs.h"

#include "tests/e2e/driver/driver_error.h"
#include "tests/e2e/driver/input.h"
#include "tests/e2e/driver/windows.h"

namespace qx::e2e {
namespace {

constexpr int kMessageTextId = 65535;
constexpr int kMessageIconId = 1088;

std::wstring WithoutAmpersands(std::wstring text) {
  std::erase(text, L'&');
  return text;
}

HWND ButtonByCaption(HWND dialog, std::wstring_view caption) {
  for (HWND c : Children(dialog)) {
    if (ClassOf(c) == L"Button" && WithoutAmpersands(Text(c)) == caption) return c;
  }
  throw DriverError(L"the dialog has no \"" + std::wstring(caption) + L"\" button");
}

HWND EditOf(HWND box) {
  for (HWND c : Children(box)) {
    if (ClassOf(c) == L"Edit") return c;
  }
  throw DriverError(L"the input box has no text field");
}

void ClickAndWaitGone(HWND dialog, HWND button) {
  Click(button);
  if (!WaitUntil([&] { return !::IsWindow(dialog) || !::IsWindowVisible(dialog); })) {
    throw DriverError(L"the dialog stayed open after its button was clicked");
  }
}

}  // namespace

HWND WaitForDialog(DWORD pid, std::chrono::milliseconds timeout) {
  return WaitForTopWindow(pid, kDialogClass, L"", timeout);
}

bool MessageBoxInfo::HasButton(int id) const {
  for (const auto& b : buttons) {
    if (b.id == id) return true;
  }
  return false;
}

MessageBoxInfo ReadMessageBox(HWND box) {
  RoundTrip(box);  // the box's thread has finished building it
  MessageBoxInfo info;
  info.title = Text(box);
  for (HWND c : Children(box)) {
    const int id = ::GetDlgCtrlID(c);
    const std::wstring cls = ClassOf(c);
    if (cls == L"Static" && id == kMessageTextId) info.text = Text(c);
    if (cls == L"Static" && id == kMessageIconId && ::IsWindowVisible(c)) info.has_icon = true;
    if (cls == L"Button" && ::IsWindowVisible(c)) info.buttons.push_back({id, Text(c)});
  }
  return info;
}

void PressButton(HWND dialog, int id) { ClickAndWaitGone(dialog, ChildById(dialog, id)); }

InputBoxInfo ReadInputBox(HWND box) {
  RoundTrip(box);
  InputBoxInfo info;
  info.title = Text(box);
  info.field = Text(EditOf(box));
  for (HWND c : Children(box)) {
    if (ClassOf(c) == L"Static" && ::IsWindowVisible(c)) {
      std::wstring text = Text(c);
      if (!text.empty()) {
        info.prompt = std::move(text);
        break;
      }
    }
  }
  return info;
}

void AnswerInputBox(HWND box, std::wstring_view text) {
  HWND edit = EditOf(box);
  Click(edit);
  if (!WaitUntil([&] { return FocusedControl(box) == edit; })) {
    throw DriverError(L"the input box's field did not take the focus");
  }
  ClearField(edit);
  TypeText(text);
  if (!WaitUntil([&] { return Text(edit) == text; })) {
    throw DriverError(L"the input box's field did not take the typed text");
  }
  ClickAndWaitGone(box, ButtonByCaption(box, L"OK"));
}

void CancelInputBox(HWND box) { ClickAndWaitGone(box, ButtonByCaption(box, L"Cancel")); }

std::wstring Describe(HWND top) {
  if (::IsWindow(top)) RoundTrip(top);
  std::wstring out = ClassOf(top) + L" \"" + Text(top) + L"\"";
  for (HWND c : Children(top)) {
    if (!::IsWindowVisible(c)) continue;
    out += L"\n  " + ClassOf(c) + L" #" + std::to_wstring(::GetDlgCtrlID(c)) + L" \"" + Text(c) +
           L"\"";
  }
  return out;
}

}  // namespace qx::e2e
