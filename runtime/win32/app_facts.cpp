#include "runtime/win32/app_facts.h"

#include <windows.h>

#include <string>

#include "common/path_parts.h"
#include "runtime/win32/last_error.h"

namespace qx::win {

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) return path.substr(0, n);
    path.resize(path.size() * 2);  // truncated: long path
  }
}

AppFacts ReadAppFacts() {
  const std::wstring path = ModulePath();
  if (path.empty()) ThrowLastError(L"Could not find the program's folder.");
  AppFacts facts;
  facts.Path = FolderOf(path);
  return facts;
}

}  // namespace qx::win
