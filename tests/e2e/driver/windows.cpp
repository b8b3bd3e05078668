#include "tests/e2e/driver/windows.h"

#include <array>

#include "tests/e2e/driver/driver_error.h"

namespace qx::e2e {
namespace {

// Cross-process sends give up after this long rather than hang a test.
constexpr UINT kSendTimeoutMs = 5000;

struct TopSearch {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND hwnd, LPARAM param) {
  auto& search = *reinterpret_cast<TopSearch*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if ((search.pid == 0 || pid == search.pid) && ::IsWindowVisible(hwnd)) {
    search.found.push_back(hwnd);
  }
  return TRUE;
}

// A top-level window's title as the system keeps it, without a message: a
// search over every program's windows must not wait on one that is busy.
std::wstring Title(HWND hwnd) {
  std::array<wchar_t, 512> title{};
  const int length =
      ::InternalGetWindowText(hwnd, title.data(), static_cast<int>(std::size(title)));
  return std::wstring(title.data(), static_cast<std::size_t>(length > 0 ? length : 0));
}

bool TitleMatches(HWND hwnd, std::wstring_view window_class, std::wstring_view title) {
  return (window_class.empty() || ClassOf(hwnd) == window_class) &&
         (title.empty() || Title(hwnd) == title);
}

std::wstring Named(HWND hwnd) {
  if (!hwnd) return L"none";
  return ClassOf(hwnd) + L" \"" + Title(hwnd) + L"\"";
}

// What the process shows and what has the foreground: the state a failed wait
// left behind.
std::wstring Scene(DWORD pid) {
  std::wstring scene = L"; shown:";
  for (HWND w : TopWindows(pid)) scene += L" [" + Named(w) + L"]";
  return scene + L"; foreground: " + Named(::GetForegroundWindow());
}

}  // namespace

std::string Narrow(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
  return out;
}

std::vector<HWND> TopWindows(DWORD pid) {
  TopSearch search{pid, {}};
  ::EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindTopWindow(DWORD pid, std::wstring_view window_class, std::wstring_view title) {
  for (HWND hwnd : TopWindows(pid)) {
    if (TitleMatches(hwnd, window_class, title)) return hwnd;
  }
  return nullptr;
}

HWND WaitForTopWindow(DWORD pid, std::wstring_view window_class, std::wstring_view title,
                      std::chrono::milliseconds timeout) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindTopWindow(pid, window_class, title)) != nullptr; }, timeout);
  if (!found) {
    throw DriverError(L"no window of class \"" + std::wstring(window_class) + L"\" titled \"" +
                      std::wstring(title) + L"\" appeared" + Scene(pid));
  }
  return found;
}

HWND ChildById(HWND parent, int id) {
  HWND child = ::GetDlgItem(parent, id);
  if (!child) throw DriverError(L"no control with ID " + std::to_wstring(id));
  return child;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> out;
  for (HWND c = ::GetWindow(parent, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
    out.push_back(c);
  }
  return out;
}

HWND ChildByText(HWND parent, std::wstring_view window_class, std::wstring_view text) {
  // A control's text, unlike a title, lives with the control: asked for.
  for (HWND c : Children(parent)) {
    if ((window_class.empty() || ClassOf(c) == window_class) && (text.empty() || Text(c) == text)) {
      return c;
    }
  }
  return nullptr;
}

std::wstring Text(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &length)) {
    if (!::IsWindow(hwnd)) return {};  // closed since it was found
    throw DriverError(L"window does not answer WM_GETTEXTLENGTH");
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied)) {
    if (!::IsWindow(hwnd)) return {};
    throw DriverError(L"window does not answer WM_GETTEXT");
  }
  text.resize(copied);
  return text;
}

std::wstring ClassOf(HWND hwnd) {
  std::array<wchar_t, 256> name{};
  const int length = ::GetClassNameW(hwnd, name.data(), static_cast<int>(std::size(name)));
  return std::wstring(name.data(), static_cast<std::size_t>(length > 0 ? length : 0));
}

bool HasStyle(HWND hwnd, LONG style_bits) {
  return (::GetWindowLongW(hwnd, GWL_STYLE) & style_bits) == style_bits;
}

RECT RectInParent(HWND child) {
  RECT r{};
  ::GetWindowRect(child, &r);
  ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

SIZE ClientSize(HWND hwnd) {
  RECT r{};
  ::GetClientRect(hwnd, &r);
  return {r.right - r.left, r.bottom - r.top};
}

int CheckState(HWND check_box) {
  DWORD_PTR state = 0;
  if (!::SendMessageTimeoutW(check_box, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &state)) {
    throw DriverError(L"check box does not answer BM_GETCHECK");
  }
  return static_cast<int>(state);
}

HWND FocusedControl(HWND top) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(top, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

bool Answers(HWND hwnd) {
  DWORD_PTR ignored = 0;
  return ::SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored) !=
         0;
}

void RoundTrip(HWND hwnd) {
  if (!Answers(hwnd)) throw DriverError(L"window does not answer");
}

}  // namespace qx::e2e
