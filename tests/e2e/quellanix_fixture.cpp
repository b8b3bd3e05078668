#include "tests/e2e/quellanix_fixture.h"

#include <shlobj.h>

#include <string>

#include "blocker/win32/instance.h"

namespace qx::e2e {
std::size_t EntryIndex(std::string_view bag_key) {
  if (const auto index = IndexOfKey(bag_key)) return *index;
  throw DriverError(L"no catalogue entry " + std::wstring(bag_key.begin(), bag_key.end()));
}

std::wstring Answer(DWORD pid, int button, std::chrono::milliseconds timeout) {
  HWND box = WaitForTopWindow(pid, kDialogClass, L"", timeout);
  const std::wstring text = ReadBox(box).text;
  PressButton(box, button);
  return text;
}

std::wstring FinishCompile(DWORD pid, bool password_set, std::wstring_view title) {
  if (!password_set) Answer(pid, IDNO);
  HWND box = WaitForTopWindow(pid, kDialogClass, L"");
  title.empty() ? PressButton(box, IDOK) : AnswerInputBox(box, title);
  return Answer(pid, IDOK, 20s);
}

std::wstring LogOf(const std::wstring& title) {
  wchar_t folder[MAX_PATH];
  ::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, folder);
  return std::wstring(folder) + L"\\Quellanix\\" + title + L".log";
}

HWND ControlWindow() {
  return ::FindWindowExW(HWND_MESSAGE, nullptr, blocker::win::kControlWindowClass, nullptr);
}

AppProcess StartBlocker(const std::wstring& path) {
  AppProcess blocker = AppProcess::Start(path);
  Await([] { return ControlWindow() != nullptr; }, L"the blocker did not start", 20s);
  return blocker;
}

bool Ends(const std::wstring& exe, std::wstring_view arguments, DWORD flags) {
  if (::GetFileAttributesW(exe.c_str()) == INVALID_FILE_ATTRIBUTES)
    throw DriverError(L"no program " + exe);
  // Wine's CreateProcess waits for the new process to set itself up: a
  // blocker quick enough ends it before then, and the start fails.
  try {
    return AppProcess::Start(exe, arguments, flags).WaitForExit(5s);
  } catch (const DriverError&) {
    return true;
  }
}

void QuellanixTest::SetUp() {
  folder_.emplace(QX_E2E_DIST_DIR);
  app_.emplace(AppProcess::Start(folder_->File(L"Quellanix.exe")));
  // Quick once the wine server runs; the first start of a run may take longer.
  main_ = WaitForTopWindow(app_->pid(), win::kMainWindowClass, L"", 20s);
}

// Everything the program started is ended before a subclass cleans up after it.
void QuellanixTest::TearDown() {
  app_.reset();
  folder_.reset();
}

HWND QuellanixTest::Header(Group group) const {
  for (std::size_t i = 0; i < kGroupCount; ++i) {
    if (kGroupHeaders[i].group == group) return Control(win::HeaderId(i));
  }
  throw DriverError(L"no header for that group");
}

BoxStates QuellanixTest::ReadBoxStates() const {
  BoxStates seen{};
  for (std::size_t i = 0; i < kEntryCount; ++i) seen[i] = CheckState(Box(i));
  return seen;
}

void QuellanixTest::GiveForStates(const std::function<void()>& input, const BoxStates& expected,
                                  std::wstring_view what) {
  const BoxStates before = ReadBoxStates();
  GiveInput(
      input, [&] { return ReadBoxStates() == expected; }, [&] { return ReadBoxStates() == before; },
      what);
}

HWND QuellanixTest::ClickForBox(HWND control) {
  // A box shown disables the main window, which still takes input when the click was lost.
  GiveInput([&] { Click(control); },
            [&] { return FindTopWindow(pid(), kDialogClass, L"") != nullptr; },
            [&] { return ::IsWindowEnabled(main_) != FALSE; }, L"a click on " + Text(control));
  return WaitForTopWindow(pid(), kDialogClass, L"");
}

void QuellanixTest::ChooseMenuItem(wchar_t menu_key, wchar_t item_key) {
  const auto menu_open = [&] { return FindTopWindow(pid(), kMenuClass, L"") != nullptr; };
  const auto menu_mode = [&] { return (InputState(main_).flags & GUI_INMENUMODE) != 0; };
  // A menu still closing from the last choice would be taken for the new one.
  WaitUntil([&] { return !menu_open() && !menu_mode(); });
  // F10 opens the menu bar as Alt does, with no modifier to hold; given again
  // only when the menu bar is no longer in menu mode. The item key must reach
  // the open menu, not the window.
  const auto open = [&] {
    if (!menu_mode()) {
      BringToFront(main_);
      PressKey(VK_F10);
      WaitUntil(menu_mode);
    }
    PressKey(static_cast<WORD>(menu_key));
  };
  GiveInput(
      open, menu_open, [&] { return !menu_open(); }, L"F10 and the menu's access key");
  PressKey(static_cast<WORD>(item_key));
}

}  // namespace qx::e2e
