#include "blocker/win32/log_file.h"

// shlobj.h needs windows.h first.
// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include "blocker/activity_log.h"
#include "common/failure.h"
#include "runtime/win32/file_bytes.h"
#include "runtime/win32/last_error.h"

namespace qx::blocker::win {
namespace {

constexpr int kAsideNames = 10;  // "<log>.1" ... "<log>.10"

qx::win::FileHandle OpenHeld(const std::wstring& path) {
  return qx::win::FileHandle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                         FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
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

void LogFile::Open() {
  file_ = OpenHeld(path_);
  if (file_) return;
  const DWORD code = GetLastError();
  // Something in its place the blocker cannot open (a folder, a read-only
  // file): kept, under a free name beside it.
  if (GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES) {
    for (int n = 1; n <= kAsideNames; ++n) {
      if (MoveFileExW(path_.c_str(), (path_ + L"." + std::to_wstring(n)).c_str(), 0)) {
        file_ = OpenHeld(path_);
        if (file_) return;
        break;
      }
    }
  }
  qx::win::ThrowError(L"Could not open the activity log \"" + path_ + L"\".", code);
}

void LogFile::Append(std::string_view line) {
  if (!file_) Open();
  const auto fail = [&](const wchar_t* operation) {
    const DWORD code = GetLastError();
    file_.reset();  // opened again for the next line
    qx::win::ThrowError(operation + path_ + L"\".", code);
  };
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file_.get(), &size)) fail(L"Could not read the activity log \"");
  const auto bytes = static_cast<std::uint64_t>(size.QuadPart);
  std::string text(line);
  LARGE_INTEGER at = size;
  if (bytes + line.size() >= kLogCapBytes) {
    const std::uint64_t from = KeptFrom(bytes);
    std::string kept(static_cast<std::size_t>(bytes - from), '\0');
    if (!qx::win::FileBytes(file_.get(), bytes).Read(from, kept.size(), kept.data())) {
      fail(L"Could not read the activity log \"");
    }
    text = TrimmedLog(std::move(kept), from, line);
    at.QuadPart = 0;
  }
  DWORD written = 0;
  if (!SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN) ||
      !WriteFile(file_.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
      written != text.size() || !SetEndOfFile(file_.get())) {
    fail(L"Could not write the activity log \"");
  }
}

}  // namespace qx::blocker::win
