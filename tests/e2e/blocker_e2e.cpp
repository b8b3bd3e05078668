// A blocker compiled through the real window, then run: what it stops and
// what it leaves alone, programs of its own user that hide from it or attack
// it, its notice and log, and how its owner stops it.
#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <sddl.h>  // these need windows.h first
#include <shlobj.h>
#include <tlhelp32.h>
// clang-format on

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "blocker/exit_codes.h"
#include "blocker/logon_name.h"
#include "blocker/stop_protocol.h"
#include "blocker/win32/file_hold.h"
#include "blocker/win32/instance.h"
#include "blocker/win32/logon.h"
#include "blocker/win32/notice.h"
#include "tests/e2e/quellanix_fixture.h"

namespace qx::e2e {
namespace {

constexpr wchar_t kSystem[] = L"C:\\windows\\system32\\";
constexpr wchar_t kPassword[] = L"Open Sesame";
const std::wstring kNotepad = std::wstring(kSystem) + L"notepad.exe";
const std::wstring kStandIn = std::wstring(QX_E2E_TOOLS_DIR) + L"\\qx_stand_in.exe";
constexpr char kNotepadLine[] = "  Notepad  C:\\windows\\system32\\notepad.exe\r\n";

std::wstring AtLogon(const std::wstring& title) {
  wchar_t value[MAX_PATH * 2] = {};
  DWORD size = sizeof(value);
  ::RegGetValueW(HKEY_CURRENT_USER, blocker::win::kRunKey, title.c_str(),
                 RRF_RT_REG_SZ | RRF_ZEROONFAILURE, nullptr, value, &size);
  return value;
}

// Whether the log of "Guard" holds `text`.
bool Logged(std::string_view text) {
  return ReadFile(LogOf(L"Guard")).find(text) != std::string::npos;
}

std::vector<DWORD> ThreadsOf(DWORD pid) {
  std::vector<DWORD> ids;
  const win::FileHandle threads(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  THREADENTRY32 t{sizeof t, 0, 0, 0, 0, 0, 0};
  for (BOOL more = ::Thread32First(threads.get(), &t); more;
       more = ::Thread32Next(threads.get(), &t)) {
    if (t.th32OwnerProcessID == pid) ids.push_back(t.th32ThreadID);
  }
  return ids;
}

std::wstring StartupFolder() {
  wchar_t folder[MAX_PATH];
  ::SHGetFolderPathW(nullptr, CSIDL_STARTUP, nullptr, 0, folder);
  return folder;
}

// Through `key`, opened with WRITE_DAC: no program may set its values.
void DenyWritingValues(HKEY key) {
  PSECURITY_DESCRIPTOR deny = nullptr;
  ::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(D;;0x2;;;WD)(A;;KA;;;WD)",
                                                         SDDL_REVISION_1, &deny, nullptr);
  ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, deny);
  ::LocalFree(deny);
}

void SetText(const wchar_t* key, const wchar_t* name, const std::wstring& text) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// A Startup switch set off, as the system's Startup list does.
void SwitchOff(const wchar_t* key, const wchar_t* name) {
  const unsigned char off[12] = {3};
  ::RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_BINARY, off, sizeof off);
}

// Starts `exe` as a child would: `shielded` by a DACL that lets nobody open it
// or its thread, from its start; `held`, its file opened exclusively; left
// suspended unless `run`, for the blocker's timed check to find. Whether it
// ends within 5 s (or before its start returns, as a quick blocker makes it).
bool EndsHiding(const std::wstring& exe, std::wstring_view arguments, bool shielded, bool held,
                bool run, const wchar_t* desktop) {
  ACL empty{ACL_REVISION, 0, sizeof(ACL), 0, 0};
  SECURITY_DESCRIPTOR nobody{};
  ::InitializeSecurityDescriptor(&nobody, SECURITY_DESCRIPTOR_REVISION);
  ::SetSecurityDescriptorDacl(&nobody, TRUE, &empty, FALSE);
  SECURITY_ATTRIBUTES shield{sizeof shield, &nobody, FALSE};
  std::wstring command = L"\"" + exe + L"\" " + std::wstring(arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.lpDesktop = const_cast<wchar_t*>(desktop);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(exe.c_str(), command.data(), shielded ? &shield : nullptr,
                        shielded ? &shield : nullptr, FALSE, CREATE_SUSPENDED | CREATE_NEW_CONSOLE,
                        nullptr, nullptr, &startup, &info))
    return true;
  const win::ProcessHandle process(info.hProcess), thread(info.hThread);
  const win::FileHandle hold(
      held ? ::CreateFileW(exe.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, 0) : 0);
  if (run) ::ResumeThread(info.hThread);
  const bool ended = ::WaitForSingleObject(info.hProcess, 5000) == WAIT_OBJECT_0;
  ::TerminateProcess(info.hProcess, 1);
  return ended;
}

