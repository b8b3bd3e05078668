#include "runtime/win32/replacing_file.h"

#include <algorithm>

#include "common/failure.h"
#include "common/path_parts.h"
#include "runtime/win32/file_bytes.h"

namespace qx::win {

ReplacingFile::ReplacingFile(std::wstring_view target, std::wstring failed, Reason reason)
    : target_(ExtendedPath(target)), failed_(std::move(failed)), reason_(reason) {
  const std::wstring_view folder = FolderOf(target);
  static unsigned serial = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    wchar_t name[32];
    swprintf(name, std::size(name), L"~qx%05lx%04x.tmp", GetCurrentProcessId() & 0xFFFFF,
             (++serial + GetTickCount()) & 0xFFFF);
    path_ = ExtendedPath(folder.empty() ? name : std::wstring(folder) + L"\\" + name);
    handle_.reset(CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (handle_) return;
    const DWORD code = GetLastError();
    if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) Fail(code);
  }
  Fail(ERROR_FILE_EXISTS);
}

ReplacingFile::~ReplacingFile() {
  handle_.reset();
  if (!moved_) DeleteFileW(path_.c_str());
}

void ReplacingFile::Fail(DWORD code) const { throw Failure(failed_, reason_(code)); }

void ReplacingFile::Write(std::string_view bytes) {
  constexpr std::size_t kChunkBytes = 1 << 20;
  while (!bytes.empty()) {
    const auto chunk = static_cast<DWORD>(std::min(bytes.size(), kChunkBytes));
    DWORD written = 0;
    if (!WriteFile(handle_.get(), bytes.data(), chunk, &written, nullptr)) Fail(GetLastError());
    if (written == 0) Fail(ERROR_WRITE_FAULT);
    bytes.remove_prefix(written);
  }
}

void ReplacingFile::Replace(std::uint64_t expected_size) {
  if (!FlushFileBuffers(handle_.get())) Fail(GetLastError());
  LARGE_INTEGER written{};
  if (!GetFileSizeEx(handle_.get(), &written)) Fail(GetLastError());
  if (static_cast<std::uint64_t>(written.QuadPart) != expected_size) {
    throw Failure(failed_, L"The written file does not have the expected length.");
  }
  handle_.reset();
  // Windows refuses to replace a read-only file; say so the same way everywhere.
  const DWORD existing = GetFileAttributesW(target_.c_str());
  if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY)) {
    Fail(ERROR_ACCESS_DENIED);
  }
  if (!MoveFileExW(path_.c_str(), target_.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    Fail(GetLastError());
  }
  moved_ = true;
}

}  // namespace qx::win
