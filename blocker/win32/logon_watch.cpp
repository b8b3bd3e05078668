#include "blocker/win32/logon_watch.h"

#include <utility>

#include "blocker/win32/logon.h"
#include "runtime/win32/last_error.h"

namespace qx::blocker::win {
namespace {

constexpr wchar_t kOperation[] = L"Could not watch the blocker's start at logon.";

}  // namespace

LogonWatch::LogonWatch(std::wstring name, std::wstring path, const FileId& self)
    : name_(std::move(name)), path_(std::move(path)), self_(self) {
  event_.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  if (!event_) qx::win::ThrowLastError(kOperation);
  const LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_NOTIFY, key_.put());
  if (status != ERROR_SUCCESS) qx::win::ThrowError(kOperation, static_cast<DWORD>(status));
  Arm();
}

void LogonWatch::Arm() {
  const LSTATUS status = RegNotifyChangeKeyValue(
      key_.get(), FALSE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, event_.get(), TRUE);
  if (status != ERROR_SUCCESS) qx::win::ThrowError(kOperation, static_cast<DWORD>(status));
}

bool LogonWatch::Restore() {
  if (!key_) return false;
  // Watching again first: a change made while the value is checked is not missed.
  Arm();
  if (OwnerOfLogonValue(name_, self_) == ValueOwner::kOurs) return false;
  WriteLogonValue(name_, path_);
  return true;
}

void LogonWatch::Stop() {
  // Closing the key ends the system's watch, which signals the event once more.
  key_.reset();
}

}  // namespace qx::blocker::win
