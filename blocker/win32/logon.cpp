#include "blocker/win32/logon.h"

#include <windows.h>

#include "blocker/win32/file_hold.h"
#include "common/failure.h"
#include "runtime/win32/last_error.h"

namespace qx::blocker::win {
namespace {

constexpr wchar_t kRegister[] = L"Could not register the blocker to start at logon.";

// The program a Run command starts: its quoted first part, or all of it.
std::wstring ProgramOf(const std::wstring& command) {
  if (command.empty() || command[0] != L'"') return command;
  const std::size_t end = command.find(L'"', 1);
  return command.substr(1, end == std::wstring::npos ? std::wstring::npos : end - 1);
}

void DeleteValue(HKEY key, const std::wstring& name, const wchar_t* operation) {
  const LSTATUS status = RegDeleteValueW(key, name.c_str());
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
    qx::win::ThrowError(operation, static_cast<DWORD>(status));
  }
}

}  // namespace

qx::win::RegKey OpenUserKey(const wchar_t* path, REGSAM rights, const wchar_t* operation) {
  qx::win::RegKey key;
  const LSTATUS status =
      RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, rights, nullptr, key.put(), nullptr);
  if (status != ERROR_SUCCESS) qx::win::ThrowError(operation, static_cast<DWORD>(status));
  return key;
}

std::optional<std::wstring> ReadText(HKEY key, const std::wstring& name) {
  const DWORD types = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
  for (;;) {  // again when the value grew between the two reads
    DWORD bytes = 0;
    if (RegGetValueW(key, nullptr, name.c_str(), types, nullptr, nullptr, &bytes) !=
        ERROR_SUCCESS) {
      return std::nullopt;
    }
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    const LSTATUS status =
        RegGetValueW(key, nullptr, name.c_str(), types, nullptr, text.data(), &bytes);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) return std::nullopt;
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
  }
}

void WriteText(HKEY key, const std::wstring& name, const std::wstring& text,
               const wchar_t* operation) {
  const LSTATUS status =
      RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  if (status != ERROR_SUCCESS) qx::win::ThrowError(operation, static_cast<DWORD>(status));
}

ValueOwner OwnerOfLogonValue(HKEY run, const std::wstring& name, const FileId& self) {
  DWORD type = 0;
  if (RegQueryValueExW(run, name.c_str(), nullptr, &type, nullptr, nullptr) ==
      ERROR_FILE_NOT_FOUND) {
    return ValueOwner::kNone;
  }
  const std::optional<std::wstring> command = ReadText(run, name);
  // Not a command: someone else's.
  return command && FileIdOf(ProgramOf(*command)) == self ? ValueOwner::kOurs : ValueOwner::kOther;
}

std::wstring RegisterAtLogon(HKEY run, const std::wstring& title, const std::wstring& command,
                             const FileId& self) {
  const std::optional<std::wstring> name = ChooseLogonName(
      title, [&](const std::wstring& n) { return OwnerOfLogonValue(run, n, self); });
  if (!name) {
    throw Failure(kRegister, L"Other programs start at logon under \"" + title +
                                 L"\" and the names beside it.");
  }
  WriteText(run, *name, command, kRegister);
  return *name;
}

void UnregisterAtLogon(const std::wstring& name, const FileId& self) {
  constexpr wchar_t kOperation[] = L"Could not remove the blocker's start at logon.";
  qx::win::RegKey run;
  // Nothing of its own there (in a key it may not write, say): nothing to remove.
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, run.put()) != ERROR_SUCCESS ||
      OwnerOfLogonValue(run.get(), name, self) != ValueOwner::kOurs) {
    return;
  }
  run = OpenUserKey(kRunKey, KEY_SET_VALUE, kOperation);
  DeleteValue(run.get(), name, kOperation);
  const qx::win::RegKey startup = OpenUserKey(kStartupSwitchKey, KEY_SET_VALUE, kOperation);
  DeleteValue(startup.get(), name, kOperation);
}

}  // namespace qx::blocker::win
