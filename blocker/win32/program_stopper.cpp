#include "blocker/win32/program_stopper.h"

#include "blocker/signatures.h"
#include "blocker/win32/desktop_windows.h"
#include "runtime/win32/handles.h"
#include "runtime/win32/window_class.h"

namespace qx::blocker::win {
namespace {

// The Run dialog's own controls: its command field, the label before it and
// its Browse button.
constexpr int kRunComboId = 12298;
constexpr int kRunLabelId = 12305;
constexpr int kRunBrowseId = 12288;

bool HasChild(HWND dialog, int id, const wchar_t* window_class) {
  return qx::win::HasWindowClass(GetDlgItem(dialog, id), window_class);
}

bool IsRunDialog(HWND window) {
  if (!qx::win::HasWindowClass(window, L"#32770")) return false;
  // Recognised by its controls, not by its title, which is translated.
  return HasChild(window, kRunComboId, L"ComboBox") && HasChild(window, kRunLabelId, L"Static") &&
         HasChild(window, kRunBrowseId, L"Button") && GetDlgItem(window, IDOK) &&
         GetDlgItem(window, IDCANCEL);
}

}  // namespace

std::vector<StoppedProgram> ProgramStopper::CloseIfRunDialog(HWND window) {
  const auto run = IndexOfKey("Run");
  if (!run || !settings_.block[*run] || !IsRunDialog(window)) return {};
  // Logged with the program that showed it, opened before the close lets it end.
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  qx::win::ProcessHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  // Asked again while it stays open, but one opening is one stop.
  PostMessageW(window, WM_CLOSE, 0, 0);
  if (!closed_.insert(window).second) return {};
  return {{std::wstring(kCatalogue[*run].caption),
           process ? ImagePath(process.get()).value_or(L"") : std::wstring(), false}};
}

std::vector<StoppedProgram> ProgramStopper::CloseRunDialogs() {
  const auto run = IndexOfKey("Run");
  if (!run || !settings_.block[*run]) return {};
  std::erase_if(closed_, [](HWND window) { return !IsWindow(window); });
  std::vector<StoppedProgram> closed;
  // On every desktop: one made for it is out of this desktop's events.
  ForEachTopWindow([&](HWND window) {
    for (auto& c : CloseIfRunDialog(window)) closed.push_back(std::move(c));
  });
  return closed;
}

}  // namespace qx::blocker::win
