// A stand-in program for end-to-end tests: when started it leaves the file
// <its own path>.ran holding the command line it received, so that a test can
// see that it ran and how it was started.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  wchar_t self[MAX_PATH * 4] = {};
  const std::wstring marker =
      std::wstring(self, GetModuleFileNameW(nullptr, self, MAX_PATH * 4)) + L".ran";
  const std::wstring line = GetCommandLineW();
  // Written aside and renamed, so the marker never shows half-written.
  std::ofstream(std::filesystem::path(marker + L".part"), std::ios::binary)
      .write(reinterpret_cast<const char*>(line.data()),
             static_cast<std::streamsize>(line.size() * sizeof(wchar_t)));
  return MoveFileExW((marker + L".part").c_str(), marker.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0
                                                                                             : 1;
}
