#include "blocker/win32/watcher.h"

#include "blocker/signatures.h"
#include "blocker/win32/processes.h"
#include "runtime/win32/handles.h"

namespace qx::blocker::win {
namespace {

// The Run dialog's own controls: its command field and the label before it.
constexpr int kRunComboId = 12298;
constexpr int kRunLabelId = 12305;
constexpr int kRunBrowseId = 12288;

std::uint64_t CreationTime(HANDLE process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

std::wstring FileName(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool HasChild(HWND dialog, int id, const wchar_t* window_class) {
  HWND child = GetDlgItem(dialog, id);
  wchar_t name[32] = {};
  return child && GetClassNameW(child, name, static_cast<int>(std::size(name))) &&
         lstrcmpiW(name, window_class) == 0;
}

bool IsRunDialog(HWND window) {
  wchar_t name[16] = {};
  if (!GetClassNameW(window, name, static_cast<int>(std::size(name))) ||
      lstrcmpW(name, L"#32770") != 0) {
    return false;
  }
  // Recognised by its controls, not by its title, which is translated.
  return HasChild(window, kRunComboId, L"ComboBox") && HasChild(window, kRunLabelId, L"Static") &&
         HasChild(window, kRunBrowseId, L"Button") && GetDlgItem(window, IDOK) &&
         GetDlgItem(window, IDCANCEL);
}

}  // namespace

std::vector<StoppedProgram> Watcher::Scan() {
  std::vector<StoppedProgram> stopped;
  std::set<std::pair<DWORD, std::uint64_t>> listed;
  for (const ListedProcess& p : ListProcesses()) {
    Inspect(p.pid, p.created, p.image_name, {}, stopped);
    listed.insert({p.pid, p.created});
  }
  seen_ = std::move(listed);  // what has ended is forgotten: the set stays small
  return stopped;
}

std::vector<StoppedProgram> Watcher::Check(DWORD pid) {
  std::vector<StoppedProgram> stopped;
  qx::win::ProcessHandle process(
      OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, pid));
  // A window's process is usually one seen already: only its creation time is read then.
  if (process) Inspect(pid, CreationTime(process.get()), {}, std::move(process), stopped);
  return stopped;
}

void Watcher::Inspect(DWORD pid, std::uint64_t created, std::wstring image_name,
                      qx::win::ProcessHandle process, std::vector<StoppedProgram>& stopped) {
  if (pid == 0 || !seen_.insert({pid, created}).second) return;
  if (!process) {
    process.reset(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, pid));
  }
  // A process we may not open (another user's, the system's) keeps running
  // whatever its name: it could not be ended anyway.
  if (!process) return;
  std::wstring path = ImagePath(process.get());
  if (image_name.empty()) image_name = FileName(path);
  const std::wstring original = path.empty() ? std::wstring() : OriginalFilename(path);
  const auto entry = EntryToStop(settings_, {image_name, original, pid == self_});
  if (!entry) return;
  if (TerminateProcess(process.get(), 1)) {
    stopped.push_back({*entry, path.empty() ? image_name : std::move(path)});
  }
}

std::vector<StoppedProgram> Watcher::CloseIfRunDialog(HWND window) const {
  const auto run = IndexOfKey("Run");
  if (!run || !settings_.block[*run] || !IsRunDialog(window)) return {};
  PostMessageW(window, WM_CLOSE, 0, 0);
  // Logged with the program that showed it.
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  qx::win::ProcessHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  return {{*run, process ? ImagePath(process.get()) : std::wstring()}};
}

std::vector<StoppedProgram> Watcher::CloseRunDialogs() const {
  const auto run = IndexOfKey("Run");
  if (!run || !settings_.block[*run]) return {};
  struct Walk {
    const Watcher* self;
    std::vector<StoppedProgram> closed;
  } walk{this, {}};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* w = reinterpret_cast<Walk*>(param);
        for (auto& c : w->self->CloseIfRunDialog(window)) w->closed.push_back(std::move(c));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&walk));
  return walk.closed;
}

}  // namespace qx::blocker::win