class BlockerTest : public QuellanixTest {
 protected:
  void TearDown() override {
    QuellanixTest::TearDown();
    for (const wchar_t* title : {L"Guard", L"Open", L"Guard (2)"}) {
      std::filesystem::remove_all(LogOf(title));
      for (const wchar_t* key : {blocker::kRunKey, blocker::kStartupSwitchKey}) {
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, key, title);
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
    if (FinishCompile(pid(), !password.empty(), title) != L"Compile Complete")
      throw DriverError(L"the compile failed");
  }

  AppProcess Start(const std::wstring& title) {
    return StartBlocker(folder().File(title + L".exe"));
  }

  // The process that blocks: the one that owns the control window.
  static DWORD Blocking() {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(ControlWindow(), &pid);
    return pid;
  }

  // Starts the same blocker again: the box its second start shows, from the
  // process `asking_` it started again.
  HWND StartAgain(const std::wstring& title, std::optional<AppProcess>& prompt,
                  std::wstring_view path = {}) {
    prompt.emplace(AppProcess::Start(path.empty() ? folder().File(title + L".exe") : path.data()));
    const HWND box = WaitForTopWindow(0, kDialogClass, title, 20s);
    ::GetWindowThreadProcessId(box, &asking_);
    return box;
  }

  std::wstring Path() const { return folder().File(L"Guard.exe"); }

  // Stops it through `path` (its own by default), as its owner would.
  // Within the second after a wrong one it is asked to wait, as the box says.
  void StopWithThePassword(const AppProcess& guard, std::wstring_view path = {}) {
    std::optional<AppProcess> prompt;
    HWND box = StartAgain(L"Guard", prompt, path);
    // The password box's process refuses reading its memory too.
    EXPECT_FALSE(win::ProcessHandle(::OpenProcess(PROCESS_VM_READ, FALSE, asking_)));
    for (;;) {
      AnswerInputBox(box, kPassword);
      const std::wstring said = Answer(asking_, IDOK);
      if (said.find(L"Please try again in") == std::wstring::npos) {
        EXPECT_EQ(said.substr(0, 24), L"Blocking has stopped, an");
        break;
      }
      box = WaitForTopWindow(asking_, kDialogClass, L"");
    }
    EXPECT_TRUE(guard.WaitForExit());
    EXPECT_EQ(guard.ExitCode(), static_cast<DWORD>(blocker::ExitCode::kDone));
    EXPECT_TRUE(prompt->WaitForExit());
    EXPECT_EQ(AtLogon(L"Guard").find(Path()), std::wstring::npos);
    for (const wchar_t* key : {blocker::kRunKey, blocker::kStartupSwitchKey}) {
      EXPECT_FALSE(Exists(key, L"Guard (2)")) << Narrow(key);
    }
    EXPECT_FALSE(Exists(blocker::kLayersKey, Path()));
  }

  static bool Exists(const wchar_t* key, const std::wstring& name) {
    return ::RegGetValueW(HKEY_CURRENT_USER, key, name.c_str(), RRF_RT_ANY, nullptr, nullptr,
                          nullptr) == 0;
  }

  DWORD asking_ = 0;
};

TEST_F(BlockerTest, StopsTheTickedProgramsLeavesTheRestAndStopsWithThePassword) {
  Compile({"Notepad", "RegEdit", "Command", "Run", "Solitaire"}, kPassword, L"Guard");
  AppProcess blocker = Start(L"Guard");

  // A renamed copy by the name its version resource carries, from a folder
  // deeper than any fixed buffer a path might be read into (MAX_PATH, and four
  // times that); the Run dialog closed, so that the program showing it ends.
  std::wstring deep = folder().path();
  while (deep.size() < 4 * MAX_PATH + 100) deep += L"\\" + std::wstring(200, L'd');
  std::filesystem::create_directories(deep);
  deep += L"\\homework.exe";
  ASSERT_TRUE(::CopyFileW(kStandIn.c_str(), deep.c_str(), FALSE));
  EXPECT_TRUE(Ends(deep));
  EXPECT_TRUE(Ends(std::wstring(kSystem) + L"rundll32.exe", L"shell32.dll,#61"));
  HWND notice = WaitForTopWindow(Blocking(), blocker::win::kNoticeWindowClass, L"");
  EXPECT_EQ(Text(Children(notice).at(0)), L"Run Dialog is blocked on this computer.");
  SaveScreenshot(notice, ::GetSysColor(COLOR_INFOBK), L"blocker_notice");
  EXPECT_EQ(TopWindows(Blocking()).size(), 1u);  // one notice at a time, and no other window
  const std::string log = ReadFile(LogOf(L"Guard"));
  EXPECT_TRUE(Logged("  Solitaire  " + Narrow(deep))) << log;
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

  // Programs that hide from it (homework.exe is Solitaire by its version
  // resource only); a shielded one is logged by the name it runs under.
  const std::wstring homework = folder().File(L"homework.exe"), system = kSystem;
  ::CopyFileW(kStandIn.c_str(), homework.c_str(), FALSE);
  const HDESK second = ::CreateDesktopW(L"Second", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  // clang-format off
  const struct { std::wstring exe, arguments; std::string caption; bool shield, hold, run;
                 const wchar_t* desktop; } hiding[] = {
      {kNotepad, L"", "Notepad", true, false, true, nullptr},
      {system + L"cmd.exe", L"", "Command Prompt", true, false, true, nullptr},
      {homework, L"", "Solitaire", false, true, true, nullptr},
      {system + L"rundll32.exe", L"shell32.dll,#61", "Run Dialog", false, false, true, L"Second"},
      {system + L"reg.exe", L"", "RegEdit", false, false, false, nullptr},
  };
  // clang-format on
  for (const auto& h : hiding) {
    EXPECT_TRUE(EndsHiding(h.exe, h.arguments, h.shield, h.hold, h.run, h.desktop))
        << Narrow(h.exe);
    const std::string line = "  " + h.caption + "  " +
                             (h.shield ? Narrow(std::filesystem::path(h.exe).filename().wstring()) +
                                             "  (could not be ended: its windows were closed)"
                                       : Narrow(h.exe));
    EXPECT_TRUE(WaitUntil([&] { return Logged(line); })) << line << "\n"
                                                         << ReadFile(LogOf(L"Guard"));
  }
  ::CloseDesktop(second);

  // A second start asks for the password; another program reads nothing of
  // what is typed, nor unmasks it; a wrong one leaves it blocking.
  std::optional<AppProcess> prompt;
  HWND box = StartAgain(L"Guard", prompt);
  SaveScreenshot(box, ::GetSysColor(COLOR_BTNFACE), L"blocker_password");
  HWND edit = ::FindWindowExW(box, nullptr, L"Edit", nullptr);
  const auto typed = [&] { return HIWORD(::SendMessageW(edit, EM_GETSEL, 0, 0)); };
  BringToFront(box);
  GiveInput([] { TypeText(L"open sesame"); }, [&] { return typed() == 11; },
            [&] { return typed() == 0; }, L"typing the password");
  wchar_t text[64] = {std::size(text)};  // EM_GETLINE reads the size first
  ::SendMessageW(edit, EM_SETPASSWORDCHAR, 0, 0);
  EXPECT_EQ(::SendMessageW(edit, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text)) +
                ::SendMessageW(edit, EM_GETLINE, 0, reinterpret_cast<LPARAM>(text)),
            0);
  EXPECT_NE(::SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0), 0);
  PressButton(box, IDOK);
  EXPECT_EQ(Answer(asking_, IDOK), L"The password is not correct. You can try again in 1 second.");
  PressButton(WaitForTopWindow(asking_, kDialogClass, L""), IDCANCEL);
  EXPECT_TRUE(prompt->WaitForExit());
  EXPECT_TRUE(Ends(kNotepad));

