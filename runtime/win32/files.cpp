#include "runtime/win32/files.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/failure.h"
#include "common/text.h"
#include "runtime/win32/file_bytes.h"
#include "runtime/win32/handles.h"
#include "runtime/win32/last_error.h"
#include "runtime/win32/replacing_file.h"

namespace qx::win {
namespace {

constexpr DWORD kChunkBytes = 1 << 20;

// The system's reason, with what to do about the two causes users can fix.
std::wstring WriteErrorReason(DWORD code) {
  std::wstring reason = LastErrorText(code);
  if (code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION) {
    reason +=
        L"\nIf a program of that name is running, close it; check that the file is not "
        L"read-only and that the folder may be written to.";
  }
  return reason;
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

  ReplacingFile out(target, L"Could not write " + Quoted(target) + L".", WriteErrorReason);
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
    out.Write(std::string_view(buffer.data(), got));
    left -= got;
  }
  out.Write(c.tail);
  out.Replace(c.prefix_length + c.tail.size());
}

}  // namespace qx::win
