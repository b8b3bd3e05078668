// A blocker compiled through the real window, then run: what it stops and
// what it leaves alone, its notice and log, and how its owner stops it.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "blocker/win32/instance.h"
#include "blocker/win32/logon.h"
#include "blocker/win32/notice.h"
#include "tests/e2e/quellanix_fixture.h"

namespace qx::e2e {
namespace {

constexpr wchar_t kSystem[] = L"C:\\windows\\system32\\";
constexpr wchar_t kPassword[] = L"Open Sesame";

std::wstring LogOf(const std::wstring& title) {
  wchar_t folder[MAX_PATH];
  ::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, folder);
  return std::wstring(folder) + L"\\Quellanix\\" + title + L".log";
}

std::wstring AtLogon(const std::wstring& title) {
  wchar_t value[MAX_PATH * 2] = {};
  DWORD size = sizeof(value);
  if (::RegGetValueW(HKEY_CURRENT_USER, blocker::win::kRunKey, title.c_str(), RRF_RT_REG_SZ,
                     nullptr, value, &size) != ERROR_SUCCESS) {
    return {};
  }
  return value;
}

class BlockerTest : public QuellanixTest {
 protected:
  void TearDown() override {
    QuellanixTest::TearDown();
    for (const wchar_t* title : {L"Guard", L"Open"}) {
      ::DeleteFileW(LogOf(title).c_str());
      HKEY run = nullptr;
      if (::RegOpenKeyExW(HKEY_CURRENT_USER, blocker::win::kRunKey, 0, KEY_SET_VALUE, &run) == 0) {
        ::RegDeleteValueW(run, title);
        ::RegCloseKey(run);
      }
    }
  }

  // Ticks `keys`, sets `password` (none when empty) and compiles as `title`.
  void Compile(std::initializer_list<const char*> keys, const std::wstring& password,
               const std::wstring& title) {
    for (const char* key : keys) Click(Box(EntryIndex(key)));
    if (!password.empty()) {
      ChooseMenuItem(L'F', L'P');
      AnswerInputBox(WaitForTopWindow(pid(), kDialogClass, L""), password);
      Answer(pid(), IDOK);
    }
    ChooseMenuItem(L'F', L'C');
    if (FinishCompile(pid(), !password.empty(), title) != L"Compile Complete") {
      throw DriverError(L"the compile failed");
    }
  }

  // Starts the compiled blocker and waits until it listens.
  AppProcess CompileAndStart(std::initializer_list<const char*> keys, const std::wstring& password,
                             const std::wstring& title) {
    Compile(keys, password, title);
    AppProcess blocker = AppProcess::Start(folder().File(title + L".exe"));
    if (!WaitUntil([] { return ControlWindow() != nullptr; }, 20s)) {
      throw DriverError(L"the blocker did not start");
    }
    return blocker;
  }

  // Starts a program the blocker should stop: whether it ends within 5 s.
  static bool Ends(const std::wstring& exe, std::wstring_view arguments = {}, DWORD flags = 0) {
    if (::GetFileAttributesW(exe.c_str()) == INVALID_FILE_ATTRIBUTES) {
      throw DriverError(L"no program " + exe);
    }
    // Wine's CreateProcess waits for the new process to set itself up: a
    // blocker quick enough ends it before then, and the start fails.
    std::optional<AppProcess> p;
    try {
      p.emplace(AppProcess::Start(exe, arguments, flags));
    } catch (const DriverError&) {
      return true;
    }
    return p->WaitForExit(5s);
  }

  static HWND ControlWindow() {
    return ::FindWindowExW(HWND_MESSAGE, nullptr, blocker::win::kControlWindowClass, nullptr);
  }

