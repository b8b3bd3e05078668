#include "runtime/win32/file_bytes.h"

namespace qx::win {

bool FileBytes::Read(std::uint64_t offset, std::size_t length, char* out) const {
  constexpr DWORD kChunkBytes = 0x10000000;  // one ReadFile reads less than 4 GB
  while (length > 0) {
    OVERLAPPED at{};  // the offset, without moving a shared file pointer
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    const DWORD want = length > kChunkBytes ? kChunkBytes : static_cast<DWORD>(length);
    DWORD got = 0;
    if (!ReadFile(file_, out, want, &got, &at) || got == 0) return false;
    offset += got;
    out += got;
    length -= got;
  }
  return true;
}

}  // namespace qx::win
