#include "blocker/win32/running.h"

#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "blocker/activity_log.h"
#include "blocker/notice_throttle.h"
#include "blocker/session.h"
#include "blocker/win32/file_rights.h"
#include "blocker/win32/instance.h"
#include "blocker/win32/log_file.h"
#include "blocker/win32/logon_start.h"
#include "blocker/win32/notice.h"
#include "blocker/win32/program_stopper.h"
#include "blocker/win32/say.h"
#include "runtime/win32/last_error.h"
#include "runtime/win32/secret.h"
#include "ui/dialogs.h"

namespace qx::blocker::win {
namespace {

// Any new window, a console's included, brings the list check forward
// (CheckSoon), so the timed one is for console programs that show no window
// of their own: it is slow, since each check costs more the more processes run.
constexpr UINT kScanMs = 2000;
constexpr UINT_PTR kScanTimer = 1;
constexpr UINT_PTR kSoonTimer = 2;
constexpr wchar_t kNoMemory[] =
    L"The blocker could not do all it should.\n\nThere is not enough memory.";

LocalTime Now() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

// The running blocker: the Win32 side of its session.
class Blocker final : public SessionHost, public LogonReport {
 public:
  Blocker(HINSTANCE instance, const BlockerSettings& settings, const BlockerFile& file)
      : session_(settings.encrypted_password),
        file_(file),
        stopper_(settings),
        dialogs_(instance, file.title),
        notice_(instance, dialogs_) {}

  // Runs `step`; a failure is said once per duty, on a thread of its own, and
  // blocking goes on. Nothing escapes into the system's callbacks.
  template <typename Step>
  void Attempt(Duty duty, Step&& step) {
    try {
      step();
    } catch (const Failure& f) {
      SayFailure(duty, f.Message());
    } catch (const std::exception&) {
      SayFailure(duty, kNoMemory);
    }
  }

  void SayFailure(Duty duty, const std::wstring& reason) {
    std::optional<std::wstring> text;
    {
      const std::lock_guard hold(voice_);
      text = session_.FirstFailure(duty, reason);
    }
    if (text) SayAside(*text, MB_ICONWARNING);
  }

  // Before the blocker listens, so that a second start finds it done.
  void StartAtLogon() {
    Attempt(Duty::kLogon, [&] { logon_.emplace(file_.title, file_.final_path, file_.id, *this); });
  }

  // Whether this account may change its file: logged, and told when its
  // owner comes to stop it.
  void CheckFile() {
    try {
      file_changeable_ = AccountCanChangeFile(file_.path);
      if (file_changeable_) Log(LogLine(Now(), L"This account can change its file", file_.path));
    } catch (const Failure& f) {
      Log(LogLine(Now(), L"Could not check who may change its file", f.reason()));
    }
  }

  // What a second start says in its password box.
  std::intptr_t State() const {
    return kStateAnswered | (logon_ ? logon_->State() : 0) |
           (file_changeable_ ? kFileChangeable : 0);
  }

  void Log(const std::string& line) override {
    const std::lock_guard hold(voice_);
    try {
      log_.Append(line);
    } catch (const Failure& f) {
      if (auto text = session_.FirstFailure(Duty::kLog, f.Message()))
        SayAside(*text, MB_ICONWARNING);
    }
  }

  void Mended(Mend mend, const std::wstring& what) override { Log(MendLine(Now(), mend, what)); }
  void Failed(const Failure& failure) override { SayFailure(Duty::kLogon, failure.Message()); }

  void StopWatches() override {
    if (logon_) logon_->StopWatch();
  }
  void RemoveLogonValues() override {
    if (logon_) logon_->Remove(file_.id);
  }

  // Each stopped program: a notice, and a line in the log.
  void Report(const std::vector<StoppedProgram>& programs) {
    for (const auto& p : programs) {
      if (throttle_.ShouldShow(p.name, GetTickCount64())) notice_.Show(NoticeText(p));
      Log(LogLine(Now(), p.name, LogDetail(p)));
    }
  }

  void Scan() {
    notice_.NoteWhereTheChildLooks();
    Attempt(Duty::kListCheck, [&] { Report(stopper_.Scan()); });
    Attempt(Duty::kWindowCheck, [&] { Report(stopper_.CloseRunDialogs()); });
    session_.Checked(GetTickCount64());
    if (stopper_.Waiting()) ScanSoon();  // a process too young to be judged
  }