  // The right one stops it, and it no longer starts at logon.
  StopWithThePassword(blocker);
  EXPECT_TRUE(Logged("  Wrong password  1 in a row\r\n"));
}

TEST_F(BlockerTest, WithoutAPasswordYesStopsIt) {
  Compile({"Kazaa", "Notepad"}, L"", L"Open");
  AppProcess blocker = Start(L"Open");
  std::optional<AppProcess> prompt;
  HWND box = StartAgain(L"Open", prompt);
  EXPECT_EQ(ReadBox(box).text, L"Stop blocking?");
  PressButton(box, IDYES);
  EXPECT_NE(Answer(asking_, IDOK).find(L"Blocking has stopped"), std::wstring::npos);
  EXPECT_TRUE(blocker.WaitForExit() && prompt->WaitForExit());
  EXPECT_EQ(AtLogon(L"Open"), L"");
}

// What a program of the same user (this test, or Windows' own tools) can try
// against a running blocker, one attack a test: it holds, then its password
// still stops it and it leaves nothing of its own behind.
class AttackTest : public BlockerTest {
 protected:
  void CompileGuard() { Compile({"Notepad", "Solitaire"}, kPassword, L"Guard"); }
  void StartGuard() { guard_.emplace(Start(L"Guard")); }

  void TearDown() override {
    BlockerTest::TearDown();
    // Only these tests write there; the Run key may deny writing.
    for (const wchar_t* key : {blocker::kLayersKey, blocker::kRunKey}) {
      ::RegDeleteTreeW(HKEY_CURRENT_USER, key);
    }
  }

