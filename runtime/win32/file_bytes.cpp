#include "runtime/win32/file_bytes.h"

#include <utility>

#include "runtime/win32/handles.h"

namespace qx::win {
namespace {

// An open file with its reader.
class OwnedFileBytes : public FileBytes {
 public:
  OwnedFileBytes(FileHandle file, std::uint64_t size)
      : FileBytes(file.get(), size), file_(std::move(file)) {}

 private:
  FileHandle file_;
};

}  // namespace

std::wstring ExtendedPath(std::wstring_view path) {
  std::wstring p(path);
  if (p.size() < MAX_PATH || p.rfind(L"\\\\?\\", 0) == 0) return p;
  if (p.size() > 2 && p[1] == L':' && p[2] == L'\\') return L"\\\\?\\" + p;
  if (p.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + p.substr(2);
  return p;
}

std::unique_ptr<ByteSource> OpenFileBytes(std::wstring_view path) {
  FileHandle file(CreateFileW(ExtendedPath(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr));
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.get(), &size)) return nullptr;
  return std::make_unique<OwnedFileBytes>(std::move(file),
                                          static_cast<std::uint64_t>(size.QuadPart));
}

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
