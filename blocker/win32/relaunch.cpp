#include "blocker/win32/relaunch.h"

#include "blocker/win32/process_guard.h"
#include "common/text.h"
#include "runtime/win32/last_error.h"

namespace qx::blocker::win {

qx::win::ProcessHandle StartProtected(const std::wstring& path, const std::wstring& arguments) {
  constexpr wchar_t kOperation[] = L"Could not start the blocker protected from its first moment.";
  ProtectiveAttributes process(ProtectiveAttributes::For::kProcess);
  ProtectiveAttributes thread(ProtectiveAttributes::For::kThread);
  std::wstring command = qx::Quoted(path) + L" " + kRelaunched + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  // Out of any job the first process was put in where the job allows it: a
  // job's owner could end everything in it.
  const auto start = [&](DWORD flags) {
    return CreateProcessW(path.c_str(), command.data(), process.get(), thread.get(), FALSE, flags,
                          nullptr, nullptr, &startup, &started);
  };
  if (!start(CREATE_BREAKAWAY_FROM_JOB) && !start(0)) qx::win::ThrowLastError(kOperation);
  // The creation handles carry every right: only waiting is kept.
  CloseHandle(started.hThread);
  constexpr DWORD kWaitOnly = SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION;
  HANDLE limited = nullptr;
  // The source is closed whether or not the copy is made; its descriptor
  // still grants waiting to a fresh open.
  if (!DuplicateHandle(GetCurrentProcess(), started.hProcess, GetCurrentProcess(), &limited,
                       kWaitOnly, FALSE, DUPLICATE_CLOSE_SOURCE)) {
    limited = OpenProcess(kWaitOnly, FALSE, started.dwProcessId);
  }
  return qx::win::ProcessHandle(limited);
}

int ExitCodeOf(const qx::win::ProcessHandle& process) {
  WaitForSingleObject(process.get(), INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  return static_cast<int>(code);
}

}  // namespace qx::blocker::win
