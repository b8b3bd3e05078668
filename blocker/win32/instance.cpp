#include "blocker/win32/instance.h"

#include <cwctype>

namespace qx::blocker::win {
namespace {

// Kernel object names may not hold "\": the path's hash stands for it.
std::wstring NameFor(const std::wstring& path) {
  std::uint64_t hash = 1469598103934665603ull;  // FNV-1a over the path, letter case aside
  for (wchar_t c : path) {
    hash = (hash ^ static_cast<std::uint64_t>(std::towupper(c))) * 1099511628211ull;
  }
  wchar_t text[40];
  swprintf(text, std::size(text), L"QuellanixBlocker.%016llx",
           static_cast<unsigned long long>(hash));
  return text;
}

}  // namespace

InstanceLock::InstanceLock(const std::wstring& blocker_path) : name_(NameFor(blocker_path)) {
  mutex_ = CreateMutexW(nullptr, TRUE, (L"Local\\" + name_).c_str());
  first_ = !(mutex_ && GetLastError() == ERROR_ALREADY_EXISTS);
}

InstanceLock::~InstanceLock() {
  if (mutex_) {
    if (first_) ReleaseMutex(mutex_);
    CloseHandle(mutex_);
  }
}

bool RequestStop(const std::wstring& name, const std::string& password, StopReply& reply) {
  // The running instance may still be starting: its window comes soon after
  // its mutex.
  HWND control = nullptr;
  for (int attempt = 0; attempt < 100 && !control; ++attempt) {
    control = FindWindowExW(HWND_MESSAGE, nullptr, kControlWindowClass, name.c_str());
    if (!control) Sleep(50);
  }
  if (!control) return false;
  COPYDATASTRUCT data{kStopRequest, static_cast<DWORD>(password.size()),
                      const_cast<char*>(password.data())};
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(control, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                           SMTO_ABORTIFHUNG, 10000, &result) ||
      result == 0) {
    return false;
  }
  reply = Decode(static_cast<LRESULT>(result));
  return true;
}

}  // namespace qx::blocker::win
