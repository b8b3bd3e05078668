#pragma once
// An open file read at any offset, without moving a shared file position: the
// settings reader and the version-resource reader work on it, and so do
// files opened for reading.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

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

// A path past MAX_PATH in the extended form (\\?\), which opens it; shorter
// ones as they are. The paths given are absolute, with no "." or ".."
// segments, so prefixing does not change their meaning.
std::wstring ExtendedPath(std::wstring_view path);

// The file at `path`, open for reading while others may read, write or delete
// it; nullptr (GetLastError says why) when it cannot be opened.
std::unique_ptr<ByteSource> OpenFileBytes(std::wstring_view path);

}  // namespace qx::win
