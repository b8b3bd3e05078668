#include "blocker/win32/logon_watch.h"

#include <exception>
#include <utility>
#include <vector>

#include "blocker/win32/file_hold.h"
#include "blocker/win32/logon.h"
#include "common/path_parts.h"
#include "common/text.h"
#include "runtime/win32/last_error.h"

namespace qx::blocker::win {
namespace {

constexpr wchar_t kOperation[] = L"Could not keep the blocker's start at logon.";
constexpr DWORD kCheckMs = 1000;
constexpr REGSAM kRights = KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_NOTIFY;
constexpr const wchar_t* kPaths[LogonWatch::kSlots] = {
    kRunKey, kStartupSwitchKey, kStartupFolderSwitchKey, kLayersKey, nullptr, nullptr, nullptr};
// A parent is watched for its keys' names: one of them deleted or renamed.
constexpr LogonWatch::Slot kParentOf[] = {LogonWatch::kRun, LogonWatch::kRunSwitch,
                                          LogonWatch::kLayers};

std::wstring PathOf(std::size_t slot) {
  using W = LogonWatch;
  return slot < W::kOwnKeys ? kPaths[slot]
                            : std::wstring(qx::FolderOf(kPaths[kParentOf[slot - W::kOwnKeys]]));
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

// Whether the key now at `path` holds `name` = `text`, read as any program would.
bool PathHolds(const wchar_t* path, const std::wstring& name, const std::wstring& text) {
  qx::win::RegKey key;
  return RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS &&
         ReadText(key.get(), name) == text;
}

// A switch of the system's Startup lists put back on: no value means on.
void SwitchOn(HKEY key, const std::wstring& name, Mend mend, LogonReport& report) {
  if (!SwitchedOff(ReadBytes(key, name))) return;
  Delete(key, name);
  report.Mended(mend, name);
}

}  // namespace

LogonWatch::LogonWatch(OwnStarts starts, std::wstring title, std::wstring target,
                       const FileId& self, LogonReport& report)
    : starts_(std::move(starts)),
      title_(std::move(title)),
      target_(std::move(target)),
      self_(self),
      report_(report) {
  for (Slot slot : {kLayers, kLayersParent}) Open(slot);
  if (!starts_.run_name.empty()) {
    for (Slot slot : {kRun, kRunSwitch, kRunParent, kSwitchParent}) Open(slot);
  }
  if (starts_.shortcut) StartFromFolder();
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

// The key at the slot's path, made when missing, held with the rights its
// list allows (one that refuses writing is still watched, and said when a
// mend needs it). Nothing is held when it refuses even watching.
LSTATUS LogonWatch::Reopen(std::size_t slot) {
  LSTATUS status = ERROR_SUCCESS;
  for (REGSAM rights : {slot < kOwnKeys ? kRights : KEY_NOTIFY,
                        REGSAM{KEY_QUERY_VALUE | KEY_NOTIFY}, REGSAM{KEY_NOTIFY}}) {
    qx::win::RegKey key;
    status = RegCreateKeyExW(HKEY_CURRENT_USER, PathOf(slot).c_str(), 0, nullptr, 0, rights,
                             nullptr, key.put(), nullptr);
    if (status == ERROR_SUCCESS) {
      keys_[slot] = std::move(key);
      break;
    }
  }
  return status;
}

void LogonWatch::Open(Slot slot) {
  const LSTATUS status = Reopen(slot);
  if (status != ERROR_SUCCESS && status != ERROR_ACCESS_DENIED) {
    qx::win::ThrowError(kOperation, static_cast<DWORD>(status));
  }
  if (changed_[slot]) return;
  changed_[slot].reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  if (!changed_[slot]) qx::win::ThrowLastError(kOperation);
}

// Its shortcut watched from here on: the folder it is in, and its switch.
void LogonWatch::StartFromFolder() {
  for (Slot slot : {kFolderSwitch, kSwitchParent}) Open(slot);
  WatchFolder();
  from_folder_ = true;
}

// A folder that cannot be watched is still checked every second.
void LogonWatch::WatchFolder() {
  folder_changed_.reset(FindFirstChangeNotificationW(
      std::wstring(qx::FolderOf(starts_.shortcut->path)).c_str(), FALSE,
      FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE));
}

void LogonWatch::Arm() {
  constexpr DWORD kChanges =
      REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET | REG_NOTIFY_CHANGE_SECURITY;
  const auto notify = [&](std::size_t i) {
    return RegNotifyChangeKeyValue(keys_[i].get(), FALSE, kChanges, changed_[i].get(), TRUE);
  };
  LSTATUS failed = ERROR_SUCCESS;
  for (std::size_t i = 0; i < kSlots; ++i) {
    if (!keys_[i]) continue;
    LSTATUS status = notify(i);
    if (status == ERROR_KEY_DELETED) {  // the key made again in its place is watched instead
      status = Reopen(i);
      if (status == ERROR_SUCCESS) status = notify(i);
    }
    if (failed == ERROR_SUCCESS) failed = status;
  }
  if (folder_changed_) FindNextChangeNotification(folder_changed_.get());
  if (failed != ERROR_SUCCESS) qx::win::ThrowError(kOperation, static_cast<DWORD>(failed));
}

void LogonWatch::Watch() {
  for (;;) {
    std::vector<HANDLE> waits{stop_.get()};
    for (const auto& e : changed_) {
      if (e) waits.push_back(e.get());
    }
    if (folder_changed_) waits.push_back(folder_changed_.get());
    if (WaitForMultipleObjects(static_cast<DWORD>(waits.size()), waits.data(), FALSE, kCheckMs) ==
        WAIT_OBJECT_0) {
      return;
    }
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

// The key at its slot's path now (made again when it was removed or
// renamed), in `fresh`; else, when its list no longer lets this account open
// it, the one held since the start (`refused`). The key held stays: closing
// a key watched signals its watch.
HKEY LogonWatch::Current(Slot slot, qx::win::RegKey& fresh, bool* refused) {
  const LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, kPaths[slot], 0, nullptr, 0, kRights,
                                         nullptr, fresh.put(), nullptr);
  if (refused) *refused = status == ERROR_ACCESS_DENIED;
  if (status == ERROR_SUCCESS) return fresh.get();
  if (status != ERROR_ACCESS_DENIED) qx::win::ThrowError(kOperation, static_cast<DWORD>(status));
  return keys_[slot].get();
}

void LogonWatch::MendRun() {
  bool refused = false;
  qx::win::RegKey fresh;
  HKEY run = Current(kRun, fresh, &refused);
  if (ReadText(run, starts_.run_name) != starts_.command) {
    try {
      WriteText(run, starts_.run_name, starts_.command, kOperation);
      report_.Mended(Mend::kRestored, starts_.run_name);
    } catch (const Failure&) {
      if (!refused) throw;  // else the key held is gone: the Startup folder below
    }
  }
  // The key held may no longer be the one under its name, which this account
  // may not write: the Startup folder then.
  if (refused && !starts_.shortcut && !PathHolds(kRunKey, starts_.run_name, starts_.command)) {
    starts_.shortcut = AddStartupShortcut(title_, target_, self_);
    StartFromFolder();
    report_.Mended(Mend::kFromFolder, starts_.shortcut->path);
  }
  SwitchOn(Current(kRunSwitch, fresh), starts_.run_name, Mend::kSwitchedOn, report_);
}

void LogonWatch::MendAll() {
  if (!starts_.run_name.empty()) MendRun();
  qx::win::RegKey fresh;
  if (const auto& s = starts_.shortcut) {
    // The user's Startup folder put elsewhere: the shortcut follows it.
    const std::wstring folder = StartupFolder();
    if (!folder.empty() && !EqualsIgnoringAsciiCase(folder, qx::FolderOf(s->path))) {
      const Shortcut left = *s;
      starts_.shortcut = AddStartupShortcut(title_, target_, self_);
      WatchFolder();
      RemoveShortcut(left);
      report_.Mended(Mend::kFromFolder, s->path);
    }
    const std::optional<std::string> now = ReadWholeFile(s->path);
    // One held open by another program is not changed: it is there at logon.
    if (now ? *now != s->bytes : GetFileAttributesW(s->path.c_str()) == INVALID_FILE_ATTRIBUTES) {
      folder_changed_.reset();  // a folder removed stays, unusable, until its last handle goes
      try {
        RestoreShortcut(*s);
      } catch (const Failure&) {
        // Refused while its folder was going, say: said when the next check fails too.
        if (!std::exchange(restore_failed_, true)) return;
        throw;
      }
      restore_failed_ = false;
      WatchFolder();
      report_.Mended(Mend::kShortcutRestored, s->path);
    }
    SwitchOn(Current(kFolderSwitch, fresh), std::wstring(qx::FileNameOf(s->path)),
             Mend::kFolderSwitchedOn, report_);
  }
  HKEY layers = Current(kLayers, fresh);
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
