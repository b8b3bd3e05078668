#include "runtime/win32/app_facts.h"

#include <windows.h>

#include <string>

#include "common/path_parts.h"
#include "runtime/win32/last_error.h"
#include "runtime/win32/system_path.h"

namespace qx::win {

std::wstring ModulePath() {
  // A truncated path comes back as long as the buffer.
  return SystemPath(
      [](wchar_t* buffer, DWORD size) { return GetModuleFileNameW(nullptr, buffer, size); });
}

AppFacts ReadAppFacts() {
  const std::wstring path = ModulePath();
  if (path.empty()) ThrowLastError(L"Could not find the program's folder.");
  AppFacts facts;
  facts.Path = FolderOf(path);
  return facts;
}

}  // namespace qx::win
