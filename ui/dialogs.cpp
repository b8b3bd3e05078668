#include "ui/dialogs.h"

#include <string>

#include "ui/input_box.h"
#include "ui/top_windows.h"

namespace qx::win {

int WinDialogs::MsgBox(std::wstring_view prompt, int style,
                       std::optional<std::wstring_view> title) {
  const std::wstring text(prompt);
  const std::wstring caption(title ? *title : std::wstring_view(app_title_));
  HWND owner = ModalOwner();
  const UINT flags = static_cast<UINT>(style) | (owner ? 0u : MB_TASKMODAL);
  return MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

std::wstring WinDialogs::InputBox(std::wstring_view prompt, std::wstring_view title,
                                  std::wstring_view default_text) {
  return RunInputBox(instance_, *this, ModalOwner(), prompt, title, default_text);
}

}  // namespace qx::win
