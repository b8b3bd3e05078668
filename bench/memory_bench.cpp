// The configurator's peak working set beside a plain window doing the same
// visible work (bench/plain_window.cpp), in the same run, under the same Wine:
// each program started in turn, its main window shown and painted, its peak
// read, then closed. Median of the rounds.
//   memory_bench QUELLANIX_EXE PLAIN_EXE [rounds]
// Measured here (Wine 8.0, 96 DPI): 25,760 against 24,332 KiB, 1.059, while the
// shell's libraries (shell32, shlwapi, shcore: about 960 KiB) were loaded at
// start; 24,692 against 24,332 KiB, 1.015, with the shell loaded on first use.
// The rest is heap; the font search costs nothing measurable.
// psapi.h needs windows.h first.
// clang-format off
#include <windows.h>
#include <psapi.h>
// clang-format on

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "ui/fonts.h"

namespace {

struct Found {
  DWORD pid;
  HWND window;
};

BOOL CALLBACK FindShown(HWND hwnd, LPARAM found) {
  auto* f = reinterpret_cast<Found*>(found);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != f->pid || !IsWindowVisible(hwnd)) return TRUE;
  f->window = hwnd;
  return FALSE;
}

// The peak working set of `command_line` in KiB once its window has shown and
// painted; 0 when it did not start.
SIZE_T PeakOnceShown(std::wstring command_line) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &pi)) {
    std::fwprintf(stderr, L"cannot start %ls: error %lu\n", command_line.c_str(), GetLastError());
    return 0;
  }
  WaitForInputIdle(pi.hProcess, 10000);
  Found found{pi.dwProcessId, nullptr};
  for (int i = 0; i < 1000 && !found.window; ++i) {
    EnumWindows(FindShown, reinterpret_cast<LPARAM>(&found));
    if (!found.window) Sleep(10);
  }
  // Painted: the queue has gone round, and then stays quiet a while.
  DWORD_PTR ignored = 0;
  for (int i = 0; i < 3; ++i) {
    SendMessageTimeoutW(found.window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    Sleep(300);
  }
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(pi.hProcess, &memory, sizeof memory);
  PostMessageW(found.window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return memory.PeakWorkingSetSize / 1024;
}

SIZE_T Median(std::vector<SIZE_T> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fwprintf(stderr, L"usage: memory_bench QUELLANIX_EXE PLAIN_EXE [rounds]\n");
    return 2;
  }
  const int rounds = argc > 3 ? std::max(1, _wtoi(argv[3])) : 7;
  // The face the configurator chooses here, for the plain window too.
  const std::wstring face = qx::win::FontCache(USER_DEFAULT_SCREEN_DPI).Face();
  std::vector<SIZE_T> program, plain;
  for (int r = 0; r < rounds; ++r) {
    // In turns, so that a slow moment of the machine falls on both.
    plain.push_back(PeakOnceShown(L"\"" + std::wstring(argv[2]) + L"\" " + face));
    program.push_back(PeakOnceShown(L"\"" + std::wstring(argv[1]) + L"\""));
    std::wprintf(L"round %d: configurator %zu KiB, plain window %zu KiB\n", r + 1, program.back(),
                 plain.back());
  }
  const SIZE_T a = Median(program), b = Median(plain);
  if (a == 0 || b == 0) return 1;
  std::wprintf(
      L"peak working set, median of %d: configurator %zu KiB, plain window %zu KiB, "
      L"ratio %.3f (target at most 1.05)\n",
      rounds, a, b, static_cast<double>(a) / static_cast<double>(b));
  return 0;
}
