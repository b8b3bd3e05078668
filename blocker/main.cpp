// The blocker. Quellanix copies this template under the program title and
// appends the settings; the copy finds them through the trailer, then runs
// quietly, ending the programs its settings block, until its owner stops it
// with the password by starting it again.
#include <windows.h>

#include <optional>
#include <string>

#include "blocker/activity_log.h"
#include "blocker/lockout.h"
#include "blocker/password_check.h"
#include "blocker/win32/file_bytes.h"
#include "blocker/win32/instance.h"
#include "blocker/win32/log_file.h"
#include "blocker/win32/logon.h"
#include "blocker/win32/notice.h"
#include "blocker/win32/watcher.h"
#include "common/failure.h"
#include "format/settings_reader.h"
#include "runtime/win32/ansi_codec.h"
#include "runtime/win32/app_facts.h"
#include "runtime/win32/handles.h"
#include "runtime/win32/last_error.h"
#include "ui/dialogs.h"
#include "ui/input_box.h"

namespace {

using qx::blocker::win::StopAnswer;
using qx::blocker::win::StopReply;

constexpr wchar_t kCaption[] = L"Quellanix Blocker";
// Any new window, a console's included, brings the list check forward
// (ScanSoon), so the timed one is for console programs that show no window of
// their own: it is slow, since each check costs more the more processes run.
constexpr UINT kScanMs = 2000;
constexpr UINT_PTR kScanTimer = 1;
constexpr ULONGLONG kSoonMs = 100;  // the least time between two list checks a window brings
constexpr UINT_PTR kSoonTimer = 2;

// The name the owner chose: the file's name without ".exe".
std::wstring TitleOf(const std::wstring& path) {
  std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
  const std::size_t dot = name.find_last_of(L'.');
  return dot == std::wstring::npos ? name : name.substr(0, dot);
}

// The reader's reasons are ASCII apart from property names taken from the file.
std::wstring Widen(const std::string& text) {
  std::wstring out;
  for (char c : text) out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return out;
}

int Say(const std::wstring& text, UINT icon, int code = 0) {
  MessageBoxW(nullptr, text.c_str(), kCaption, MB_OK | icon | MB_SETFOREGROUND);
  return code;
}

// The running blocker: its settings, what it has seen, and its answers to a
// second start.
struct Blocker {
  HINSTANCE instance;
  qx::BlockerSettings settings;
  std::wstring path, title, log_path;
  qx::blocker::win::Watcher watcher{settings};
  qx::win::WinDialogs dialogs{instance, title};
  qx::blocker::win::Notice notice{instance, dialogs};
  HWND control = nullptr;
  int failures = 0;
  ULONGLONG next_attempt = 0;  // GetTickCount64 before which attempts wait
  std::optional<qx::Failure> still_at_logon{};
  bool log_failed = false;
  bool scan_failed = false;
  ULONGLONG last_scan = 0;  // GetTickCount64
  bool soon = false;        // kSoonTimer set

  void Stopped(const std::vector<qx::blocker::win::StoppedProgram>& programs) {
    for (const auto& p : programs) {
      const std::wstring caption(qx::kCatalogue[p.entry].caption);
      notice.Show(caption + L" is blocked on this computer.");
      SYSTEMTIME t{};
      GetLocalTime(&t);
      try {
        qx::blocker::win::AppendLogLine(
            log_path,
            qx::blocker::LogLine({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond},
                                 caption, p.path));
      } catch (const qx::Failure& f) {
        // Said once; blocking goes on without the log.
        if (!std::exchange(log_failed, true)) Say(f.Message(), MB_ICONWARNING);
      }
    }
  }

  void Scan() {
    try {
      Stopped(watcher.Scan());
    } catch (const qx::Failure& f) {
      if (!std::exchange(scan_failed, true)) {
        Say(f.Message() + L"\n\nPrograms are still stopped when their windows appear.",
            MB_ICONWARNING);
      }
    }
    Stopped(watcher.CloseRunDialogs());
    last_scan = GetTickCount64();
    if (watcher.Waiting()) ScanSoon();  // a process too young to be judged
  }