  // Each change made in turn, and put right within the wait.
  struct Attack {
    const wchar_t* what;
    std::function<void()> change;
    std::function<bool()> mended;
  };
  static void ExpectEachMended(std::initializer_list<Attack> attacks) {
    for (const Attack& a : attacks) {
      a.change();
      EXPECT_TRUE(WaitUntil(a.mended)) << Narrow(a.what);
    }
  }

  std::optional<AppProcess> guard_;
};

TEST_F(AttackTest, ItsProcessThreadsAndTokenRefuseEndingSuspendingAndChanging) {
  CompileGuard();
  StartGuard();
  // Only waiting for it and asking its name are allowed.
  for (DWORD access :
       {PROCESS_TERMINATE, PROCESS_SUSPEND_RESUME, PROCESS_VM_WRITE | PROCESS_VM_OPERATION,
        PROCESS_VM_READ, PROCESS_CREATE_THREAD, PROCESS_DUP_HANDLE, PROCESS_SET_INFORMATION}) {
    EXPECT_FALSE(win::ProcessHandle(::OpenProcess(access, FALSE, Blocking()))) << access;
    EXPECT_EQ(::GetLastError(), DWORD{ERROR_ACCESS_DENIED}) << access;
  }
  EXPECT_TRUE(win::ProcessHandle(
      ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, Blocking())));
  AppProcess taskkill = AppProcess::Start(std::wstring(kSystem) + L"taskkill.exe",
                                          L"/f /im Guard.exe", CREATE_NO_WINDOW);
  EXPECT_TRUE(taskkill.WaitForExit(20s) && ControlWindow());
  // Its threads and its token too.
  const std::vector<DWORD> threads = ThreadsOf(Blocking());
  for (const DWORD id : threads) {
    for (DWORD access : {THREAD_TERMINATE, THREAD_SUSPEND_RESUME, THREAD_SET_CONTEXT,
                         THREAD_SET_INFORMATION, THREAD_IMPERSONATE, THREAD_GET_CONTEXT}) {
      EXPECT_FALSE(win::ProcessHandle(::OpenThread(access, FALSE, id))) << id << ": " << access;
    }
  }
  EXPECT_GE(threads.size(), 2u);  // the blocking one and the watch's
  const win::ProcessHandle process(
      ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, Blocking()));
  for (DWORD access : {DWORD{TOKEN_ADJUST_DEFAULT}, DWORD{TOKEN_ADJUST_PRIVILEGES},
                       DWORD{TOKEN_ADJUST_GROUPS}, DWORD{TOKEN_ADJUST_SESSIONID}}) {
    win::ProcessHandle token;
    EXPECT_FALSE(::OpenProcessToken(process.get(), access, token.put())) << access;
  }
  StopWithThePassword(*guard_);
}

TEST_F(AttackTest, ClosingItsWindowsQuittingItsThreadsOrAFloodEndNothing) {
  CompileGuard();
  StartGuard();
  EXPECT_TRUE(Ends(kNotepad));
  HWND notice = WaitForTopWindow(Blocking(), blocker::win::kNoticeWindowClass, L"");
  ::PostMessageW(notice, WM_CLOSE, 0, 0);
  ::PostMessageW(ControlWindow(), WM_CLOSE, 0, 0);
  ::PostMessageW(ControlWindow(), WM_DESTROY, 0, 0);
  for (const DWORD id : ThreadsOf(Blocking())) ::PostThreadMessageW(id, WM_QUIT, 0, 0);
  for (int i = 0; i < 10000; ++i) ::PostMessageW(ControlWindow(), WM_NULL, 0, 0);
  Await([&] { return !::IsWindow(notice); }, L"the notice did not close");
  EXPECT_TRUE(Ends(std::wstring(QX_E2E_TOOLS_DIR) + L"\\qx_stand_in_console.exe", L"",
                   CREATE_NEW_CONSOLE));  // the periodic check still runs
  EXPECT_TRUE(Ends(kNotepad));
  WaitForTopWindow(Blocking(), blocker::win::kNoticeWindowClass, L"");  // a new notice
  EXPECT_TRUE(Logged(kNotepadLine));
  StopWithThePassword(*guard_);
}

