#include "ui/input_box.h"

#include "runtime/win32/secret.h"
#include "ui/window.h"

namespace qx::win {
namespace {

constexpr int kPromptId = 100;
constexpr int kEditId = 101;
constexpr wchar_t kFailure[] = L"Could not show the input box.";
constexpr int kClientWidthTwips = 5565;
constexpr int kClientHeightTwips = 2025;
// Prompt at the top left, the buttons stacked at the top right, the field
// across the bottom; the right and bottom edges are a little narrower than
// the top and left margins.
constexpr int kMarginTwips = 165;
constexpr int kEdgeTwips = 150;
constexpr int kButtonWidthTwips = 1125;
constexpr int kButtonHeightTwips = 315;
constexpr int kButtonGapTwips = 90;
constexpr int kButtonLeftTwips = kClientWidthTwips - kMarginTwips - kButtonWidthTwips;
constexpr int kCancelTopTwips = kMarginTwips + kButtonHeightTwips + kButtonGapTwips;
constexpr int kPromptWidthTwips = kButtonLeftTwips - kEdgeTwips - kMarginTwips;
constexpr int kPromptHeightTwips = 1260;
constexpr int kFieldHeightTwips = 300;
constexpr int kFieldTopTwips = kClientHeightTwips - kEdgeTwips - kFieldHeightTwips;
constexpr int kFieldWidthTwips = kClientWidthTwips - kMarginTwips - kEdgeTwips;

// The field's own procedure, the same for every edit of the process.
WNDPROC edit_proc = nullptr;

// A password field's text is read by its own thread only: another thread or
// program asking for it gets nothing (its length shows as dots anyway), and none
// may copy it out or take its mask off, which this program never asks of it either.
LRESULT CALLBACK SecretFieldProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_GETTEXT:
    case EM_GETLINE:
      if (InSendMessageEx(nullptr) == ISMEX_NOSEND) break;
      return 0;
    case WM_COPY:
    case WM_CUT:
    case EM_SETPASSWORDCHAR:
      return 0;
  }
  return CallWindowProcW(edit_proc, hwnd, msg, wparam, lparam);
}

class InputBox final : public Window {
 public:
  // The controls use the dialog font (DS_SHELLFONT).
  InputBox(HINSTANCE instance, Dialogs& dialogs, std::span<const ControlSpec> controls, bool masked)
      : Window(
            instance, dialogs,
            {.style = DS_MODALFRAME | DS_SHELLFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU,
             .ex_style = 0,
             .client_width_twips = kClientWidthTwips,
             .client_height_twips = kClientHeightTwips,
             .controls = controls,
             .create_failure = kFailure,
             .controls_failure = kFailure}),
        masked_(masked) {}
  ~InputBox() override { Wipe(text_); }

  std::wstring Run(HWND owner, std::wstring_view title) {
    return RunModal(owner, title) == IDOK ? std::move(text_) : std::wstring();
  }

 private:
  void OnCreate() override {
    HWND edit = Control(kEditId);
    if (masked_) {
      edit_proc = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SecretFieldProc)));
    }
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

  const bool masked_;
  std::wstring text_;
};

}  // namespace

std::wstring RunInputBox(HINSTANCE instance, Dialogs& dialogs, HWND owner, std::wstring_view prompt,
                         std::wstring_view title, std::wstring_view default_text, bool masked) {
  const DWORD field = ES_AUTOHSCROLL | ES_LEFT | WS_TABSTOP | (masked ? ES_PASSWORD : 0);
  // The field is sunken, as a dialog template's bordered field is.
  // clang-format off
  const ControlSpec controls[] = {
      {L"STATIC", SS_LEFT | SS_NOPREFIX,         prompt,       kPromptId, {kMarginTwips, kMarginTwips, kPromptWidthTwips, kPromptHeightTwips}, kNoFont},
      {L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, L"OK",        IDOK,      {kButtonLeftTwips, kMarginTwips, kButtonWidthTwips, kButtonHeightTwips}, kNoFont},
      {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP,    L"Cancel",    IDCANCEL,  {kButtonLeftTwips, kCancelTopTwips, kButtonWidthTwips, kButtonHeightTwips}, kNoFont},
      {L"EDIT",   field,                         default_text, kEditId,   {kMarginTwips, kFieldTopTwips, kFieldWidthTwips, kFieldHeightTwips}, kNoFont, WS_EX_CLIENTEDGE},
  };
  // clang-format on
  return InputBox(instance, dialogs, controls, masked).Run(owner, title);
}

}  // namespace qx::win
