#pragma once
// Random access to a file being read: the settings reader works on it, and the
// platforms open files as one.
#include <cstddef>
#include <cstdint>

namespace qx {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Fills `out` with `length` bytes from `offset`; false when that fails.
  // Readers ask only for ranges inside Size().
  virtual bool Read(std::uint64_t offset, std::size_t length, char* out) const = 0;
};

}  // namespace qx
