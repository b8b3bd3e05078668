#include "blocker/win32/desktop_windows.h"

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/win32/handles.h"

namespace qx::blocker::win {
namespace {

struct DesktopTraits {
  using Handle = HDESK;
  static void Close(Handle h) { ::CloseDesktop(h); }
};
using Desktop = qx::win::UniqueHandle<DesktopTraits>;

BOOL CALLBACK Visit(HWND window, LPARAM param) {
  (*reinterpret_cast<const std::function<void(HWND)>*>(param))(window);
  return TRUE;
}

std::wstring NameOf(HDESK desktop) {
  wchar_t name[256] = {};
  DWORD needed = 0;
  GetUserObjectInformationW(desktop, UOI_NAME, name, sizeof name, &needed);
  return name;
}

}  // namespace

void ForEachTopWindow(const std::function<void(HWND)>& visit) {
  const auto param = reinterpret_cast<LPARAM>(&visit);
  EnumWindows(Visit, param);
  std::vector<std::wstring> names;
  EnumDesktopsW(
      GetProcessWindowStation(),
      [](LPWSTR name, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<std::wstring>*>(list)->push_back(name);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&names));
  const std::wstring own = NameOf(GetThreadDesktop(GetCurrentThreadId()));
  for (const std::wstring& name : names) {
    if (CompareStringOrdinal(name.c_str(), -1, own.c_str(), -1, TRUE) == CSTR_EQUAL) continue;
    // Read and enumerate only: nothing of a desktop the user made is changed.
    const Desktop desktop(
        OpenDesktopW(name.c_str(), 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE));
    if (desktop) EnumDesktopWindows(desktop.get(), Visit, param);
  }
}

int CloseWindowsOf(std::span<const std::uint32_t> pids, bool insist) {
  int asked = 0;
  ForEachTopWindow([&](HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (!IsWindowVisible(window) || std::find(pids.begin(), pids.end(), pid) == pids.end()) return;
    // Asked before, the close box too, and hidden: a program may ignore WM_CLOSE.
    const bool box = insist && PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (PostMessageW(window, WM_CLOSE, 0, 0) || box) ++asked;
    if (insist) ShowWindowAsync(window, SW_HIDE);
  });
  return asked;
}

}  // namespace qx::blocker::win
