#pragma once
// Modal message and input boxes, with the style numbers and answer codes the
// handlers are written against.
#include <optional>
#include <string>
#include <string_view>

namespace qx {

inline constexpr int vbOKOnly = 0;
inline constexpr int vbYesNo = 4;
inline constexpr int vbCritical = 16;
inline constexpr int vbExclamation = 48;
inline constexpr int vbOK = 1;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // No title (nullopt) shows the application title. Returns the button pressed.
  virtual int MsgBox(std::wstring_view prompt, int style,
                     std::optional<std::wstring_view> title = std::nullopt) = 0;
  // Cancel gives the empty text, exactly like an emptied field.
  virtual std::wstring InputBox(std::wstring_view prompt, std::wstring_view title,
                                std::wstring_view default_text = {}) = 0;
};

}  // namespace qx
