#pragma once
#include "runtime/ansi.h"

namespace qx::win {

// The system's ANSI code page; a character without a single-byte code of its
// own is refused rather than replaced by a look-alike.
class WinAnsiCodec : public AnsiCodec {
 public:
  std::optional<std::string> ToAnsi(std::wstring_view text) const override;
  std::wstring FromAnsi(std::string_view bytes) const override;
};

}  // namespace qx::win
