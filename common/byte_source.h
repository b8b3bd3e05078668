#pragma once
// Random access to a file being read: the settings reader works on it, and the
// platforms open files as one; or to bytes already in memory.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qx {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Fills `out` with `length` bytes from `offset`; false when that fails.
  // Readers ask only for ranges inside Size().
  virtual bool Read(std::uint64_t offset, std::size_t length, char* out) const = 0;
};

// Bytes already in memory, which must outlive it.
class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  bool Read(std::uint64_t offset, std::size_t length, char* out) const override {
    // Readers ask only for ranges inside Size(): a short copy is a failure all the same.
    return bytes_.substr(static_cast<std::size_t>(offset), length).copy(out, length) == length;
  }

 private:
  std::string_view bytes_;
};

}  // namespace qx
