#include "runtime/win32/processes.h"

// clang-format off
#include <windows.h>
#include <shellapi.h>  // needs windows.h first
// clang-format on

#include <string>

#include "runtime/win32/handles.h"
#include "runtime/win32/last_error.h"
#include "runtime/win32/system_function.h"

namespace qx::win {
namespace {

void Start(const wchar_t* application, std::wstring command_line, int window_style,
           std::wstring_view shown_name) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(window_style);
  PROCESS_INFORMATION info{};
  // CreateProcessW may write into the command line, so it gets a private copy.
  if (!CreateProcessW(application, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &info)) {
    ThrowLastError(L"Could not start \"" + std::wstring(shown_name) + L"\".");
  }
  ProcessHandle process(info.hProcess);
  ProcessHandle thread(info.hThread);
}

}  // namespace

void WinProcesses::Shell(std::wstring_view command_line, int window_style) {
  Start(nullptr, std::wstring(command_line), window_style, command_line);
}

void WinProcesses::StartExact(std::wstring_view program, int window_style) {
  const std::wstring path(program);
  // The program is named exactly; the quoted copy is only its argv[0].
  Start(path.c_str(), L"\"" + path + L"\"", window_style, program);
}

void WinProcesses::OpenDocument(std::wstring_view path) {
  // The shell comes in on the first document opened: it and the libraries it
  // brings would be a twentieth of the program's memory, for the help alone.
  static const auto open = SystemFunction<decltype(ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
  const std::wstring file(path);
  // A missing document or no program for it is deliberately not reported.
  if (open) open(nullptr, L"open", file.c_str(), L"", L"", SW_SHOWNORMAL);
}

}  // namespace qx::win