// Its start at logon is mended within the second, the Startup switch and a
// compatibility mark included, while a message of its own stays open (its log
// cannot be opened: another program holds it); another program's values stay.
TEST_F(AttackTest, ItsStartAtLogonIsMendedWhileAMessageOfItsOwnIsOpen) {
  const std::wstring other = L"\"C:\\Program Files\\CloudSync\\sync.exe\"";
  SetText(blocker::kRunKey, L"Guard", other);
  SwitchOff(blocker::kStartupSwitchKey, L"Guard");
  std::filesystem::create_directories(std::filesystem::path(LogOf(L"Guard")).parent_path());
  win::FileHandle held(
      ::CreateFileW(LogOf(L"Guard").c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS, 0, nullptr));
  CompileGuard();
  StartGuard();
  const HWND said = WaitForTopWindow(Blocking(), kDialogClass, L"");
  EXPECT_NE(ReadBox(said).text.find(L"activity log"), std::wstring::npos)
      << Narrow(ReadBox(said).text);

  const std::wstring own = L"\"" + Path() + L"\"";
  EXPECT_EQ(AtLogon(L"Guard (2)"), own);
  wchar_t short_path[MAX_PATH];
  ASSERT_NE(::GetShortPathNameW(Path().c_str(), short_path, MAX_PATH), 0u);
  const auto back = [&] { return AtLogon(L"Guard (2)") == own; };
  ExpectEachMended({
      {L"value deleted",
       [] { ::RegDeleteKeyValueW(HKEY_CURRENT_USER, blocker::kRunKey, L"Guard (2)"); }, back},
      {L"value spelled by its short path",
       [&] { SetText(blocker::kRunKey, L"Guard (2)", short_path); }, back},
      {L"switched off", [] { SwitchOff(blocker::kStartupSwitchKey, L"Guard (2)"); },
       [] { return !Exists(blocker::kStartupSwitchKey, L"Guard (2)"); }},
      {L"marked to run as an administrator",
       [&] { SetText(blocker::kLayersKey, Path().c_str(), L"~ RUNASADMIN"); },
       [&] { return !Exists(blocker::kLayersKey, Path()); }},
      {L"the Run key's list denying values",
       [&] {
         // Through a handle opened before: its rights hold, as the blocker's do.
         HKEY run = nullptr;
         ::RegOpenKeyExW(HKEY_CURRENT_USER, blocker::kRunKey, 0, KEY_SET_VALUE | WRITE_DAC, &run);
         DenyWritingValues(run);
         ::RegDeleteValueW(run, L"Guard (2)");
         ::RegCloseKey(run);
       },
       back},
      {L"the Run key deleted", [] { ::RegDeleteTreeW(HKEY_CURRENT_USER, blocker::kRunKey); }, back},
  });
  EXPECT_TRUE(::IsWindow(said));
  SaveScreenshot(said, ::GetSysColor(COLOR_BTNFACE), L"blocker_log_warning");
  // The log back: the next mend is logged.
  PressButton(said, IDOK);
  held.reset();
  SwitchOff(blocker::kStartupSwitchKey, L"Guard (2)");
  Await([] { return Logged("  Start at logon switched back on  HKCU\\Software\\"); },
        L"the mend was not logged");
  EXPECT_TRUE(Exists(blocker::kStartupSwitchKey, L"Guard"));  // the other program's
  StopWithThePassword(*guard_);
  EXPECT_EQ(AtLogon(L"Guard"), L"");  // the Run key was deleted, and its value with it
}

