#pragma once
// An open file read at any offset, without moving a shared file position: the
// settings reader and the version-resource reader work on it, and so do
// files opened for reading.
#include <windows.h>

#include <cstdint>

#include "common/byte_source.h"

namespace qx::win {

class FileBytes : public ByteSource {
 public:
  FileBytes(HANDLE file, std::uint64_t size) : file_(file), size_(size) {}  // file outlives it
  std::uint64_t Size() const override { return size_; }
  bool Read(std::uint64_t offset, std::size_t length, char* out) const override;

 private:
  HANDLE file_;
  std::uint64_t size_;
};

}  // namespace qx::win