  void ScanSoon() {
    if (soon) return;
    const ULONGLONG since = GetTickCount64() - last_scan;
    soon = SetTimer(control, kSoonTimer, static_cast<UINT>(since < kSoonMs ? kSoonMs - since : 0),
                    nullptr) != 0;
  }

  StopReply Answer(const std::string& typed) {
    const ULONGLONG now = GetTickCount64();
    if (now < next_attempt) {
      return {StopAnswer::Wait, static_cast<int>((next_attempt - now + 999) / 1000)};
    }
    const bool none = settings.encrypted_password.empty();
    if (none || qx::blocker::PasswordMatches(settings.encrypted_password, typed)) {
      return {StopAnswer::Stopped, 0};
    }
    const auto delay = qx::blocker::DelayAfterFailures(++failures);
    next_attempt = now + static_cast<ULONGLONG>(delay.count()) * 1000;
    return {StopAnswer::Wrong, static_cast<int>(delay.count())};
  }
};

Blocker* running = nullptr;  // the one of this process, for the callbacks

void CALLBACK WindowCreated(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
  if (!running || object != OBJID_WINDOW || !window) return;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  running->Stopped(running->watcher.Check(pid));
  running->ScanSoon();  // a console window's program is not the window's own process
  // The Run dialog's controls appear after the dialog: look at their parent.
  HWND parent = GetParent(window);
  running->Stopped(running->watcher.CloseIfRunDialog(parent ? parent : window));
}

LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_TIMER && (wparam == kScanTimer || wparam == kSoonTimer) && running) {
    if (wparam == kSoonTimer) {
      KillTimer(hwnd, kSoonTimer);
      running->soon = false;
    }
    running->Scan();
    return 0;
  }
  if (msg == WM_COPYDATA && running) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
    if (data->dwData != qx::blocker::win::kStopRequest) return 0;
    const StopReply reply =
        running->Answer(std::string(static_cast<const char*>(data->lpData), data->cbData));
    if (reply.answer == StopAnswer::Stopped) {
      // Off the logon list before the owner is told so; a failure is said
      // once the loop has ended.
      try {
        qx::blocker::win::UnregisterAtLogon(running->title);
      } catch (const qx::Failure& f) {
        running->still_at_logon = f;
      }
      PostQuitMessage(0);
    }
    return qx::blocker::win::Encode(reply);
  }
  return DefWindowProcW(hwnd, msg, wparam, lparam);
}

std::wstring InSeconds(int seconds) {
  return std::to_wstring(seconds) + (seconds == 1 ? L" second." : L" seconds.");
}

// A second start of a running blocker: its owner may stop it.
int AskToStop(HINSTANCE instance, const qx::BlockerSettings& settings, const std::wstring& name,
              const std::wstring& title, const std::wstring& log_path) {
  const auto no_answer = [&] {
    return Say(L"The running blocker \"" + title + L"\" did not answer.", MB_ICONERROR, 1);
  };
  const std::wstring stopped =
      L"Blocking has stopped, and \"" + title +
      L"\" will not start again at logon.\n\nWhat it stopped is listed in " + log_path + L".";
  if (settings.encrypted_password.empty()) {
    if (MessageBoxW(nullptr, L"Stop blocking?", title.c_str(),
                    MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) != IDYES) {
      return 0;
    }
    StopReply reply{};
    if (!qx::blocker::win::RequestStop(name, "", reply)) return no_answer();
    return Say(stopped, MB_ICONINFORMATION);
  }
  const qx::win::WinAnsiCodec ansi;
  qx::win::WinDialogs dialogs(instance, title);
  for (;;) {
    const std::wstring typed = qx::win::RunInputBox(
        instance, dialogs, nullptr,
        L"\"" + title + L"\" is blocking programs on this computer. Enter its password to stop it.",
        title, L"", /*masked=*/true);
    if (typed.empty()) return 0;
    // A password the code page cannot hold was never set: it is simply wrong.
    const auto bytes = ansi.ToAnsi(typed);
    StopReply reply{StopAnswer::Wrong, 0};
    if (bytes && !qx::blocker::win::RequestStop(name, *bytes, reply)) return no_answer();
    switch (reply.answer) {
      case StopAnswer::Stopped:
        return Say(stopped, MB_ICONINFORMATION);
      case StopAnswer::Wrong:
        Say(L"The password is not correct. You can try again in " + InSeconds(reply.seconds),
            MB_ICONWARNING);
        break;
      case StopAnswer::Wait:
        Say(L"After a wrong password, the next try must wait. Please try again in " +
                InSeconds(reply.seconds),
            MB_ICONWARNING);
        break;
    }
  }
}

