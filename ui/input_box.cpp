#include "ui/input_box.h"

#include <cstdint>
#include <vector>

#include "runtime/win32/last_error.h"

namespace qx::win {
namespace {

constexpr int kPromptId = 100;
constexpr int kEditId = 101;

// Layout in dialog units: prompt on the left, buttons on the right, the field
// across the bottom.
struct ItemLayout {
  const wchar_t* window_class;
  int id;
  DWORD style;
  short x, y, cx, cy;
  const wchar_t* text;
};

// clang-format off
constexpr ItemLayout kItems[] = {
    {L"STATIC", kPromptId, SS_LEFT | SS_NOPREFIX,                              7,  7,  176, 56, L""},
    {L"BUTTON", IDOK,      BS_DEFPUSHBUTTON | WS_TABSTOP,                      190, 7,  50,  14, L"OK"},
    {L"BUTTON", IDCANCEL,  BS_PUSHBUTTON | WS_TABSTOP,                         190, 25, 50,  14, L"Cancel"},
    {L"EDIT",   kEditId,   ES_AUTOHSCROLL | ES_LEFT | WS_BORDER | WS_TABSTOP,  7,  70, 233, 13, L""},
};
// clang-format on
constexpr short kDialogWidth = 247;
constexpr short kDialogHeight = 90;

// Builds a DLGTEMPLATE in memory so the box needs no resource in the exe.
class TemplateWriter {
 public:
  void Word(WORD w) {
    Align(2);
    Raw(&w, sizeof w);
  }
  void DWord(DWORD d) { Raw(&d, sizeof d); }
  void Text(const wchar_t* s) {
    do Word(static_cast<WORD>(*s));
    while (*s++);
  }
  void Align(std::size_t n) {
    while (bytes_.size() % n) bytes_.push_back(0);
  }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

 private:
  void Raw(const void* p, std::size_t n) {
    const auto* b = static_cast<const std::uint8_t*>(p);
    bytes_.insert(bytes_.end(), b, b + n);
  }
  std::vector<std::uint8_t> bytes_;
};

struct BoxState {
  std::wstring prompt;
  std::wstring title;
  std::wstring text;
};

INT_PTR CALLBACK InputBoxProc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* state = reinterpret_cast<BoxState*>(GetWindowLongPtrW(dlg, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG: {
      state = reinterpret_cast<BoxState*>(lparam);
      SetWindowLongPtrW(dlg, DWLP_USER, lparam);
      SetWindowTextW(dlg, state->title.c_str());
      SetDlgItemTextW(dlg, kPromptId, state->prompt.c_str());
      HWND edit = GetDlgItem(dlg, kEditId);
      SetWindowTextW(edit, state->text.c_str());
      SendMessageW(edit, EM_SETSEL, 0, -1);
      SetFocus(edit);
      return FALSE;  // focus set by hand
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK) {
        HWND edit = GetDlgItem(dlg, kEditId);
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
        state->text = std::move(text);
        EndDialog(dlg, IDOK);
        return TRUE;
      }
      if (LOWORD(wparam) == IDCANCEL) {
        state->text.clear();
        EndDialog(dlg, IDCANCEL);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

std::wstring RunInputBox(HINSTANCE instance, HWND owner, std::wstring_view prompt,
                         std::wstring_view title, std::wstring_view default_text) {
  TemplateWriter t;
  const DWORD style =
      DS_MODALFRAME | DS_SETFONT | DS_SHELLFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  // DLGTEMPLATEEX header.
  t.Word(1);
  t.Word(0xFFFF);
  t.DWord(0);  // help id
  t.DWord(0);  // extended style
  t.DWord(style);
  t.Word(static_cast<WORD>(std::size(kItems)));
  t.Word(0);
  t.Word(0);
  t.Word(static_cast<WORD>(kDialogWidth));
  t.Word(static_cast<WORD>(kDialogHeight));
  t.Word(0);  // no menu
  t.Word(0);  // default class
  t.Text(L"");
  t.Word(8);  // point size
  t.Word(FW_NORMAL);
  t.Word(0);  // italic, charset
  t.Text(L"MS Shell Dlg");
  for (const ItemLayout& item : kItems) {
    t.Align(4);
    t.DWord(0);  // help id
    t.DWord(0);  // extended style
    t.DWord(item.style | WS_CHILD | WS_VISIBLE);
    t.Word(static_cast<WORD>(item.x));
    t.Word(static_cast<WORD>(item.y));
    t.Word(static_cast<WORD>(item.cx));
    t.Word(static_cast<WORD>(item.cy));
    t.DWord(static_cast<DWORD>(item.id));
    t.Text(item.window_class);
    t.Text(item.text);
    t.Word(0);  // no creation data
  }

  BoxState state{std::wstring(prompt), std::wstring(title), std::wstring(default_text)};
  const INT_PTR result = DialogBoxIndirectParamW(instance, t.get(), owner, InputBoxProc,
                                                 reinterpret_cast<LPARAM>(&state));
  if (result == -1) ThrowLastError(L"Could not show the input box.");
  return result == IDOK ? state.text : std::wstring();
}

}  // namespace qx::win
