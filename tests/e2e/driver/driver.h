#pragma once
// The end-to-end driver: a program started in a folder of its own, its windows
// found and read from outside, and input given as a person gives it. Every
// step waits for its visible effect, never for a fixed time.
#include <windows.h>

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/win32/handles.h"

namespace qx::e2e {

using namespace std::chrono_literals;
inline constexpr std::chrono::milliseconds kDefaultTimeout = 5s;

std::string Narrow(std::wstring_view text);

// Thrown when the program does not do what a step needs; GoogleTest reports
// the text as the test's failure.
class DriverError : public std::runtime_error {
 public:
  explicit DriverError(std::wstring_view what) : std::runtime_error(Narrow(what)) {}
};

// Polls `done` until it returns true or `timeout` passes; the last answer.
template <typename Predicate>
bool WaitUntil(Predicate&& done, std::chrono::milliseconds timeout = kDefaultTimeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return done();
    ::Sleep(2);
  }
}

// WaitUntil for a step that cannot go on without it: throws `failure` when it
// does not happen in time.
template <typename Predicate>
void Await(Predicate&& done, std::wstring_view failure,
           std::chrono::milliseconds timeout = kDefaultTimeout) {
  if (!WaitUntil(done, timeout)) throw DriverError(failure);
}

// --- Folders and processes (process.cpp)

// The whole file's bytes; empty when it cannot be read.
std::string ReadFile(const std::wstring& path);
// The names of the files in `folder`, sorted.
std::vector<std::wstring> FileNames(const std::wstring& folder);

// A temporary folder, empty or a copy of `copy_of`, removed with everything in
// it at the end. Its name holds spaces, as many real install paths do.
class AppFolder {
 public:
  explicit AppFolder(const std::wstring& copy_of = {});
  AppFolder(const AppFolder&) = delete;
  ~AppFolder();

  const std::wstring& path() const { return path_; }
  std::wstring File(std::wstring_view name) const { return path_ + L"\\" + std::wstring(name); }

 private:
  std::wstring path_;
};

// A program started for one test. The destructor ends it and everything it
// started (a job object holds them all).
class AppProcess {
 public:
  // Its folder is the working one; `flags` go to CreateProcess.
  static AppProcess Start(const std::wstring& exe, std::wstring_view arguments = {},
                          DWORD flags = 0);
  AppProcess(AppProcess&&) noexcept = default;
  ~AppProcess();

  DWORD pid() const { return pid_; }
  bool WaitForExit(std::chrono::milliseconds timeout = kDefaultTimeout) const;
  DWORD ExitCode() const;

 private:
  AppProcess() = default;

  win::ProcessHandle job_;  // ended first, with everything in it
  win::ProcessHandle process_;
  DWORD pid_ = 0;
};

// --- Windows of another process (windows.cpp)

inline constexpr wchar_t kDialogClass[] = L"#32770";
inline constexpr wchar_t kMenuClass[] = L"#32768";

// Visible top-level windows of a process (pid 0: of every process).
std::vector<HWND> TopWindows(DWORD pid);
// The first visible top-level window of `pid` whose class and title match (an
// empty filter matches anything): nullptr, or the wait throws, when none does.
HWND FindTopWindow(DWORD pid, std::wstring_view window_class, std::wstring_view title);
HWND WaitForTopWindow(DWORD pid, std::wstring_view window_class, std::wstring_view title,
                      std::chrono::milliseconds timeout = kDefaultTimeout);

HWND ChildById(HWND parent, int id);  // throws when missing
std::vector<HWND> Children(HWND parent);
std::wstring Text(HWND hwnd);  // WM_GETTEXT: GetWindowText does not cross processes
std::wstring ClassOf(HWND hwnd);
int CheckState(HWND check_box);      // BM_GETCHECK
GUITHREADINFO InputState(HWND top);  // the focus, menu mode and more of the window's thread
HWND FocusedControl(HWND top);       // the focus on the window's thread
// A sent-message round trip: the window's thread has handled what came before.
bool Answers(HWND hwnd);

// Message boxes (the text is the static with ID 65535) and input boxes.
struct BoxTexts {
  std::wstring title;
  std::wstring text;  // a message box's message, an input box's prompt
};
BoxTexts ReadBox(HWND box);
// Clicks the button and waits until the box is gone.
void PressButton(HWND box, int id);
// Types `text` over the field's text, all selected as the box opens, then
// clicks OK.
void AnswerInputBox(HWND box, std::wstring_view text);

// --- Input (input.cpp)

// Makes `top` the foreground window and waits until it has the focus.
void BringToFront(HWND top);
// Brings the control's window to the front, waits until the control is what
// the mouse hits at its centre, moves the mouse there and clicks.
void Click(HWND control);
// One key press to the focused window, with `modifier` (VK_MENU, say) held.
void PressKey(WORD vk, WORD modifier = 0);
// Types text as Unicode characters.
void TypeText(std::wstring_view text);

// Wine loses about one input in a hundred. Calls `give` and waits for
// `effect`; when it has not come and `untouched` shows the program as it was
// before (the input never arrived: a toggle given twice would flip back), gives
// it once more and says so on the test's output. A second loss throws.
void GiveInput(const std::function<void()>& give, const std::function<bool()>& effect,
               const std::function<bool()>& untouched, std::wstring_view what,
               std::chrono::milliseconds timeout = kDefaultTimeout);

// --- Screenshots (screenshot.cpp)

// Saves the window as the screen shows it, frame included, as <name>.png in
// the build's screenshots folder: once the pixel near the client area's bottom
// right corner has `background` (the window's own pixels are on screen, not
// what was there before) and two captures in a row agree.
void SaveScreenshot(HWND top, COLORREF background, const std::wstring& name);

}  // namespace qx::e2e
