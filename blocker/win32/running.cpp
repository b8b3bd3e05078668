#include "blocker/win32/running.h"

#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "blocker/activity_log.h"
#include "blocker/lockout.h"
#include "blocker/notice_throttle.h"
#include "blocker/password_check.h"
#include "blocker/win32/instance.h"
#include "blocker/win32/log_file.h"
#include "blocker/win32/logon.h"
#include "blocker/win32/logon_watch.h"
#include "blocker/win32/notice.h"
#include "blocker/win32/process_guard.h"
#include "blocker/win32/program_stopper.h"
#include "blocker/win32/say.h"
#include "common/failure.h"
#include "runtime/win32/last_error.h"
#include "runtime/win32/secret.h"
#include "ui/dialogs.h"

namespace qx::blocker::win {
namespace {

// Any new window, a console's included, brings the list check forward
// (ScanSoon), so the timed one is for console programs that show no window of
// their own: it is slow, since each check costs more the more processes run.
constexpr UINT kScanMs = 2000;
constexpr UINT_PTR kScanTimer = 1;
constexpr ULONGLONG kSoonMs = 100;  // the least time between two list checks a window brings
constexpr UINT_PTR kSoonTimer = 2;
constexpr wchar_t kNoMemory[] =
    L"The blocker could not do all it should.\n\nThere is not enough memory.";

LocalTime Now() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

// The running blocker: its settings, what it has seen, and its answers to a
// second start.
class Blocker {
 public:
  Blocker(HINSTANCE instance, const BlockerSettings& settings, const BlockerFile& file)
      : settings_(settings),
        file_(file),
        dialogs_(instance, file.title),
        notice_(instance, dialogs_) {}

  // Each failure said once; blocking goes on. Nothing escapes into the system's callbacks.
  template <typename Step>
  void Guarded(bool& said, const std::wstring& aftermath, Step&& step) {
    try {
      step();
    } catch (const Failure& f) {
      if (!std::exchange(said, true)) Say(f.Message() + aftermath, MB_ICONWARNING);
    } catch (const std::exception&) {
      if (!std::exchange(said, true)) Say(kNoMemory, MB_ICONWARNING);
    }
  }

  // Before the blocker listens, so that a second start finds it done; a
  // failure is said once blocking runs (its box does not hold blocking up).
  std::optional<std::wstring> StartAtLogon() {
    try {
      logon_name_ = RegisterAtLogon(file_.title, file_.path, file_.id);
      watch_.emplace(logon_name_, file_.path, file_.id);
    } catch (const Failure& f) {
      logon_failed_ = true;
      return f.Message() + L"\n\nBlocking goes on until you log off.";
    }
    return std::nullopt;
  }

  HANDLE LogonEvent() const { return watch_ ? watch_->event() : nullptr; }

  void RestoreLogon() {
    Guarded(logon_failed_, L"", [&] {
      if (watch_->Restore()) Log(LogonRestoredLine(Now(), watch_->name()));
    });
  }

  void Log(const std::string& line) {
    Guarded(log_failed_, L"", [&] { AppendLogLine(file_.log_path, line); });
  }

  void Stopped(const std::vector<StoppedProgram>& programs) {
    for (const auto& p : programs) {
      if (throttle_.ShouldShow(p.name, GetTickCount64())) notice_.Show(NoticeText(p));
      Log(LogLine(Now(), p.name, LogDetail(p)));
    }
  }

  void Scan() {
    notice_.NoteWhereTheChildLooks();
    Guarded(scan_failed_, L"\n\nPrograms are still stopped when their windows appear.",
            [&] { Stopped(stopper_.Scan()); });
    Guarded(other_failed_, L"", [&] { Stopped(stopper_.CloseRunDialogs()); });
    last_scan_ = GetTickCount64();
    if (stopper_.Waiting()) ScanSoon();  // a process too young to be judged
  }

  // A list check within kSoonMs of the last one, at most one pending.
  void ScanSoon() {
    if (soon_ || !control_) return;
    const ULONGLONG since = GetTickCount64() - last_scan_;
    soon_ = SetTimer(control_, kSoonTimer, static_cast<UINT>(since < kSoonMs ? kSoonMs - since : 0),
                     nullptr) != 0;
  }

  void Timer(UINT_PTR id) {
    if (id == kSoonTimer) {
      KillTimer(control_, kSoonTimer);
      soon_ = false;
    }
    if (id == kScanTimer || id == kSoonTimer) Scan();
  }

  void Listen(HWND control) {
    control_ = control;
    SetTimer(control_, kScanTimer, kScanMs, nullptr);
  }

  void WindowCreated(HWND window) {
    notice_.NoteWhereTheChildLooks();
    Guarded(other_failed_, L"", [&] {
      DWORD pid = 0;
      GetWindowThreadProcessId(window, &pid);
      Stopped(stopper_.Check(pid));
      ScanSoon();  // a console window's program is not the window's own process
      // The Run dialog's controls appear after the dialog: look at their parent.
      HWND parent = GetParent(window);
      Stopped(stopper_.CloseIfRunDialog(parent ? parent : window));
    });
  }

