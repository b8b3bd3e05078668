#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/e2e/driver/driver.h"
// winternl.h needs windows.h first.
#include <winternl.h>

namespace qx::e2e {
namespace fs = std::filesystem;
namespace {

// Read-only files too: a test may leave one behind when it fails midway. In
// the \\?\ form, for folders deeper than MAX_PATH.
void RemoveTree(const std::wstring& path) {
  const std::wstring at = path.starts_with(L"\\\\?\\") ? path : L"\\\\?\\" + path;
  {  // the search closed before its folder goes
    WIN32_FIND_DATAW found{};
    const win::FindHandle find(::FindFirstFileW((at + L"\\*").c_str(), &found));
    for (bool more = bool(find); more; more = ::FindNextFileW(find.get(), &found)) {
      const std::wstring name = found.cFileName, inner = at + L"\\" + name;
      if (name == L"." || name == L"..") continue;
      ::SetFileAttributesW(inner.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(inner);
      } else {
        ::DeleteFileW(inner.c_str());
      }
    }
  }
  ::RemoveDirectoryW(at.c_str());
}

// Wine's CreateProcess takes no path past MAX_PATH; the system's own call
// underneath it does. Starts the process suspended, as CreateProcess does here.
PROCESS_INFORMATION StartLongPath(const std::wstring& exe, const std::wstring& command) {
  using Text = UNICODE_STRING*;
  using Params = RTL_USER_PROCESS_PARAMETERS*;
  HANDLE created[16] = {};  // its size, the process, the thread, then what the caller needs not
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  const auto parameters = reinterpret_cast<NTSTATUS(NTAPI*)(Params*, Text, Text, Text, Text, void*,
                                                            Text, Text, Text, Text, ULONG)>(
      reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlCreateProcessParametersEx")));
  const auto create = reinterpret_cast<NTSTATUS(NTAPI*)(Text, ULONG, Params, void*, void*, HANDLE,
                                                        BOOLEAN, HANDLE, HANDLE, void*)>(
      reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlCreateUserProcess")));
  const auto counted = [](const std::wstring& text) {
    const auto bytes = static_cast<USHORT>(text.size() * sizeof(wchar_t));
    return UNICODE_STRING{bytes, bytes, const_cast<wchar_t*>(text.c_str())};
  };
  const std::wstring nt_path = L"\\??\\" + exe;
  UNICODE_STRING image = counted(exe), line = counted(command), nt_image = counted(nt_path);
  Params params = nullptr;
  if (parameters(&params, &image, nullptr, nullptr, &line, nullptr, nullptr, nullptr, nullptr,
                 nullptr, /*normalized*/ 1) != 0 ||
      create(&nt_image, OBJ_CASE_INSENSITIVE, params, nullptr, nullptr, nullptr, FALSE, nullptr,
             nullptr, created) != 0) {
    throw DriverError(L"cannot start " + exe);
  }
  return {created[1], created[2], ::GetProcessId(created[1]), ::GetThreadId(created[2])};
}

}  // namespace

std::string ReadFile(const std::wstring& path) {
  std::ifstream in(fs::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::wstring> FileNames(const std::wstring& folder) {
  std::vector<std::wstring> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

AppFolder::AppFolder(const std::wstring& copy_of) {
  static int serial = 0;
  path_ =
      fs::temp_directory_path() / (L"Quellanix Test " + std::to_wstring(::GetCurrentProcessId()) +
                                   L"-" + std::to_wstring(++serial));
  RemoveTree(path_);  // left over from a run that was killed
  fs::create_directory(path_);
  if (!copy_of.empty()) fs::copy(copy_of, path_, fs::copy_options::recursive);
}

AppFolder::~AppFolder() { RemoveTree(path_); }

AppProcess AppProcess::Start(const std::wstring& exe, std::wstring_view arguments, DWORD flags) {
  AppProcess app;
  app.job_.reset(::CreateJobObjectW(nullptr, nullptr));
  if (!app.job_) throw DriverError(L"CreateJobObject failed");
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  ::SetInformationJobObject(app.job_.get(), JobObjectExtendedLimitInformation, &limits,
                            sizeof(limits));
  std::wstring command =
      L"\"" + exe + (arguments.empty() ? L"\"" : L"\" ") + std::wstring(arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (exe.size() >= MAX_PATH) {
    info = StartLongPath(exe, command);
  } else if (!::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE,
                               CREATE_SUSPENDED | flags, nullptr,
                               exe.substr(0, exe.find_last_of(L'\\')).c_str(), &startup, &info)) {
    throw DriverError(L"cannot start " + exe + L" (error " + std::to_wstring(::GetLastError()) +
                      L")");
  }
  app.process_.reset(info.hProcess);
  app.pid_ = info.dwProcessId;
  // In the job before it runs, so that whatever it starts is in it too.
  ::AssignProcessToJobObject(app.job_.get(), info.hProcess);
  ::ResumeThread(info.hThread);
  ::CloseHandle(info.hThread);
  return app;
}

AppProcess::~AppProcess() {
  if (!process_) return;  // moved from
  ::TerminateJobObject(job_.get(), 1);
  ::TerminateProcess(process_.get(), 1);
  // Everything the program started is gone too before the next test begins:
  // under Wine a process still being torn down can disturb one starting.
  WaitUntil([&] {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
    return !::QueryInformationJobObject(job_.get(), JobObjectBasicAccountingInformation, &info,
                                        sizeof(info), nullptr) ||
           info.ActiveProcesses == 0;
  });
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
