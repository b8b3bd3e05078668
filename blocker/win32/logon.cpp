#include "blocker/win32/logon.h"

#include <windows.h>

#include "blocker/win32/file_hold.h"
#include "common/failure.h"
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

// The program a Run command starts: its quoted first part, or all of it.
std::wstring ProgramOf(const std::wstring& command) {
  if (command.empty() || command[0] != L'"') return command;
  const std::size_t end = command.find(L'"', 1);
  return command.substr(1, end == std::wstring::npos ? std::wstring::npos : end - 1);
}

}  // namespace

ValueOwner OwnerOfLogonValue(const std::wstring& name, const FileId& self) {
  DWORD bytes = 0;
  const DWORD types = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
  LSTATUS status =
      RegGetValueW(HKEY_CURRENT_USER, kRunKey, name.c_str(), types, nullptr, nullptr, &bytes);
  if (status == ERROR_FILE_NOT_FOUND) return ValueOwner::kNone;
  if (status != ERROR_SUCCESS) return ValueOwner::kOther;  // not a command: someone else's
  std::wstring command(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(command.size() * sizeof(wchar_t));
  status = RegGetValueW(HKEY_CURRENT_USER, kRunKey, name.c_str(), types, nullptr, command.data(),
                        &bytes);
  if (status == ERROR_FILE_NOT_FOUND) return ValueOwner::kNone;
  if (status != ERROR_SUCCESS) return ValueOwner::kOther;
  command.resize(wcsnlen(command.c_str(), command.size()));
  return FileIdOf(ProgramOf(command)) == self ? ValueOwner::kOurs : ValueOwner::kOther;
}

void WriteLogonValue(const std::wstring& name, const std::wstring& path) {
  constexpr wchar_t kOperation[] = L"Could not register the blocker to start at logon.";
  const qx::win::RegKey key = OpenRunKey(kOperation);
  const std::wstring command = L"\"" + path + L"\"";
  const LSTATUS status = RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ,
                                        reinterpret_cast<const BYTE*>(command.c_str()),
                                        static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
  if (status != ERROR_SUCCESS) qx::win::ThrowError(kOperation, static_cast<DWORD>(status));
}

std::wstring RegisterAtLogon(const std::wstring& title, const std::wstring& path,
                             const FileId& self) {
  const std::optional<std::wstring> name =
      ChooseLogonName(title, [&](const std::wstring& n) { return OwnerOfLogonValue(n, self); });
  if (!name) {
    throw Failure(
        L"Could not register the blocker to start at logon.",
        L"Other programs start at logon under \"" + title + L"\" and the names beside it.");
  }
  WriteLogonValue(*name, path);
  return *name;
}

void UnregisterAtLogon(const std::wstring& name, const FileId& self) {
  if (OwnerOfLogonValue(name, self) != ValueOwner::kOurs) return;
  constexpr wchar_t kOperation[] = L"Could not remove the blocker's start at logon.";
  const qx::win::RegKey key = OpenRunKey(kOperation);
  const LSTATUS status = RegDeleteValueW(key.get(), name.c_str());
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
    qx::win::ThrowError(kOperation, static_cast<DWORD>(status));
  }
}

}  // namespace qx::blocker::win
