#pragma once
// Little-endian integers appended to and read from byte strings.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qx::le {

template <typename T>
void Append(std::string& out, T value) {
  auto bits = static_cast<std::uint64_t>(value);
  for (std::size_t i = 0; i < sizeof(T); ++i) {
    out.push_back(static_cast<char>(bits & 0xFF));
    bits >>= 8;
  }
}

// The caller has checked that `bytes` holds sizeof(T) bytes at `at`.
template <typename T>
T Read(std::string_view bytes, std::size_t at) {
  std::uint64_t bits = 0;
  for (std::size_t i = sizeof(T); i-- > 0;) {
    bits = (bits << 8) | static_cast<unsigned char>(bytes[at + i]);
  }
  return static_cast<T>(bits);
}

}  // namespace qx::le
