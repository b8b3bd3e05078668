#include "blocker/win32/logon_watch.h"

#include <exception>
#include <utility>
#include <vector>

#include "blocker/win32/file_hold.h"
#include "blocker/win32/logon.h"
#include "runtime/win32/last_error.h"

namespace qx::blocker::win {
namespace {

constexpr wchar_t kOperation[] = L"Could not keep the blocker's start at logon.";
constexpr DWORD kCheckMs = 1000;
constexpr REGSAM kRights = KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_NOTIFY;
constexpr const wchar_t* kPaths[] = {kRunKey, kStartupSwitchKey, kLayersKey};

// The key at `path` now (made again when it was removed or renamed), else the
// one held since the start, when its list no longer lets this account open it.
HKEY Current(const wchar_t* path, const qx::win::RegKey& held, qx::win::RegKey& fresh) {
  const LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, kRights, nullptr,
                                         fresh.put(), nullptr);
  if (status == ERROR_SUCCESS) return fresh.get();
  if (status != ERROR_ACCESS_DENIED) qx::win::ThrowError(kOperation, static_cast<DWORD>(status));
  return held.get();
}

std::vector<unsigned char> ReadBytes(HKEY key, const std::wstring& name) {
  std::vector<unsigned char> bytes(64);
  DWORD size = static_cast<DWORD>(bytes.size());
  if (RegQueryValueExW(key, name.c_str(), nullptr, nullptr, bytes.data(), &size) != ERROR_SUCCESS) {
    return {};
  }
  bytes.resize(size);
  return bytes;
}

void Delete(HKEY key, const std::wstring& name) {
  const LSTATUS status = RegDeleteValueW(key, name.c_str());
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
    qx::win::ThrowError(kOperation, static_cast<DWORD>(status));
  }
}

// The names of `key`'s values.
std::vector<std::wstring> ValueNames(HKEY key) {
  std::vector<std::wstring> names;
  for (DWORD i = 0;; ++i) {
    std::wstring name(16384, L'\0');  // the longest value name there can be
    DWORD length = static_cast<DWORD>(name.size());
    const LSTATUS status =
        RegEnumValueW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) break;
    name.resize(length);
    names.push_back(std::move(name));
  }
  return names;
}

}  // namespace

LogonWatch::LogonWatch(qx::win::RegKey run, std::wstring name, std::wstring command,
                       const FileId& self, LogonReport& report)
    : name_(std::move(name)), command_(std::move(command)), self_(self), report_(report) {
  keys_[0] = std::move(run);
  for (std::size_t i = 1; i < keys_.size(); ++i)
    keys_[i] = OpenUserKey(kPaths[i], kRights, kOperation);
  for (auto& e : changed_) {
    e.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!e) qx::win::ThrowLastError(kOperation);
  }
  stop_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!stop_) qx::win::ThrowLastError(kOperation);
  Arm();
  thread_.emplace([this] { Watch(); });
}

void LogonWatch::Stop() {
  if (!thread_) return;
  SetEvent(stop_.get());
  thread_.reset();
}

void LogonWatch::Arm() {
  constexpr DWORD kChanges =
      REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET | REG_NOTIFY_CHANGE_SECURITY;
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    LSTATUS status =
        RegNotifyChangeKeyValue(keys_[i].get(), FALSE, kChanges, changed_[i].get(), TRUE);
    if (status == ERROR_KEY_DELETED) {  // the key made again in its place is watched instead
      keys_[i] = OpenUserKey(kPaths[i], kRights, kOperation);
      status = RegNotifyChangeKeyValue(keys_[i].get(), FALSE, kChanges, changed_[i].get(), TRUE);
    }
    if (status != ERROR_SUCCESS) qx::win::ThrowError(kOperation, static_cast<DWORD>(status));
  }
}

void LogonWatch::Watch() {
  const HANDLE waits[] = {stop_.get(), changed_[0].get(), changed_[1].get(), changed_[2].get()};
  while (WaitForMultipleObjects(static_cast<DWORD>(std::size(waits)), waits, FALSE, kCheckMs) !=
         WAIT_OBJECT_0) {
    // Watching again first: a change made while the values are checked is not missed.
    for (void (LogonWatch::*step)() : {&LogonWatch::Arm, &LogonWatch::MendAll}) {
      try {
        (this->*step)();
      } catch (const Failure& f) {
        report_.Failed(f);
      } catch (const std::exception&) {
        report_.Failed(Failure(kOperation, L"There is not enough memory."));
      }
    }
  }
}

void LogonWatch::MendAll() {
  qx::win::RegKey fresh;
  HKEY run = Current(kRunKey, keys_[0], fresh);
  if (ReadText(run, name_) != command_) {
    WriteText(run, name_, command_, kOperation);
    report_.Mended(Mend::kRestored, name_);
  }
  HKEY startup = Current(kStartupSwitchKey, keys_[1], fresh);
  if (SwitchedOff(ReadBytes(startup, name_))) {
    Delete(startup, name_);  // no value means on
    report_.Mended(Mend::kSwitchedOn, name_);
  }
  HKEY layers = Current(kLayersKey, keys_[2], fresh);
  for (const std::wstring& file : ValueNames(layers)) {
    if (FileIdOf(file) != self_) continue;
    const std::optional<std::wstring> marks = ReadText(layers, file);
    const std::optional<std::wstring> kept = marks ? WithoutElevation(*marks) : std::nullopt;
    if (!kept) continue;
    if (kept->empty()) {
      Delete(layers, file);
    } else {
      WriteText(layers, file, *kept, kOperation);
    }
    report_.Mended(Mend::kMarkRemoved, file);
  }
}

}  // namespace qx::blocker::win
