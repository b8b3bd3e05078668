#include "runtime/win32/ansi_codec.h"

#include <windows.h>

#include "runtime/win32/secret.h"

namespace qx::win {

std::optional<std::string> WinAnsiCodec::ToAnsi(std::wstring_view text) const {
  if (text.empty()) return std::string();
  const int wide_length = static_cast<int>(text.size());
  // Made where it is returned: the text may be a password, and no copy is left behind.
  std::optional<std::string> out(std::in_place, text.size() * 2, '\0');
  BOOL used_default = FALSE;
  const int n =
      WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), wide_length, out->data(),
                          static_cast<int>(out->size()), nullptr, &used_default);
  // One byte per character, or the text does not fit the code page.
  if (n != wide_length || used_default) {
    Wipe(*out);
    out.reset();
  } else {
    out->resize(static_cast<std::size_t>(n));
  }
  return out;
}

std::wstring WinAnsiCodec::FromAnsi(std::string_view bytes) const {
  if (bytes.empty()) return std::wstring();
  std::wstring out(bytes.size(), L'\0');
  const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                    out.data(), static_cast<int>(out.size()));
  out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return out;
}

}  // namespace qx::win
