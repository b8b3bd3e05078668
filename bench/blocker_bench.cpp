// The blocker's speed and cost under Wine, each beside a baseline taken in the
// same run, first alone and then beside 60 more idle windowless processes (a
// real desktop runs 150 or more, and each check of the process list costs
// more the more there are):
//   - start to gone, over 20 starts each of a windowed stand-in, a console
//     stand-in in a new console and one inside this console (no window of its
//     own; Solitaire's name in their version resources), beside the windowed
//     one's start to first window when nothing blocks it;
//   - the blocker's peak memory.
// The CPU time of the blocker and of the wineserver over an idle minute, with
// and without the blocker, is read from /proc by scripts/bench-blocker.sh
// around the lines that start with "phase" (Wine reports no CPU time for
// other processes).
//   blocker_bench DIST_DIR TOOLS_DIR [idle seconds]
// psapi.h and shlobj.h need windows.h first.
// clang-format off
#include <windows.h>
#include <psapi.h>
#include <shlobj.h>
// clang-format on

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "format/blocker_writer.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string ReadAll(const std::wstring& path) {
  std::string out;
  HANDLE f =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return out;
  LARGE_INTEGER size{};
  GetFileSizeEx(f, &size);
  out.resize(static_cast<std::size_t>(size.QuadPart));
  DWORD got = 0;
  ReadFile(f, out.data(), static_cast<DWORD>(out.size()), &got, nullptr);
  CloseHandle(f);
  return out;
}

void WriteAll(const std::wstring& path, const std::string& bytes) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
}

// Wine's CreateProcess returns once the process has set itself up: one the
// blocker ends before then fails to start, which `may_fail` allows.
PROCESS_INFORMATION Start(const std::wstring& exe, DWORD flags, bool may_fail = false) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::wstring command = L"\"" + exe + L"\"";
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr,
                      &startup, &info)) {
    if (may_fail) return {};
    std::fprintf(stderr, "cannot start %ls\n", exe.c_str());
    std::exit(1);
  }
  CloseHandle(info.hThread);
  return info;
}

struct FindWindowOf {
  DWORD pid;
  bool found = false;
};
BOOL CALLBACK HasVisibleWindow(HWND hwnd, LPARAM param) {
  auto* f = reinterpret_cast<FindWindowOf*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == f->pid && IsWindowVisible(hwnd)) f->found = true;
  return !f->found;
}

// Milliseconds from the start until the process is gone (blocked) or, with
// `baseline`, until it shows a window.
double Once(const std::wstring& exe, DWORD flags, bool baseline) {
  const auto start = Clock::now();
  PROCESS_INFORMATION p = Start(exe, flags, !baseline);
  if (!p.hProcess) return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  double ms = -1;
  for (;;) {
    const double elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (elapsed > 10000) break;
    if (!baseline) {
      if (WaitForSingleObject(p.hProcess, 1) == WAIT_OBJECT_0) {
        ms = elapsed;
        break;
      }
      continue;
    }
    FindWindowOf f{p.dwProcessId};
    EnumWindows(HasVisibleWindow, reinterpret_cast<LPARAM>(&f));
    if (f.found) {
      ms = elapsed;
      break;
    }
    Sleep(1);
  }
  TerminateProcess(p.hProcess, 0);
  WaitForSingleObject(p.hProcess, 5000);
  CloseHandle(p.hProcess);
  return ms;
}

std::vector<double> Series(const char* what, const std::wstring& exe, DWORD flags, bool baseline) {
  std::vector<double> out;
  for (int i = 0; i < 20; ++i) out.push_back(Once(exe, flags, baseline));
  std::sort(out.begin(), out.end());
  std::printf("  %-40s median %7.1f ms   95th %7.1f ms   worst %7.1f ms\n", what, out[10], out[18],
              out[19]);
  std::fflush(stdout);
  return out;
}

void Idle(const char* phase, int extra, int seconds) {
  std::printf("phase %s,%d-extra %d\n", phase, extra, seconds);
  std::fflush(stdout);
  Sleep(static_cast<DWORD>(seconds) * 1000);
  std::printf("phase end\n");
  std::fflush(stdout);
}

// What the blocker leaves for its owner: its start at logon and its log.
void CleanUp(const std::wstring& blocker) {
  DeleteFileW(blocker.c_str());
  HKEY run = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                    KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
    RegDeleteValueW(run, L"BenchGuard");
    RegCloseKey(run);
  }
  wchar_t local[MAX_PATH];
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local))) {
    DeleteFileW((std::wstring(local) + L"\\Quellanix\\BenchGuard.log").c_str());
  }
}

void End(HANDLE process) {
  TerminateProcess(process, 0);
  WaitForSingleObject(process, 5000);
  CloseHandle(process);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: blocker_bench DIST_DIR TOOLS_DIR [idle seconds]\n");
    return 2;
  }
  const std::wstring dist = argv[1], tools = argv[2];
  const int idle = argc > 3 ? _wtoi(argv[3]) : 60;
  const std::wstring windowed = tools + L"\\qx_stand_in.exe";
  const std::wstring console = tools + L"\\qx_stand_in_console.exe";
  wchar_t own[MAX_PATH];
  GetModuleFileNameW(nullptr, own, MAX_PATH);
  const std::wstring bench_dir(own, std::wcsrchr(own, L'\\'));
  const std::wstring idler = bench_dir + L"\\blocker_bench_idle.exe";

  // A blocker for Solitaire only, beside the template.
  qx::BlockerSettings settings;
  settings.block[*qx::IndexOfKey("Solitaire")] = true;
  const std::wstring blocker = dist + L"\\BenchGuard.exe";
  WriteAll(blocker, qx::WriteBlocker(ReadAll(dist + L"\\quellanix.ext"), settings));

  std::vector<HANDLE> idlers;
  for (const int extra : {0, 60}) {
    while (static_cast<int>(idlers.size()) < extra) {
      idlers.push_back(Start(idler, CREATE_NO_WINDOW).hProcess);
    }
    std::printf("== beside %d more idle windowless processes\n", extra);
    const auto base = Series("windowed, no blocker: start to window", windowed, 0, true);
    Idle("without-blocker", extra, idle);

    PROCESS_INFORMATION b = Start(blocker, 0);
    Sleep(1000);  // its first full check of the process list
    Idle("with-blocker", extra, idle);

    const auto window = Series("windowed, blocked: start to gone", windowed, 0, false);
    const auto fresh =
        Series("console, new console: start to gone", console, CREATE_NEW_CONSOLE, false);
    const auto inside = Series("console inside this console: start to gone", console, 0, false);
    std::printf("  windowed gone / window shown unblocked (medians) %.2fx (target at most 1.0)\n",
                window[10] / base[10]);
    std::printf("  console in a new console gone, 95th %.0f ms (target at most 300 ms)\n",
                fresh[18]);
    std::printf("  console inside this console gone, worst %.0f ms (target at most 2500 ms)\n",
                inside[19]);

    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(b.hProcess, &memory, sizeof memory);
    std::printf("  blocker peak working set %.1f MB, peak private bytes %.1f MB\n",
                memory.PeakWorkingSetSize / 1048576.0, memory.PeakPagefileUsage / 1048576.0);
    std::fflush(stdout);
    End(b.hProcess);
  }
  for (HANDLE p : idlers) End(p);
  CleanUp(blocker);
  return 0;
}
