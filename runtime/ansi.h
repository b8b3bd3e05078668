#pragma once
// Conversion between the runtime's wide text and codes of the ANSI code page.
#include <optional>
#include <string>
#include <string_view>

namespace qx {

class AnsiCodec {
 public:
  virtual ~AnsiCodec() = default;
  // nullopt when some character has no single-byte code in the code page.
  virtual std::optional<std::string> ToAnsi(std::wstring_view text) const = 0;
  virtual std::wstring FromAnsi(std::string_view bytes) const = 0;
};

}  // namespace qx
