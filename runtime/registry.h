#pragma once
// Read-only registry access: one value read through a fixed-size buffer.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace qx {

// Root keys as the 32-bit handle values the system gives them.
inline constexpr std::uint32_t kHKeyLocalMachine = 0x80000002;

// Value types.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegDword = 4;

struct RegistryValue {
  std::int32_t status = 0;  // 0: read; otherwise the system's error code
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;  // exactly the bytes the query reported
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens `key` below `root` for reading only, queries `value` into a buffer of
  // `capacity` bytes and closes the key again. A value larger than `capacity`
  // is a failure, like a missing key or value. Names are ANSI text.
  virtual RegistryValue Read(std::uint32_t root, std::string_view key, std::string_view value,
                             std::size_t capacity) = 0;
};

}  // namespace qx
