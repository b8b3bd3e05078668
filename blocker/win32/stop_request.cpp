#include "blocker/win32/stop_request.h"

#include <optional>
#include <vector>

#include "blocker/win32/file_hold.h"
#include "blocker/win32/instance.h"
#include "blocker/win32/processes.h"
#include "blocker/win32/say.h"
#include "common/failure.h"
#include "runtime/win32/ansi_codec.h"
#include "runtime/win32/secret.h"
#include "ui/dialogs.h"
#include "ui/input_box.h"

namespace qx::blocker::win {
namespace {

// A blocker that has its mutex has its window a moment later.
constexpr ULONGLONG kStartingMs = 5000;
constexpr DWORD kLookAgainMs = 50;
constexpr UINT kAnswerTimeoutMs = 10000;

std::optional<FileId> FileOfProcess(DWORD pid) {
  const qx::win::ProcessHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!process) return std::nullopt;
  const std::optional<std::wstring> image = ImagePath(process.get());
  return image ? FileIdOf(*image) : std::nullopt;
}

std::optional<FileId> FileOfWindow(HWND window) {
  DWORD pid = 0;
  return GetWindowThreadProcessId(window, &pid) ? FileOfProcess(pid) : std::nullopt;
}

// Another process of this file, which may be a blocker still starting.
bool OtherProcessRuns(const FileId& self) {
  std::vector<ListedProcess> processes;
  try {
    processes = SystemProcesses().List();
  } catch (const Failure&) {
    return true;  // cannot tell: wait for a window
  }
  const DWORD own = GetCurrentProcessId();
  for (const ListedProcess& p : processes) {
    if (p.pid != own && FileOfProcess(p.pid) == self) return true;
  }
  return false;
}

std::wstring InSeconds(int seconds) {
  return std::to_wstring(seconds) + (seconds == 1 ? L" second." : L" seconds.");
}

// The running blocker's answer to `data`; nothing when the window is no longer
// the blocker of this file or does not answer.
std::optional<std::intptr_t> Send(HWND blocker, const FileId& self, COPYDATASTRUCT& data) {
  if (FileOfWindow(blocker) != self) return std::nullopt;
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(blocker, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                           SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &result)) {
    return std::nullopt;
  }
  return static_cast<std::intptr_t>(result);
}

// False when the window is no longer the running blocker's or does not answer.
bool RequestStop(HWND blocker, const FileId& self, const std::string& password, StopReply& reply) {
  std::vector<unsigned char> payload = StopPayload(password);
  COPYDATASTRUCT data{kStopRequestTag, static_cast<DWORD>(payload.size()), payload.data()};
  const std::optional<std::intptr_t> result = Send(blocker, self, data);
  qx::win::Wipe(payload);
  if (!result || *result == 0) return false;
  reply = Decode(*result);
  return true;
}

// What the running blocker tells its owner, to add to a question: StateNotes'
// lines, or nothing.
std::wstring AskState(HWND blocker, const FileId& self) {
  COPYDATASTRUCT data{kStateRequestTag, 0, nullptr};
  const std::optional<std::intptr_t> result = Send(blocker, self, data);
  if (!result) return L"";
  const std::wstring notes = StateNotes(*result);
  return notes.empty() ? notes : L"\n" + notes;  // a blank line before them
}

}  // namespace

HWND FindRunningBlocker(const FileId& self, bool may_be_starting) {
  const ULONGLONG deadline = GetTickCount64() + kStartingMs;
  for (;;) {
    std::vector<HWND> windows;
    std::vector<std::optional<FileId>> files;
    for (HWND w = nullptr; (w = FindWindowExW(HWND_MESSAGE, w, kControlWindowClass, nullptr));) {
      windows.push_back(w);
      files.push_back(FileOfWindow(w));
    }
    const bool late = !may_be_starting || GetTickCount64() >= deadline;
    const StartChoice choice = ChooseStart(self, files, !late && OtherProcessRuns(self), late);
    if (choice.step == StartChoice::kAsk) return windows[choice.window];
    if (choice.step == StartChoice::kBlock) return nullptr;
    Sleep(kLookAgainMs);
  }
}

int AskToStop(HINSTANCE instance, const BlockerSettings& settings, HWND blocker, const FileId& self,
              const std::wstring& title, const std::wstring& log_path) {
  const auto no_answer = [&] {
    return Say(L"The running blocker \"" + title + L"\" did not answer.", MB_ICONERROR,
               ExitCode::kNoAnswer);
  };
  const std::wstring stopped =
      L"Blocking has stopped, and \"" + title +
      L"\" will not start again at logon.\n\nWhat it stopped is listed in " + log_path + L".";
  if (settings.encrypted_password.empty()) {
    if (Ask(L"Stop blocking?", title, MB_YESNO, MB_ICONQUESTION) != IDYES) {
      return AsInt(ExitCode::kDone);
    }
    StopReply reply{};
    if (!RequestStop(blocker, self, "", reply)) return no_answer();
    return Say(stopped, MB_ICONINFORMATION);
  }
  // Without a password anyone may stop it, so only a password box warns.
  const std::wstring notes = AskState(blocker, self);
  const qx::win::WinAnsiCodec ansi;
  qx::win::WinDialogs dialogs(instance, title);
  for (;;) {
    std::wstring typed = qx::win::RunInputBox(
        instance, dialogs, nullptr,
        L"\"" + title +
            L"\" is blocking programs on this computer. Enter its password to stop it." + notes,
        title, L"", /*masked=*/true);
    if (typed.empty()) return AsInt(ExitCode::kDone);
    // A password the code page cannot hold was never set: it is simply wrong.
    auto bytes = ansi.ToAnsi(typed);
    qx::win::Wipe(typed);
    StopReply reply{StopAnswer::Wrong, 0};
    const bool answered = !bytes || RequestStop(blocker, self, *bytes, reply);
    if (bytes) qx::win::Wipe(*bytes);
    if (!answered) return no_answer();
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

}  // namespace qx::blocker::win
