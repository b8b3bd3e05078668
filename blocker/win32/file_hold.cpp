#include "blocker/win32/file_hold.h"

#include "runtime/win32/file_bytes.h"

namespace qx::blocker::win {
std::optional<FileId> FileIdOf(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file, &info)) return std::nullopt;
  return FileId{info.dwVolumeSerialNumber,
                (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

std::optional<FileId> FileIdOf(const std::wstring& path) {
  // Attributes only: no sharing conflict with a running blocker's hold.
  const qx::win::FileHandle file(CreateFileW(
      qx::win::ExtendedPath(path).c_str(), FILE_READ_ATTRIBUTES,
      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr));
  return file ? FileIdOf(file.get()) : std::nullopt;
}

FileHold::FileHold(const std::wstring& path)
    : file_(CreateFileW(qx::win::ExtendedPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                        OPEN_EXISTING, 0, nullptr)) {
  if (file_) id_ = FileIdOf(file_.get());
}

std::optional<SettingsResult> FileHold::ReadSettings() const {
  LARGE_INTEGER size{};
  if (!held() || !GetFileSizeEx(file_.get(), &size)) return std::nullopt;
  return qx::ReadSettings(
      qx::win::FileBytes(file_.get(), static_cast<std::uint64_t>(size.QuadPart)));
}

}  // namespace qx::blocker::win
