#pragma once
// The settings bag: a keyed container of Boolean and text properties whose
// contents are one byte string, in the order the properties were written.
#include <cstdint>
#include <string>
#include <string_view>

namespace qx {

// One property as the reader finds it.
struct BagProperty {
  std::string name;
  std::uint16_t type = 0;
  std::int16_t boolean = 0;  // type 11
  std::string text;          // type 8
};

class PropertyBag {
 public:
  // Booleans are stored as the 16-bit -1 / 0 of the block flags. Throws Failure
  // when a name or text is too long for the format.
  void WriteProperty(std::string_view name, std::int16_t boolean);
  // `ansi`: the text's bytes in the ANSI code page.
  void WriteProperty(std::string_view name, std::string_view ansi);

  // The whole bag as bytes: header, count, then each property.
  std::string Contents() const;

 private:
  void WriteName(std::string_view name, std::uint16_t type);

  std::string properties_;
  std::uint16_t count_ = 0;
};

}  // namespace qx
