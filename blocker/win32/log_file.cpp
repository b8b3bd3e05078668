#include "blocker/win32/log_file.h"

// shlobj.h needs windows.h first.
// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include "blocker/activity_log.h"
#include "common/failure.h"
#include "runtime/win32/file_bytes.h"
#include "runtime/win32/handles.h"
#include "runtime/win32/last_error.h"
#include "runtime/win32/replacing_file.h"

namespace qx::blocker::win {
namespace {

void WriteAll(HANDLE file, std::string_view bytes, const std::wstring& path) {
  DWORD written = 0;
  if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size()) {
    qx::win::ThrowLastError(L"Could not write the activity log \"" + path + L"\".");
  }
}

// The part of the log trimming keeps: never more than half the cap, however
// large the file has grown.
std::string ReadKept(HANDLE file, std::uint64_t from, std::uint64_t size,
                     const std::wstring& path) {
  std::string kept(static_cast<std::size_t>(size - from), '\0');
  if (!qx::win::FileBytes(file, size).Read(from, kept.size(), kept.data())) {
    qx::win::ThrowLastError(L"Could not read the activity log \"" + path + L"\".");
  }
  return kept;
}

}  // namespace

std::wstring LogPath(const std::wstring& title) {
  wchar_t folder[MAX_PATH];
  if (FAILED(
          SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, folder))) {
    return {};
  }
  const std::wstring ours = std::wstring(folder) + L"\\Quellanix";
  CreateDirectoryW(ours.c_str(), nullptr);
  return ours + L"\\" + title + L".log";
}

void AppendLogLine(const std::wstring& path, std::string_view line) {
  qx::win::FileHandle file(CreateFileW(path.c_str(), GENERIC_READ | FILE_APPEND_DATA,
                                       FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                       nullptr));
  if (!file) qx::win::ThrowLastError(L"Could not open the activity log \"" + path + L"\".");
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) {
    qx::win::ThrowLastError(L"Could not read the activity log \"" + path + L"\".");
  }
  const auto bytes = static_cast<std::uint64_t>(size.QuadPart);
  if (bytes + line.size() < kLogCapBytes) {
    WriteAll(file.get(), line, path);
    return;
  }
  const std::uint64_t from = KeptFrom(bytes);
  std::string log = TrimmedLog(ReadKept(file.get(), from, bytes, path), from, line);
  file.reset();
  qx::win::ReplacingFile trimmed(path, L"Could not write the activity log \"" + path + L"\".",
                                 qx::win::LastErrorText);
  trimmed.Write(log);
  trimmed.Replace(log.size());
}

}  // namespace qx::blocker::win