int Run(HINSTANCE instance) {
  const std::wstring path = qx::win::ModulePath();
  qx::win::FileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       0, nullptr));
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.get(), &size)) {
    return Say(L"Could not read this blocker's file \"" + path + L"\".\n\n" +
                   qx::win::LastErrorText(GetLastError()),
               MB_ICONERROR, 3);
  }
  const qx::SettingsResult r = qx::ReadSettings(
      qx::blocker::win::FileBytes(file.get(), static_cast<std::uint64_t>(size.QuadPart)));
  file.reset();
  if (r.no_settings()) {
    return Say(L"This program holds no blocker settings (" + Widen(r.reason) +
                   L").\n\nIt is the blocker template that Quellanix copies when it compiles a "
                   L"blocker. Compile a blocker with Quellanix and run that instead.",
               MB_ICONINFORMATION, 1);
  }
  if (!r.ok()) {
    return Say(L"The settings of this blocker are damaged, so it cannot run:\n\n" +
                   Widen(r.reason) + L".\n\nCompile the blocker again with Quellanix.",
               MB_ICONERROR, 2);
  }
  const std::wstring title = TitleOf(path);
  bool any = false;
  for (bool b : r.settings.block) any = any || b;
  if (!any) {
    return Say(L"\"" + title +
                   L"\" has no application ticked, so there is nothing for it to block.\n\n"
                   L"Compile it again with Quellanix and tick the applications to block.",
               MB_ICONINFORMATION, 0);
  }

  const qx::blocker::win::InstanceLock lock(path);
  const std::wstring log_path = qx::blocker::win::LogPath(title);
  if (!lock.first()) return AskToStop(instance, r.settings, lock.name(), title, log_path);

  // Registered before the blocker listens, so a second start finds it done;
  // a failure is said once blocking runs (its box does not hold blocking up).
  std::optional<qx::Failure> not_at_logon;
  try {
    qx::blocker::win::RegisterAtLogon(title, path);
  } catch (const qx::Failure& f) {
    not_at_logon = f;
  }

  Blocker blocker{instance, r.settings, path, title, log_path};
  running = &blocker;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ControlProc;
  wc.hInstance = instance;
  wc.lpszClassName = qx::blocker::win::kControlWindowClass;
  if (!RegisterClassExW(&wc)) {
    return Say(L"Could not start blocking.\n\n" + qx::win::LastErrorText(GetLastError()),
               MB_ICONERROR, 4);
  }
  // Message-only: no window of its own to show or to close.
  blocker.control = CreateWindowExW(0, wc.lpszClassName, lock.name().c_str(), 0, 0, 0, 0, 0,
                                    HWND_MESSAGE, nullptr, instance, nullptr);
  if (!blocker.control) {
    return Say(L"Could not start blocking.\n\n" + qx::win::LastErrorText(GetLastError()),
               MB_ICONERROR, 4);
  }
  const HWINEVENTHOOK hook =
      SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, WindowCreated, 0, 0,
                      WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
  SetTimer(blocker.control, kScanTimer, kScanMs, nullptr);
  blocker.Scan();
  if (not_at_logon) {
    Say(not_at_logon->Message() + L"\n\nBlocking goes on until you log off.", MB_ICONWARNING);
  }
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (hook) UnhookWinEvent(hook);
  running = nullptr;
  if (blocker.still_at_logon) Say(blocker.still_at_logon->Message(), MB_ICONWARNING);
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  try {
    return Run(instance);
  } catch (const qx::Failure& f) {
    return Say(f.Message(), MB_ICONERROR, 5);
  } catch (const std::exception&) {
    return Say(L"The blocker could not go on.\n\nThere is not enough memory.", MB_ICONERROR, 5);
  }
}
