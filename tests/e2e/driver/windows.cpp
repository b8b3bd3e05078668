#include <array>

#include "tests/e2e/driver/driver.h"

namespace qx::e2e {
namespace {

// Cross-process sends give up after this long rather than hang a test.
constexpr UINT kSendTimeoutMs = 5000;
constexpr int kMessageTextId = 65535;

BOOL CALLBACK CollectTop(HWND hwnd, LPARAM param) {
  auto& search = *reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if ((search.first == 0 || pid == search.first) && ::IsWindowVisible(hwnd)) {
    search.second.push_back(hwnd);
  }
  return TRUE;
}

// A top-level window's title as the system keeps it, without a message: a
// search over every program's windows must not wait on one that is busy.
std::wstring Title(HWND hwnd) {
  std::array<wchar_t, 512> title{};
  const int length = ::InternalGetWindowText(hwnd, title.data(), static_cast<int>(title.size()));
  return std::wstring(title.data(), static_cast<std::size_t>(length > 0 ? length : 0));
}

std::wstring Named(HWND hwnd) {
  return hwnd ? ClassOf(hwnd) + L" \"" + Title(hwnd) + L"\"" : L"none";
}

DWORD_PTR Send(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(hwnd, message, wparam, lparam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &result)) {
    if (!::IsWindow(hwnd)) return 0;  // closed since it was found
    throw DriverError(Named(hwnd) + L" does not answer message " + std::to_wstring(message));
  }
  return result;
}

}  // namespace

std::string Narrow(std::wstring_view text) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
  return out;
}

std::vector<HWND> TopWindows(DWORD pid) {
  std::pair<DWORD, std::vector<HWND>> search{pid, {}};
  ::EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&search));
  return search.second;
}

HWND FindTopWindow(DWORD pid, std::wstring_view window_class, std::wstring_view title) {
  for (HWND hwnd : TopWindows(pid)) {
    if ((window_class.empty() || ClassOf(hwnd) == window_class) &&
        (title.empty() || Title(hwnd) == title)) {
      return hwnd;
    }
  }
  return nullptr;
}

HWND WaitForTopWindow(DWORD pid, std::wstring_view window_class, std::wstring_view title,
                      std::chrono::milliseconds timeout) {
  HWND found = nullptr;
  if (WaitUntil([&] { return (found = FindTopWindow(pid, window_class, title)) != nullptr; },
                timeout)) {
    return found;
  }
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
  std::array<wchar_t, 256> name{};
  const int length = ::GetClassNameW(hwnd, name.data(), static_cast<int>(name.size()));
  return std::wstring(name.data(), static_cast<std::size_t>(length > 0 ? length : 0));
}

RECT RectInParent(HWND child) {
  RECT r{};
  ::GetWindowRect(child, &r);
  ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int CheckState(HWND check_box) { return static_cast<int>(Send(check_box, BM_GETCHECK, 0, 0)); }

HWND FocusedControl(HWND top) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(top, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

bool Answers(HWND hwnd) {
  DWORD_PTR ignored = 0;
  return ::SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
}

BoxTexts ReadBox(HWND box) {
  if (!Answers(box)) throw DriverError(L"the box does not answer");  // it is built
  BoxTexts texts{Text(box), {}};
  if (HWND message = ::GetDlgItem(box, kMessageTextId)) return {texts.title, Text(message)};
  for (HWND c : Children(box)) {  // an input box: its prompt is the first text shown
    if (ClassOf(c) == L"Static" && ::IsWindowVisible(c) && !(texts.text = Text(c)).empty()) break;
  }
  return texts;
}

void PressButton(HWND box, int id) {
  Click(ChildById(box, id));
  if (!WaitUntil([&] { return !::IsWindow(box) || !::IsWindowVisible(box); })) {
    throw DriverError(L"the box stayed open after its button was clicked");
  }
}

void AnswerInputBox(HWND box, std::wstring_view text) {
  HWND edit = nullptr;
  for (HWND c : Children(box)) {
    if (ClassOf(c) == L"Edit") edit = c;
  }
  if (!edit) throw DriverError(L"the input box has no text field");
  Click(edit);
  if (!WaitUntil([&] { return FocusedControl(box) == edit; })) {
    throw DriverError(L"the input box's field did not take the focus");
  }
  ClearField(edit);
  TypeText(text);
  if (!WaitUntil([&] { return Text(edit) == text; })) {
    throw DriverError(L"the input box's field did not take the typed text");
  }
  PressButton(box, IDOK);
}

}  // namespace qx::e2e
