// The blocker's speed and cost under Wine, each beside a baseline taken in the
// same run:
//   - start to gone, over 20 starts of a windowed and of a windowless console
//     stand-in that the blocker stops (Solitaire's name in their version
//     resources), beside the windowed one's start to first window when
//     nothing blocks it;
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

void Series(const char* what, const std::wstring& exe, DWORD flags, bool baseline,
            std::vector<double>& out) {
  out.clear();
  for (int i = 0; i < 20; ++i) out.push_back(Once(exe, flags, baseline));
  std::sort(out.begin(), out.end());
  std::printf("%-44s median %7.1f ms   95th %7.1f ms   worst %7.1f ms\n", what, out[10], out[18],
              out[19]);
  std::fflush(stdout);
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

  // A blocker for Solitaire only, beside the template.
  qx::BlockerSettings settings;
  settings.block[*qx::IndexOfKey("Solitaire")] = true;
  const std::wstring blocker = dist + L"\\BenchGuard.exe";
  WriteAll(blocker, qx::WriteBlocker(ReadAll(dist + L"\\quellanix.ext"), settings));

  std::vector<double> base_window, window, console_ms;
  Series("windowed, no blocker: start to window", windowed, 0, true, base_window);

  std::printf("phase idle-without-blocker %d\n", idle);
  std::fflush(stdout);
  Sleep(static_cast<DWORD>(idle) * 1000);
  std::printf("phase end\n");
  std::fflush(stdout);

  PROCESS_INFORMATION b = Start(blocker, 0);
  Sleep(1000);  // its first full check of the process list
  std::printf("phase idle-with-blocker %d\n", idle);
  std::fflush(stdout);
  Sleep(static_cast<DWORD>(idle) * 1000);
  std::printf("phase end\n");
  std::fflush(stdout);

  Series("windowed, blocked: start to gone", windowed, 0, false, window);
  Series("console without window, blocked: start to gone", console, CREATE_NO_WINDOW, false,
         console_ms);
  std::printf(
      "ratio windowed gone / window shown unblocked (medians) %.2fx (target: gone in 100 ms)\n",
      window[10] / base_window[10]);
  std::printf(
      "ratio console gone (95th) / window shown unblocked (median) %.2fx (target: 300 ms)\n",
      console_ms[18] / base_window[10]);

  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(b.hProcess, &memory, sizeof memory);
  std::printf("blocker peak working set %.1f MB, peak private bytes %.1f MB\n",
              memory.PeakWorkingSetSize / 1048576.0, memory.PeakPagefileUsage / 1048576.0);
  TerminateProcess(b.hProcess, 0);
  WaitForSingleObject(b.hProcess, 5000);
  CloseHandle(b.hProcess);
  DeleteFileW(blocker.c_str());
  // What the blocker leaves for its owner: its start at logon and its log.
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
  return 0;
}
