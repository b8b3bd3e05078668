#include "tests/e2e/driver/app_process.h"

#include <array>
#include <atomic>
#include <utility>
#include <vector>

#include "tests/e2e/driver/driver_error.h"

namespace qx::e2e {
namespace {

std::wstring SystemText(DWORD code) {
  std::array<wchar_t, 512> text{};
  ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                   text.data(), static_cast<DWORD>(std::size(text)), nullptr);
  return text.data();
}

[[noreturn]] void Fail(const std::wstring& operation) {
  const DWORD code = ::GetLastError();
  throw DriverError(operation + L": " + SystemText(code) + L" (error " + std::to_wstring(code) +
                    L")");
}

std::wstring Environment(const wchar_t* name) {
  std::array<wchar_t, 1024> value{};
  const DWORD length =
      ::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(std::size(value)));
  if (length == 0 || length >= std::size(value)) return {};
  return value.data();
}

std::wstring WithoutTrailingSlash(std::wstring path) {
  while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

void CopyTree(const std::wstring& from, const std::wstring& to) {
  WIN32_FIND_DATAW found{};
  win::FindHandle find(::FindFirstFileW((from + L"\\*").c_str(), &found));
  if (!find) Fail(L"List " + from);
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring source = from + L"\\" + name;
    const std::wstring target = to + L"\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (!::CreateDirectoryW(target.c_str(), nullptr)) Fail(L"Create " + target);
      CopyTree(source, target);
    } else if (!::CopyFileW(source.c_str(), target.c_str(), TRUE)) {
      Fail(L"Copy " + source);
    }
  } while (::FindNextFileW(find.get(), &found));
}

void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW found{};
  win::FindHandle find(::FindFirstFileW((path + L"\\*").c_str(), &found));
  if (find) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = path + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full);
      } else {
        ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(full.c_str());
      }
    } while (::FindNextFileW(find.get(), &found));
  }
  ::RemoveDirectoryW(path.c_str());
}

}  // namespace

std::wstring DistDir() {
  std::wstring dir = Environment(L"QX_DIST_DIR");
  return WithoutTrailingSlash(dir.empty() ? std::wstring(QX_E2E_DIST_DIR) : dir);
}

std::wstring ScreenshotDir() {
  std::wstring dir = Environment(L"QX_SCREENSHOT_DIR");
  dir = WithoutTrailingSlash(dir.empty() ? std::wstring(QX_E2E_SCREENSHOT_DIR) : dir);
  ::CreateDirectoryW(dir.c_str(), nullptr);  // may already exist
  return dir;
}

AppFolder::AppFolder() {
  static std::atomic<int> serial{0};
  std::array<wchar_t, MAX_PATH + 1> temp{};
  if (!::GetTempPathW(static_cast<DWORD>(std::size(temp)), temp.data())) Fail(L"GetTempPath");
  path_ = WithoutTrailingSlash(temp.data()) + L"\\Quellanix Test " +
          std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++serial);
  RemoveTree(path_);  // left over from a run that was killed
  if (!::CreateDirectoryW(path_.c_str(), nullptr)) Fail(L"Create " + path_);
}

AppFolder AppFolder::CopyOf(const std::wstring& source) {
  AppFolder folder;
  CopyTree(WithoutTrailingSlash(source), folder.path_);
  return folder;
}

AppFolder::AppFolder(AppFolder&& other) noexcept : path_(std::exchange(other.path_, {})) {}

AppFolder::~AppFolder() {
  if (!path_.empty()) RemoveTree(path_);
}

bool AppFolder::Exists(std::wstring_view name) const {
  return ::GetFileAttributesW(File(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void AppFolder::Remove(std::wstring_view name) const {
  if (!::DeleteFileW(File(name).c_str())) Fail(L"Delete " + File(name));
}

AppProcess AppProcess::Start(const std::wstring& exe) {
  JobHandle job(::CreateJobObjectW(nullptr, nullptr));
  if (!job) Fail(L"CreateJobObject");
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  ::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits));

  const std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/"));
  std::wstring command = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, folder.c_str(), &startup, &info)) {
    Fail(L"Start " + exe);
  }
  win::ProcessHandle process(info.hProcess);
  // In the job before it runs, so that whatever it starts is in it too.
  ::AssignProcessToJobObject(job.get(), process.get());
  ::ResumeThread(info.hThread);
  ::CloseHandle(info.hThread);
  return AppProcess(std::move(process), std::move(job), info.dwProcessId);
}

AppProcess::~AppProcess() {
  if (job_) ::TerminateJobObject(job_.get(), 1);
  if (process_ && Running()) ::TerminateProcess(process_.get(), 1);
  if (process_) ::WaitForSingleObject(process_.get(), 5000);
  // Everything the program started is gone too before the next test begins:
  // under Wine a process still being torn down can disturb one starting.
  if (job_) {
    WaitUntil([&] {
      JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
      return !::QueryInformationJobObject(job_.get(), JobObjectBasicAccountingInformation, &info,
                                          sizeof(info), nullptr) ||
             info.ActiveProcesses == 0;
    });
  }
}

bool AppProcess::Running() const {
  return ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

bool AppProcess::WaitForExit(std::chrono::milliseconds timeout) const {
  return ::WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) ==
         WAIT_OBJECT_0;
}

DWORD AppProcess::ExitCode() const {
  DWORD code = 0;
  ::GetExitCodeProcess(process_.get(), &code);
  return code;
}

}  // namespace qx::e2e