  StopReply Answer(const std::string& typed) {
    const ULONGLONG now = GetTickCount64();
    if (now < next_attempt_) {
      return {StopAnswer::Wait, static_cast<int>((next_attempt_ - now + 999) / 1000)};
    }
    const bool none = settings_.encrypted_password.empty();
    if (none || PasswordMatches(settings_.encrypted_password, typed)) {
      Stop();
      return {StopAnswer::Stopped, 0};
    }
    const auto delay = DelayAfterFailures(++failures_);
    next_attempt_ = now + static_cast<ULONGLONG>(delay.count()) * 1000;
    Log(WrongPasswordLine(Now(), failures_));
    return {StopAnswer::Wrong, static_cast<int>(delay.count())};
  }

  bool stopping() const { return stopping_; }
  const std::optional<Failure>& still_at_logon() const { return still_at_logon_; }

 private:
  // Off the logon list before the owner is told so, the watch first, so that
  // it does not put the value back; a failure is said once the loop has ended.
  void Stop() {
    if (watch_) watch_->Stop();
    try {
      if (!logon_name_.empty()) UnregisterAtLogon(logon_name_, file_.id);
    } catch (const Failure& f) {
      still_at_logon_ = f;
    }
    stopping_ = true;
  }

  const BlockerSettings& settings_;
  const BlockerFile& file_;
  ProgramStopper stopper_{settings_};
  qx::win::WinDialogs dialogs_;
  Notice notice_;
  NoticeThrottle throttle_;
  std::wstring logon_name_;
  std::optional<LogonWatch> watch_;
  int failures_ = 0;
  ULONGLONG next_attempt_ = 0;  // GetTickCount64 before which attempts wait
  bool stopping_ = false;
  HWND control_ = nullptr;
  ULONGLONG last_scan_ = 0;  // GetTickCount64
  bool soon_ = false;        // kSoonTimer set
  std::optional<Failure> still_at_logon_;
  bool logon_failed_ = false, log_failed_ = false, scan_failed_ = false, other_failed_ = false;
};

Blocker* running = nullptr;  // the one of this process, for the callbacks

void CALLBACK WindowCreated(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
  if (running && object == OBJID_WINDOW && window) running->WindowCreated(window);
}

// Answers stop requests and runs the scan; every other request, closing it
// included, is ignored: only the blocker itself ends its work.
LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_TIMER:
      if (running) running->Timer(wparam);
      return 0;
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
      if (!running || !data || data->dwData != kStopRequestTag) return 0;
      std::optional<std::string> password = ReadStopPayload(data->lpData, data->cbData);
      if (!password) return 0;
      const LRESULT answer = Encode(running->Answer(*password));
      qx::win::Wipe(*password);
      return answer;
    }
    case WM_CLOSE:
    case WM_DESTROY:
    case WM_NCDESTROY:
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wparam, lparam);
}

HWND CreateControlWindow(HINSTANCE instance, const std::wstring& name) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ControlProc;
  wc.hInstance = instance;
  wc.lpszClassName = kControlWindowClass;
  if (!RegisterClassExW(&wc)) return nullptr;
  // Message-only: no window of its own to show.
  return CreateWindowExW(0, wc.lpszClassName, name.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                         instance, nullptr);
}

// Until the password stops the blocker. A WM_QUIT is not its own (it posts
// none) and ends nothing; the Run key's changes come as an event.
void RunLoop(Blocker& blocker) {
  while (!blocker.stopping()) {
    HANDLE logon = blocker.LogonEvent();
    const DWORD woke = MsgWaitForMultipleObjectsEx(logon ? 1 : 0, &logon, INFINITE, QS_ALLINPUT,
                                                   MWMO_INPUTAVAILABLE);
    if (logon && woke == WAIT_OBJECT_0) {
      blocker.RestoreLogon();
      continue;
    }
    MSG msg;
    while (!blocker.stopping() && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

}  // namespace

int RunBlocker(HINSTANCE instance, const BlockerSettings& settings, const BlockerFile& file) {
  std::vector<std::wstring> warnings;
  try {
    ProtectProcess();
  } catch (const Failure& f) {
    warnings.push_back(f.Message() + L"\n\nBlocking goes on, but other programs can end it.");
  }
  Blocker blocker{instance, settings, file};
  if (auto warning = blocker.StartAtLogon()) warnings.push_back(std::move(*warning));
  running = &blocker;
  const HWND control = CreateControlWindow(instance, InstanceName(file.id));
  if (!control) {
    running = nullptr;
    return Say(L"Could not start blocking.\n\n" + qx::win::LastErrorText(GetLastError()),
               MB_ICONERROR, ExitCode::kCannotBlock);
  }
  const HWINEVENTHOOK hook =
      SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, WindowCreated, 0, 0,
                      WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
  blocker.Listen(control);
  blocker.Scan();
  for (const std::wstring& warning : warnings) Say(warning, MB_ICONWARNING);
  RunLoop(blocker);
  if (hook) UnhookWinEvent(hook);
  running = nullptr;
  if (blocker.still_at_logon()) Say(blocker.still_at_logon()->Message(), MB_ICONWARNING);
  return AsInt(ExitCode::kDone);
}

}  // namespace qx::blocker::win
