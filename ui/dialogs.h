#pragma once
#include <windows.h>

#include "runtime/dialogs.h"

namespace qx::win {

// Message boxes and the input box, owned by whichever of our windows is active.
class WinDialogs : public Dialogs {
 public:
  WinDialogs(HINSTANCE instance, std::wstring app_title)
      : instance_(instance), app_title_(std::move(app_title)) {}

  int MsgBox(std::wstring_view prompt, int style, std::optional<std::wstring_view> title) override;
  std::wstring InputBox(std::wstring_view prompt, std::wstring_view title,
                        std::wstring_view default_text) override;

 private:
  HINSTANCE instance_;
  std::wstring app_title_;
};

}  // namespace qx::win
