#include "ui/input_box.h"

#include "ui/window.h"

namespace qx::win {
namespace {

constexpr int kPromptId = 100;
constexpr int kEditId = 101;
constexpr wchar_t kFailure[] = L"Could not show the input box.";
constexpr int kClientWidthTwips = 5565;
constexpr int kClientHeightTwips = 2025;

class InputBox final : public Window {
 public:
  // The controls use the dialog font (DS_SHELLFONT).
  InputBox(HINSTANCE instance, Dialogs& dialogs, std::span<const ControlSpec> controls)
      : Window(instance, dialogs,
               {DS_MODALFRAME | DS_SHELLFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0,
                kClientWidthTwips, kClientHeightTwips, controls, kFailure, kFailure}) {}

  std::wstring Run(HWND owner, std::wstring_view title) {
    return RunModal(owner, title) == IDOK ? text_ : std::wstring();
  }

 private:
  void OnCreate() override {
    HWND edit = Control(kEditId);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SetFocus(edit);
  }

  void OnCommand(int id, int) override {
    if (id == IDOK) {
      HWND edit = Control(kEditId);
      text_.assign(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
      text_.resize(static_cast<std::size_t>(
          GetWindowTextW(edit, text_.data(), static_cast<int>(text_.size()))));
      EndDialog(hwnd(), IDOK);
    } else if (id == IDCANCEL) {
      EndDialog(hwnd(), IDCANCEL);
    }
  }

  std::wstring text_;
};

}  // namespace

std::wstring RunInputBox(HINSTANCE instance, Dialogs& dialogs, HWND owner, std::wstring_view prompt,
                         std::wstring_view title, std::wstring_view default_text, bool masked) {
  const DWORD field = ES_AUTOHSCROLL | ES_LEFT | WS_TABSTOP | (masked ? ES_PASSWORD : 0);
  // Prompt on the left, buttons on the right, the field (sunken, as a dialog
  // template's bordered field is) across the bottom.
  // clang-format off
  const ControlSpec controls[] = {
      {L"STATIC", SS_LEFT | SS_NOPREFIX,                   prompt,       kPromptId, {165, 165, 3960, 1260},  kNoFont},
      {L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP,           L"OK",        IDOK,      {4275, 165, 1125, 315},  kNoFont},
      {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP,              L"Cancel",    IDCANCEL,  {4275, 570, 1125, 315},  kNoFont},
      {L"EDIT",   field,                                   default_text, kEditId,   {165, 1575, 5250, 300},  kNoFont, WS_EX_CLIENTEDGE},
  };
  // clang-format on
  return InputBox(instance, dialogs, controls).Run(owner, title);
}

}  // namespace qx::win