// A Run key no program of the user may write: a shortcut in the Startup
// folder starts it at logon instead, mended as the Run value is (the
// compatibility marks' key denying writes too), and the password box says
// so; a start from it ends quietly.
TEST_F(AttackTest, ARunKeyItCannotWriteGivesWayToTheStartupFolder) {
  for (const wchar_t* path : {blocker::kRunKey, blocker::kLayersKey}) {
    win::RegKey key;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, WRITE_DAC, nullptr,
                                key.put(), nullptr),
              0);
    DenyWritingValues(key.get());
  }
  const std::wstring link = StartupFolder() + L"\\Guard.lnk";
  ::DeleteFileW(link.c_str());  // from a run that failed
  CompileGuard();
  StartGuard();
  EXPECT_TRUE(Logged("  Start at logon from the Startup folder  " + Narrow(link) + "\r\n"));
  const std::string written = ReadFile(link);
  const auto whole = [&] { return ReadFile(link) == written; };
  ExpectEachMended({
      {L"shortcut deleted", [&] { ::DeleteFileW(link.c_str()); }, whole},
      {L"shortcut changed", [&] { std::ofstream(std::filesystem::path(link)) << "x"; }, whole},
      {L"the Startup folder deleted",
       [] {
         std::error_code racing;  // the blocker may put the shortcut back before the folder goes
         std::filesystem::remove_all(StartupFolder(), racing);
       },
       whole},
      {L"switched off", [] { SwitchOff(blocker::kStartupFolderSwitchKey, L"Guard.lnk"); },
       [] { return !Exists(blocker::kStartupFolderSwitchKey, L"Guard.lnk"); }},
  });
  EXPECT_TRUE(Logged("  Start at logon restored  " + Narrow(link) + "\r\n"));
  AppProcess again = AppProcess::Start(Path(), L"/logon");
  EXPECT_TRUE(again.WaitForExit() && again.ExitCode() == 0);
  for (HWND said : TopWindows(Blocking())) ADD_FAILURE() << Narrow(ReadBox(said).text);
  std::optional<AppProcess> prompt;
  const HWND box = StartAgain(L"Guard", prompt);
  EXPECT_TRUE(ReadBox(box).text.ends_with(
      L"\nIt starts from the Startup folder: the Run key refused it.\nThis account can change "
      L"its file."))
      << Narrow(ReadBox(box).text);
  SaveScreenshot(box, ::GetSysColor(COLOR_BTNFACE), L"blocker_password_notes");
  PressButton(box, IDCANCEL);
  EXPECT_TRUE(prompt->WaitForExit());
  StopWithThePassword(*guard_);
  EXPECT_EQ(::GetFileAttributesW(link.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(Exists(blocker::kStartupFolderSwitchKey, L"Guard.lnk"));
}

TEST_F(AttackTest, ItsFileStaysAndASquattedMutexChangesNothing) {
  CompileGuard();
  // The instance mutex's name, as any program can work it out from the file.
  const std::wstring instance = blocker::InstanceName(*blocker::win::FileIdOf(Path()));
  // Its mutex taken first: the blocker blocks all the same.
  win::ProcessHandle squat(::CreateMutexW(nullptr, TRUE, (L"Local\\" + instance).c_str()));
  std::filesystem::create_directories(LogOf(L"Guard") + L"\\in the way");
  StartGuard();
  // Its log: a folder in its place moved aside, and held from the start.
  EXPECT_TRUE(std::filesystem::is_directory(LogOf(L"Guard") + L".1\\in the way"));
  EXPECT_TRUE(Logged("  Blocking started  " + Narrow(Path()) + "\r\n"));
  EXPECT_TRUE(!::DeleteFileW(LogOf(L"Guard").c_str()) &&
              ::GetLastError() == ERROR_SHARING_VIOLATION);
  EXPECT_TRUE(Ends(kNotepad));
  EXPECT_TRUE(!::MoveFileW(Path().c_str(), folder().File(L"Moved.exe").c_str()) &&
              ::GetLastError() == ERROR_SHARING_VIOLATION);
  EXPECT_TRUE(!::DeleteFileW(Path().c_str()) && ::GetLastError() == ERROR_SHARING_VIOLATION);

  // Started again by its short path, once the squatter has let go of the
  // mutex, it asks for the password.
  squat.reset();
  wchar_t short_path[MAX_PATH];
  ASSERT_NE(::GetShortPathNameW(Path().c_str(), short_path, MAX_PATH), 0u);
  ASSERT_NE(std::wstring(short_path), Path());
  StopWithThePassword(*guard_, short_path);
  EXPECT_TRUE(::DeleteFileW(Path().c_str())) << ::GetLastError();
  EXPECT_TRUE(Logged("  Stopped with the password\r\n"));
  std::filesystem::remove_all(LogOf(L"Guard") + L".1");
}

}  // namespace
}  // namespace qx::e2e
