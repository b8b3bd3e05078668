#include "blocker/win32/logon.h"

#include <windows.h>

#include "runtime/win32/handles.h"
#include "runtime/win32/last_error.h"

namespace qx::blocker::win {
namespace {

qx::win::RegKey OpenRunKey(const wchar_t* operation) {
  HKEY key = nullptr;
  const LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0,
                                         KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) qx::win::ThrowError(operation, static_cast<DWORD>(status));
  return qx::win::RegKey(key);
}

}  // namespace

void RegisterAtLogon(const std::wstring& title, const std::wstring& path) {
  constexpr wchar_t kOperation[] = L"Could not register the blocker to start at logon.";
  const qx::win::RegKey key = OpenRunKey(kOperation);
  const std::wstring command = L"\"" + path + L"\"";
  const LSTATUS status = RegSetValueExW(key.get(), title.c_str(), 0, REG_SZ,
                                        reinterpret_cast<const BYTE*>(command.c_str()),
                                        static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
  if (status != ERROR_SUCCESS) qx::win::ThrowError(kOperation, static_cast<DWORD>(status));
}

void UnregisterAtLogon(const std::wstring& title) {
  constexpr wchar_t kOperation[] = L"Could not remove the blocker's start at logon.";
  const qx::win::RegKey key = OpenRunKey(kOperation);
  const LSTATUS status = RegDeleteValueW(key.get(), title.c_str());
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
    qx::win::ThrowError(kOperation, static_cast<DWORD>(status));
  }
}

}  // namespace qx::blocker::win