  void ScanSoon() {
    if (!control_) return;
    const std::optional<Millis> in = session_.CheckSoon(GetTickCount64());
    if (in && !SetTimer(control_, kSoonTimer, static_cast<UINT>(*in), nullptr)) session_.SoonDone();
  }

  void TimerFired(UINT_PTR id) {
    if (id == kSoonTimer) {
      KillTimer(control_, kSoonTimer);
      session_.SoonDone();
    }
    if (id == kScanTimer || id == kSoonTimer) Scan();
  }

  void Listen(HWND control) {
    control_ = control;
    SetTimer(control_, kScanTimer, kScanMs, nullptr);
  }

  void WindowCreated(HWND window) {
    notice_.NoteWhereTheChildLooks();
    Attempt(Duty::kWindowCheck, [&] {
      DWORD pid = 0;
      GetWindowThreadProcessId(window, &pid);
      Report(stopper_.Check(pid));
      ScanSoon();  // a console window's program is not the window's own process
      // The Run dialog's controls appear after the dialog: look at their parent.
      HWND parent = GetParent(window);
      Report(stopper_.CloseIfRunDialog(parent ? parent : window));
    });
  }

  StopReply Answer(const std::string& typed) {
    return session_.Answer(typed, GetTickCount64(), Now(), *this);
  }

  const Session& session() const { return session_; }

 private:
  Session session_;
  const BlockerFile& file_;
  ProgramStopper stopper_;
  qx::win::WinDialogs dialogs_;
  Notice notice_;
  NoticeThrottle throttle_;
  std::mutex voice_;  // the log and what is said, shared with the watch's thread
  LogFile log_{file_.log_path};
  bool file_changeable_ = false;
  std::optional<LogonStart> logon_;
  HWND control_ = nullptr;
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
      if (running) running->TimerFired(wparam);
      return 0;
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
      if (running && data && data->dwData == kStateRequestTag) return running->State();
      if (!running || !data || data->dwData != kStopRequestTag) return 0;
      LRESULT result = 0;
      running->Attempt(Duty::kWindowCheck, [&] {
        std::optional<std::string> password = ReadStopPayload(data->lpData, data->cbData);
        if (!password) return;
        result = Encode(running->Answer(*password));
        qx::win::Wipe(*password);
      });
      return result;
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
// none) and ends nothing.
void RunLoop(const Blocker& blocker) {
  while (!blocker.session().stopping()) {
    MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    MSG msg;
    while (!blocker.session().stopping() && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

class EventHook {
 public:
  EventHook()
      : hook_(SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, WindowCreated, 0,
                              0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS)) {}
  ~EventHook() {
    if (hook_) UnhookWinEvent(hook_);
  }
  EventHook(const EventHook&) = delete;
  EventHook& operator=(const EventHook&) = delete;

 private:
  HWINEVENTHOOK hook_;
};

}  // namespace

int RunBlocker(HINSTANCE instance, const BlockerSettings& settings, const BlockerFile& file,
               const Unprotected& unprotected) {
  Blocker blocker{instance, settings, file};
  if (unprotected.now) blocker.SayFailure(Duty::kProtection, unprotected.now->Message());
  if (unprotected.early) blocker.SayFailure(Duty::kLateProtection, unprotected.early->Message());
  blocker.Log(LogLine(Now(), L"Blocking started", file.path));
  blocker.CheckFile();
  blocker.StartAtLogon();
  running = &blocker;
  const HWND control = CreateControlWindow(instance, InstanceName(file.id));
  if (!control) {
    running = nullptr;
    return Say(L"Could not start blocking.\n\n" + qx::win::LastErrorText(GetLastError()),
               MB_ICONERROR, ExitCode::kCannotBlock);
  }
  {
    const EventHook hook;
    blocker.Listen(control);
    blocker.Scan();
    RunLoop(blocker);
  }
  running = nullptr;
  if (const auto& still = blocker.session().still_at_logon()) Say(*still, MB_ICONWARNING);
  return AsInt(ExitCode::kDone);
}

}  // namespace qx::blocker::win
