#pragma once
// An open file read at any offset, for the readers of the blocker's own
// settings and of other programs' version resources.
#include <windows.h>

#include <cstdint>

#include "format/settings_reader.h"

namespace qx::blocker::win {

class FileBytes : public ByteSource {
 public:
  FileBytes(HANDLE file, std::uint64_t size) : file_(file), size_(size) {}
  std::uint64_t Size() const override { return size_; }
  bool Read(std::uint64_t offset, std::size_t length, char* out) const override;

 private:
  HANDLE file_;
  std::uint64_t size_;
};

}  // namespace qx::blocker::win
