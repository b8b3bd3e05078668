// A stand-in program for end-to-end tests: when started it leaves a marker file
// and exits. The marker is the path given as the first argument, else the
// program's own path followed by ".ran". It holds the command line it received,
// so a test can also see how it was started.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring marker;
  if (argv && argc > 1) {
    marker = argv[1];
  } else {
    wchar_t self[MAX_PATH * 4] = {};
    const DWORD n = GetModuleFileNameW(nullptr, self, static_cast<DWORD>(std::size(self)));
    if (n == 0 || n >= std::size(self)) return 2;
    marker = std::wstring(self, n) + L".ran";
  }
  if (argv) LocalFree(argv);

  // Written aside and renamed, so the marker never shows half-written.
  const std::wstring partial = marker + L".part";
  HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  const std::wstring line = GetCommandLineW();
  DWORD written = 0;
  const BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)),
                            &written, nullptr);
  CloseHandle(file);
  if (!ok || !MoveFileExW(partial.c_str(), marker.c_str(), MOVEFILE_REPLACE_EXISTING)) return 1;
  return 0;
}