  // Starts the same blocker again: the box its second start shows.
  HWND StartAgain(const std::wstring& title, std::optional<AppProcess>& prompt) {
    prompt.emplace(AppProcess::Start(folder().File(title + L".exe")));
    return WaitForTopWindow(prompt->pid(), kDialogClass, L"", 20s);
  }
};

TEST_F(BlockerTest, StopsTheTickedProgramsLeavesTheRestAndStopsWithThePassword) {
  AppProcess blocker =
      CompileAndStart({"Notepad", "RegEdit", "Command", "Run", "Solitaire"}, kPassword, L"Guard");
  const std::wstring path = folder().File(L"Guard.exe");
  EXPECT_EQ(AtLogon(L"Guard"), L"\"" + path + L"\"");

  // Windowed and console programs by their names, and a renamed copy by the
  // name its version resource carries, from a folder deeper than any fixed
  // buffer a path might be read into (MAX_PATH, and four times that).
  const std::wstring stand_in = std::wstring(QX_E2E_TOOLS_DIR) + L"\\qx_stand_in.exe";
  std::wstring deep = folder().path();
  while (deep.size() < 4 * MAX_PATH + 100) deep += L"\\" + std::wstring(200, L'd');
  std::filesystem::create_directories(deep);
  deep += L"\\homework.exe";
  ASSERT_TRUE(::CopyFileW(stand_in.c_str(), deep.c_str(), FALSE));
  const struct {
    std::wstring exe, arguments;
    DWORD flags;
  } blocked[] = {
      {std::wstring(kSystem) + L"notepad.exe", L"", 0},
      {L"C:\\windows\\regedit.exe", L"", 0},
      {std::wstring(kSystem) + L"cmd.exe", L"", CREATE_NEW_CONSOLE},
      {deep, L"", 0},
      // The Run dialog is closed; the program that shows it ends by itself.
      {std::wstring(kSystem) + L"rundll32.exe", L"shell32.dll,#61", 0},
  };
  for (const auto& b : blocked) EXPECT_TRUE(Ends(b.exe, b.arguments, b.flags)) << Narrow(b.exe);
  HWND notice = WaitForTopWindow(blocker.pid(), blocker::win::kNoticeWindowClass, L"");
  EXPECT_EQ(Text(Children(notice).at(0)), L"Run Dialog is blocked on this computer.");
  SaveScreenshot(notice, ::GetSysColor(COLOR_INFOBK), L"blocker_notice");
  EXPECT_EQ(TopWindows(blocker.pid()).size(), 1u);  // one notice at a time, and no other window
  const std::string log = ReadFile(LogOf(L"Guard"));
  EXPECT_NE(log.find("  Notepad  C:\\windows\\system32\\notepad.exe\r\n"), std::string::npos)
      << log;
  EXPECT_NE(log.find("  Solitaire  " + Narrow(deep)), std::string::npos) << log;
  // One opening of the Run dialog, one line, whatever its controls and the checks saw.
  const std::size_t run = log.find("  Run Dialog  ");
  EXPECT_TRUE(run != std::string::npos && run == log.rfind("  Run Dialog  ")) << log;

  // An unticked program keeps running: a console program the periodic check
  // alone can see is gone after it started, so that check has seen it too.
  AppProcess wordpad =
      AppProcess::Start(L"C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe");
  WaitForTopWindow(wordpad.pid(), L"", L"", 20s);
  EXPECT_TRUE(Ends(std::wstring(kSystem) + L"cmd.exe", L"", CREATE_NEW_CONSOLE));
  EXPECT_FALSE(wordpad.WaitForExit(0ms));

  // A second start asks for the password; a wrong one leaves it blocking.
  std::optional<AppProcess> prompt;
  HWND box = StartAgain(L"Guard", prompt);
  SaveScreenshot(box, ::GetSysColor(COLOR_BTNFACE), L"blocker_password");
  AnswerInputBox(box, L"open sesame");
  EXPECT_EQ(Answer(prompt->pid(), IDOK),
            L"The password is not correct. You can try again in 1 second.");
  PressButton(WaitForTopWindow(prompt->pid(), kDialogClass, L""), IDCANCEL);
  EXPECT_TRUE(prompt->WaitForExit());
  EXPECT_TRUE(Ends(std::wstring(kSystem) + L"notepad.exe"));

  // The right one stops it, and it no longer starts at logon. Within the
  // second after a wrong one it is asked to wait, as the box says.
  box = StartAgain(L"Guard", prompt);
  for (;;) {
    AnswerInputBox(box, kPassword);
    const std::wstring said = Answer(prompt->pid(), IDOK);
    if (said.find(L"Please try again in") == std::wstring::npos) {
      EXPECT_EQ(said.substr(0, 24), L"Blocking has stopped, an");
      break;
    }
    box = WaitForTopWindow(prompt->pid(), kDialogClass, L"");
  }
  EXPECT_TRUE(blocker.WaitForExit());
  EXPECT_EQ(AtLogon(L"Guard"), L"");
  EXPECT_FALSE(ControlWindow());
}

TEST_F(BlockerTest, WithoutAPasswordYesStopsIt) {
  AppProcess blocker = CompileAndStart({"Notepad"}, L"", L"Open");
  std::optional<AppProcess> prompt;
  HWND box = StartAgain(L"Open", prompt);
  EXPECT_EQ(ReadBox(box).text, L"Stop blocking?");
  PressButton(box, IDYES);
  EXPECT_NE(Answer(prompt->pid(), IDOK).find(L"Blocking has stopped"), std::wstring::npos);
  EXPECT_TRUE(blocker.WaitForExit());
  EXPECT_EQ(AtLogon(L"Open"), L"");
}

TEST_F(BlockerTest, ADamagedBlockerSaysSoAndBlocksNothing) {
  Compile({"Kazaa", "Notepad"}, L"", L"Guard");
  const std::wstring path = folder().File(L"Guard.exe");
  std::string file = ReadFile(path);
  const std::size_t kazaa = file.find(std::string("Kazaa\x0b\x00", 7));
  ASSERT_NE(kazaa, std::string::npos);
  file[kazaa + 7] = 1;  // a Boolean of 1: not one the builder writes
  {
    win::FileHandle out(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(
        ::WriteFile(out.get(), file.data(), static_cast<DWORD>(file.size()), &written, nullptr));
  }
  // Running before the blocker starts: a working one would end it at once.
  AppProcess notepad = AppProcess::Start(std::wstring(kSystem) + L"notepad.exe");
  WaitForTopWindow(notepad.pid(), L"", L"", 20s);
  AppProcess blocker = AppProcess::Start(path);
  HWND box = WaitForTopWindow(blocker.pid(), kDialogClass, L"", 20s);
  EXPECT_NE(ReadBox(box).text.find(L"damaged"), std::wstring::npos) << Narrow(ReadBox(box).text);
  PressButton(box, IDOK);
  EXPECT_TRUE(blocker.WaitForExit());
  EXPECT_EQ(blocker.ExitCode(), 2u);
  EXPECT_FALSE(notepad.WaitForExit(0ms));
  EXPECT_EQ(AtLogon(L"Guard"), L"");
}

}  // namespace
}  // namespace qx::e2e
