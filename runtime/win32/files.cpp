#include "runtime/win32/files.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/failure.h"
#include "runtime/win32/file_bytes.h"
#include "runtime/win32/handles.h"
#include "runtime/win32/last_error.h"

namespace qx::win {
namespace {

constexpr DWORD kChunkBytes = 1 << 20;

std::wstring Quoted(std::wstring_view path) { return L"\"" + std::wstring(path) + L"\""; }

// The system's reason, with what to do about the two causes users can fix.
[[noreturn]] void ThrowWriteError(std::wstring_view target, DWORD code) {
  std::wstring reason = LastErrorText(code);
  if (code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION) {
    reason +=
        L"\nIf a program of that name is running, close it; check that the file is not "
        L"read-only and that the folder may be written to.";
  }
  throw Failure(L"Could not write " + Quoted(target) + L".", reason);
}

// A temporary file beside the target, removed unless it was moved into place.
class TempFile {
 public:
  explicit TempFile(std::wstring_view target) {
    const std::size_t slash = target.find_last_of(L'\\');
    const std::wstring folder(target.substr(0, slash == std::wstring_view::npos ? 0 : slash + 1));
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
      wchar_t name[32];
      swprintf(name, std::size(name), L"~qx%05lx%04x.tmp", GetCurrentProcessId() & 0xFFFFF,
               (++serial + GetTickCount()) & 0xFFFF);
      path_ = ExtendedPath(folder + name);
      handle_.reset(CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
      if (handle_) return;
      const DWORD code = GetLastError();
      if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) ThrowWriteError(target, code);
    }
    ThrowWriteError(target, ERROR_FILE_EXISTS);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() {
    handle_.reset();
    if (!kept_) DeleteFileW(path_.c_str());
  }
  HANDLE get() const { return handle_.get(); }
  const std::wstring& path() const { return path_; }
  void Close() { handle_.reset(); }
  void Kept() { kept_ = true; }

 private:
  std::wstring path_;
  FileHandle handle_;
  bool kept_ = false;
};

void WriteAll(HANDLE file, const char* data, std::size_t size, std::wstring_view target) {
  while (size > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, kChunkBytes));
    DWORD written = 0;
    if (!WriteFile(file, data, chunk, &written, nullptr)) ThrowWriteError(target, GetLastError());
    if (written == 0) ThrowWriteError(target, ERROR_WRITE_FAULT);
    data += written;
    size -= written;
  }
}

}  // namespace

std::unique_ptr<ByteSource> WinFiles::OpenForReading(std::wstring_view path) {
  std::unique_ptr<ByteSource> file = OpenFileBytes(path);
  if (!file) ThrowLastError(L"Could not read " + Quoted(path) + L".");
  return file;
}

bool WinFiles::Exists(std::wstring_view path) {
  const DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void WinFiles::ComposeFile(std::wstring_view source, std::wstring_view target,
                           const std::function<Composition(std::uint64_t)>& plan) {
  // Sharing read only: nobody changes the source while it is copied.
  FileHandle in(CreateFileW(ExtendedPath(source).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!in) ThrowLastError(L"Could not open " + Quoted(source) + L".");
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(in.get(), &size)) ThrowLastError(L"Could not read " + Quoted(source) + L".");
  const Composition c = plan(static_cast<std::uint64_t>(size.QuadPart));
  if (c.prefix_length > static_cast<std::uint64_t>(size.QuadPart)) {
    throw Failure(L"Could not read " + Quoted(source) + L".", L"The file is too short.");
  }

  TempFile temp(target);
  std::vector<char> buffer(kChunkBytes);
  for (std::uint64_t left = c.prefix_length; left > 0;) {
    const DWORD want = static_cast<DWORD>(std::min<std::uint64_t>(left, kChunkBytes));
    DWORD got = 0;
    if (!ReadFile(in.get(), buffer.data(), want, &got, nullptr)) {
      ThrowLastError(L"Could not read " + Quoted(source) + L".");
    }
    if (got == 0) {
      throw Failure(L"Could not read " + Quoted(source) + L".",
                    L"The file ended before its expected length.");
    }
    WriteAll(temp.get(), buffer.data(), got, target);
    left -= got;
  }
  WriteAll(temp.get(), c.tail.data(), c.tail.size(), target);
  if (!FlushFileBuffers(temp.get())) ThrowWriteError(target, GetLastError());
  LARGE_INTEGER written{};
  if (!GetFileSizeEx(temp.get(), &written)) ThrowWriteError(target, GetLastError());
  if (static_cast<std::uint64_t>(written.QuadPart) != c.prefix_length + c.tail.size()) {
    throw Failure(L"Could not write " + Quoted(target) + L".",
                  L"The written file does not have the expected length.");
  }
  temp.Close();
  // Windows refuses to replace a read-only file; say so the same way everywhere.
  const DWORD existing = GetFileAttributesW(ExtendedPath(target).c_str());
  if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY)) {
    ThrowWriteError(target, ERROR_ACCESS_DENIED);
  }
  if (!MoveFileExW(temp.path().c_str(), ExtendedPath(target).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ThrowWriteError(target, GetLastError());
  }
  temp.Kept();
}

}  // namespace qx::win
