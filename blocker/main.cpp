// The blocker. Quellanix copies this template under the program title and
// appends the settings; the copy finds them through the trailer, then runs
// quietly, ending the programs its settings block, until its owner stops it
// with the password by starting it again.
#include <windows.h>

#include <exception>
#include <optional>
#include <string>

#include "blocker/exit_codes.h"
#include "blocker/win32/file_hold.h"
#include "blocker/win32/instance.h"
#include "blocker/win32/log_file.h"
#include "blocker/win32/running.h"
#include "blocker/win32/say.h"
#include "blocker/win32/stop_request.h"
#include "common/failure.h"
#include "common/path_parts.h"
#include "runtime/win32/app_facts.h"
#include "runtime/win32/last_error.h"

namespace {

using qx::blocker::ExitCode;
using qx::blocker::win::Say;

// The path with long names: started by its short path, the blocker still
// has its own title.
std::wstring LongPath(const std::wstring& path) {
  std::wstring out(32768, L'\0');
  const DWORD length = GetLongPathNameW(path.c_str(), out.data(), static_cast<DWORD>(out.size()));
  if (length == 0 || length >= out.size()) return path;
  out.resize(length);
  return out;
}

// The name the owner chose: the file's name without ".exe".
std::wstring TitleOf(const std::wstring& path) {
  const std::wstring name(qx::FileNameOf(path));
  const std::size_t dot = name.find_last_of(L'.');
  return dot == std::wstring::npos ? name : name.substr(0, dot);
}

// The reader's reasons are ASCII apart from property names taken from the file.
std::wstring Widen(const std::string& text) {
  std::wstring out;
  for (char c : text) out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return out;
}

int Run(HINSTANCE instance) {
  const std::wstring path = LongPath(qx::win::ModulePath());
  // Held from here to the end: while the blocker runs, its file stays in place.
  const qx::blocker::win::FileHold file(path);
  const std::optional<qx::SettingsResult> read = file.ReadSettings();
  if (!read) {
    return Say(L"Could not read this blocker's file \"" + path + L"\".\n\n" +
                   qx::win::LastErrorText(GetLastError()),
               MB_ICONERROR, ExitCode::kUnreadable);
  }
  const qx::SettingsResult& r = *read;
  if (r.no_settings()) {
    return Say(L"This program holds no blocker settings (" + Widen(r.reason) +
                   L").\n\nIt is the blocker template that Quellanix copies when it compiles a "
                   L"blocker. Compile a blocker with Quellanix and run that instead.",
               MB_ICONINFORMATION, ExitCode::kTemplate);
  }
  if (!r.ok()) {
    return Say(L"The settings of this blocker are damaged, so it cannot run:\n\n" +
                   Widen(r.reason) + L".\n\nCompile the blocker again with Quellanix.",
               MB_ICONERROR, ExitCode::kDamaged);
  }
  const std::wstring title = TitleOf(path);
  const qx::blocker::win::BlockerFile blocker{path, title, qx::blocker::win::LogPath(title),
                                              file.id()};
  bool any = r.settings.more.any();
  for (bool b : r.settings.block) any = any || b;
  if (!any) {
    return Say(L"\"" + blocker.title +
                   L"\" has no application ticked, so there is nothing for it to block.\n\n"
                   L"Compile it again with Quellanix and tick the applications to block.",
               MB_ICONINFORMATION, ExitCode::kNothingTicked);
  }

  // The mutex proves nothing either way: a squatter may hold its name, and a
  // blocker that found it squatted runs without it. The running blocker is
  // the one whose window a process of this file owns.
  std::optional<qx::blocker::win::InstanceLock> lock(std::in_place, blocker.id);
  if (const HWND running = qx::blocker::win::FindRunningBlocker(blocker.id, !lock->first())) {
    lock.reset();  // a box left open must not keep the name taken
    return qx::blocker::win::AskToStop(instance, r.settings, running, blocker.id, blocker.title,
                                       blocker.log_path);
  }
  return qx::blocker::win::RunBlocker(instance, r.settings, blocker);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Libraries loaded from here on come from the system's folder, never from
  // beside the blocker, where anyone who may write its folder can plant one.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  try {
    return Run(instance);
  } catch (const qx::Failure& f) {
    return Say(f.Message(), MB_ICONERROR, ExitCode::kFailed);
  } catch (const std::exception&) {
    return Say(L"The blocker could not go on.\n\nThere is not enough memory.", MB_ICONERROR,
               ExitCode::kFailed);
  }
}
