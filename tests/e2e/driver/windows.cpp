#include <algorithm>
#include <filesystem>
#include <utility>

#include "tests/e2e/driver/driver.h"

namespace qx::e2e {
namespace {

// Cross-process sends give up after this long rather than hang a test.
constexpr UINT kSendTimeoutMs = 5000;
constexpr int kMessageTextId = 65535;

// A top-level window's title as the system keeps it, without a message: a
// search over every program's windows must not wait on one that is busy.
std::wstring Title(HWND hwnd) {
  wchar_t title[512] = {};
  ::InternalGetWindowText(hwnd, title, 512);
  return title;
}

std::wstring Named(HWND hwnd) {
  return hwnd ? ClassOf(hwnd) + L" \"" + Title(hwnd) + L"\"" : L"none";
}

DWORD_PTR Send(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(hwnd, message, wparam, lparam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &result) &&
      ::IsWindow(hwnd)) {  // a window closed since it was found answers nothing
    throw DriverError(Named(hwnd) + L" does not answer message " + std::to_wstring(message));
  }
  return result;
}

}  // namespace

std::string Narrow(std::wstring_view text) {
  const std::u8string utf8 = std::filesystem::path(text).u8string();
  return {utf8.begin(), utf8.end()};
}

std::vector<HWND> TopWindows(DWORD pid) {
  std::pair<DWORD, std::vector<HWND>> search{pid, {}};
  ::EnumWindows(
      [](HWND hwnd, LPARAM param) -> BOOL {
        auto& [wanted, found] = *reinterpret_cast<decltype(search)*>(param);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hwnd, &owner);
        if ((wanted == 0 || owner == wanted) && ::IsWindowVisible(hwnd)) found.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.second;
}

HWND FindTopWindow(DWORD pid, std::wstring_view window_class, std::wstring_view title) {
  const std::vector<HWND> all = TopWindows(pid);
  const auto found = std::ranges::find_if(all, [&](HWND hwnd) {
    return (window_class.empty() || ClassOf(hwnd) == window_class) &&
           (title.empty() || Title(hwnd) == title);
  });
  return found == all.end() ? nullptr : *found;
}

HWND WaitForTopWindow(DWORD pid, std::wstring_view window_class, std::wstring_view title,
                      std::chrono::milliseconds timeout) {
  HWND found = nullptr;
  if (WaitUntil([&] { return (found = FindTopWindow(pid, window_class, title)); }, timeout))
    return found;
  // What shows instead, and what has the foreground: the state the wait left.
  std::wstring scene;
  for (HWND w : TopWindows(pid)) scene += L" [" + Named(w) + L"]";
  throw DriverError(L"no window " + std::wstring(window_class) + L" \"" + std::wstring(title) +
                    L"\" appeared; shown:" + scene + L"; foreground: " +
                    Named(::GetForegroundWindow()));
}

HWND ChildById(HWND parent, int id) {
  HWND child = ::GetDlgItem(parent, id);
  if (!child) throw DriverError(Named(parent) + L" has no control with ID " + std::to_wstring(id));
  return child;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> out;
  for (HWND c = ::GetWindow(parent, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) out.push_back(c);
  return out;
}

std::wstring Text(HWND hwnd) {
  std::wstring text(Send(hwnd, WM_GETTEXTLENGTH, 0, 0) + 1, L'\0');
  text.resize(Send(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
  return text;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[256] = {};
  ::GetClassNameW(hwnd, name, 256);
  return name;
}

int CheckState(HWND check_box) { return static_cast<int>(Send(check_box, BM_GETCHECK, 0, 0)); }

GUITHREADINFO InputState(HWND top) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  ::GetGUIThreadInfo(::GetWindowThreadProcessId(top, nullptr), &info);
  return info;
}

HWND FocusedControl(HWND top) { return InputState(top).hwndFocus; }

bool Answers(HWND hwnd) {
  DWORD_PTR ignored = 0;
  return ::SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
}

BoxTexts ReadBox(HWND box) {
  if (!Answers(box)) throw DriverError(L"the box does not answer");  // it is built
  HWND text = ::GetDlgItem(box, kMessageTextId);
  if (!text) text = ::FindWindowExW(box, nullptr, L"Static", nullptr);  // an input box's prompt
  return {Text(box), text ? Text(text) : L""};
}

void PressButton(HWND box, int id) {
  const auto gone = [box] { return !::IsWindow(box) || !::IsWindowVisible(box); };
  HWND button = ChildById(box, id);
  GiveInput([&] { Click(button); }, gone, [&] { return ::IsWindowEnabled(button) != FALSE; },
            L"a click on the box's button " + Text(button));
}

void AnswerInputBox(HWND box, std::wstring_view text) {
  HWND edit = ::FindWindowExW(box, nullptr, L"Edit", nullptr);
  BringToFront(box);
  Await([&] { return edit && FocusedControl(box) == edit; }, L"the input box's field has no focus");
  // A password field gives its text to no other program: only its length shows.
  const bool masked = ::GetWindowLongW(edit, GWL_STYLE) & ES_PASSWORD;
  const auto holds = [&] {
    return masked ? std::wstring(::SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0), L'*') : Text(edit);
  };
  const std::wstring before = holds();
  const std::wstring want = masked ? std::wstring(text.size(), L'*') : std::wstring(text);
  GiveInput([&] { TypeText(text); }, [&] { return holds() == want; },
            [&] { return holds() == before; }, L"typing into the input box");
  PressButton(box, IDOK);
}

}  // namespace qx::e2e
