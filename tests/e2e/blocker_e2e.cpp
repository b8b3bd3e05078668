// A blocker compiled through the real window, then run: what it stops and
// what it leaves alone, its notice and log, and how its owner stops it.
#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <aclapi.h>  // these need windows.h first
#include <sddl.h>
#include <shlobj.h>
#include <tlhelp32.h>
// clang-format on

#include <filesystem>
#include <fstream>
#include <string>

#include "blocker/activity_log.h"
#include "blocker/exit_codes.h"
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
constexpr char kNotepadLine[] = "  Notepad  C:\\windows\\system32\\notepad.exe\r\n";

std::wstring LogOf(const std::wstring& title) {
  wchar_t folder[MAX_PATH];
  ::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, folder);
  return std::wstring(folder) + L"\\Quellanix\\" + title + L".log";
}

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

// The exit code once `process` ends; STILL_ACTIVE when it does not.
DWORD ExitOf(const AppProcess& process) {
  process.WaitForExit();
  return process.ExitCode();
}

// A window posing as the blocker's control window, in this process.
bool poser_was_asked = false;
LRESULT CALLBACK PoserProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_COPYDATA) poser_was_asked = true;
  return ::DefWindowProcW(hwnd, msg, wparam, lparam);
}

// The process's DACL in SDDL, read through the owner's implicit right to
// read it (which Wine keeps, see below).
std::wstring DaclOf(DWORD pid) {
  const win::ProcessHandle process(::OpenProcess(READ_CONTROL, FALSE, pid));
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  wchar_t* sddl = nullptr;
  ::GetSecurityInfo(process.get(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                    nullptr, nullptr, &descriptor);
  ::ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1,
                                                         DACL_SECURITY_INFORMATION, &sddl, nullptr);
  const std::wstring text = sddl ? sddl : L"";
  ::LocalFree(sddl);
  ::LocalFree(descriptor);
  return text;
}

class BlockerTest : public QuellanixTest {
 protected:
  void TearDown() override {
    QuellanixTest::TearDown();
    for (const wchar_t* title : {L"Guard", L"Open", L"Guard (2)"}) {
      ::DeleteFileW(LogOf(title).c_str());
      ::RegDeleteKeyValueW(HKEY_CURRENT_USER, blocker::win::kRunKey, title);
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

  // Starts the compiled blocker and waits until it listens.
  AppProcess Start(const std::wstring& title) {
    AppProcess blocker = AppProcess::Start(folder().File(title + L".exe"));
    if (!WaitUntil([] { return ControlWindow() != nullptr; }, 20s))
      throw DriverError(L"the blocker did not start");
    return blocker;
  }

  // Starts a program the blocker should stop: whether it ends within 5 s.
  static bool Ends(const std::wstring& exe, std::wstring_view arguments = {}, DWORD flags = 0) {
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
  Compile({"Notepad", "RegEdit", "Command", "Run", "Solitaire"}, kPassword, L"Guard");
  AppProcess blocker = Start(L"Guard");
  EXPECT_EQ(AtLogon(L"Guard"), L"\"" + folder().File(L"Guard.exe") + L"\"");

  // Windowed and console programs by their names, and a renamed copy by the
  // name its version resource carries, from a folder deeper than any fixed
  // buffer a path might be read into (MAX_PATH, and four times that).
  const std::wstring stand_in = std::wstring(QX_E2E_TOOLS_DIR) + L"\\qx_stand_in.exe";
  std::wstring deep = folder().path();
  while (deep.size() < 4 * MAX_PATH + 100) deep += L"\\" + std::wstring(200, L'd');
  std::filesystem::create_directories(deep);
  deep += L"\\homework.exe";
  ASSERT_TRUE(::CopyFileW(stand_in.c_str(), deep.c_str(), FALSE));
  // clang-format off
  const struct { std::wstring exe, arguments; DWORD flags; } blocked[] = {
      {kNotepad, L"", 0},
      {L"C:\\windows\\regedit.exe", L"", 0},
      {std::wstring(kSystem) + L"cmd.exe", L"", CREATE_NEW_CONSOLE},
      {deep, L"", 0},
      // The Run dialog is closed; the program that shows it ends by itself.
      {std::wstring(kSystem) + L"rundll32.exe", L"shell32.dll,#61", 0},
  };
  // clang-format on
  for (const auto& b : blocked) EXPECT_TRUE(Ends(b.exe, b.arguments, b.flags)) << Narrow(b.exe);
  HWND notice = WaitForTopWindow(blocker.pid(), blocker::win::kNoticeWindowClass, L"");
  EXPECT_EQ(Text(Children(notice).at(0)), L"Run Dialog is blocked on this computer.");
  SaveScreenshot(notice, ::GetSysColor(COLOR_INFOBK), L"blocker_notice");
  RECT at{}, work{};  // at the bottom right of the one monitor's work area
  ::GetWindowRect(notice, &at);
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(std::pair(at.right, at.bottom), std::pair(work.right - 16, work.bottom - 16));
  EXPECT_EQ(TopWindows(blocker.pid()).size(), 1u);  // one notice at a time, and no other window
  const std::string log = ReadFile(LogOf(L"Guard"));
  EXPECT_TRUE(Logged(kNotepadLine) && Logged("  Solitaire  " + Narrow(deep))) << log;
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
  EXPECT_TRUE(Ends(kNotepad));

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
  EXPECT_EQ(ExitOf(blocker), static_cast<DWORD>(blocker::ExitCode::kDone));
  EXPECT_EQ(AtLogon(L"Guard"), L"");
  EXPECT_FALSE(ControlWindow());
  EXPECT_TRUE(Logged("  Wrong password  1 in a row\r\n"));
}

TEST_F(BlockerTest, WithoutAPasswordYesStopsIt) {
  Compile({"Notepad"}, L"", L"Open");
  AppProcess blocker = Start(L"Open");
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
  ASSERT_TRUE(std::ofstream(std::filesystem::path(path), std::ios::binary) << file);
  // Running before the blocker starts: a working one would end it at once.
  AppProcess notepad = AppProcess::Start(kNotepad);
  WaitForTopWindow(notepad.pid(), L"", L"", 20s);
  AppProcess blocker = AppProcess::Start(path);
  HWND box = WaitForTopWindow(blocker.pid(), kDialogClass, L"", 20s);
  EXPECT_NE(ReadBox(box).text.find(L"damaged"), std::wstring::npos) << Narrow(ReadBox(box).text);
  PressButton(box, IDOK);
  EXPECT_EQ(ExitOf(blocker), static_cast<DWORD>(blocker::ExitCode::kDamaged));
  EXPECT_FALSE(notepad.WaitForExit(0ms));
  EXPECT_EQ(AtLogon(L"Guard"), L"");
}

// Everything a program of the same user (this test, or Windows' own tools) can
// try against a running blocker, one after the other; then its password still
// stops it and it leaves nothing of its own behind.
TEST_F(BlockerTest, WithstandsTheUsersOwnProgramsAndStillStopsWithThePassword) {
  const std::wstring other = L"\"C:\\Program Files\\CloudSync\\sync.exe\"";
  ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, blocker::win::kRunKey, L"Guard", REG_SZ,
                              other.c_str(), static_cast<DWORD>((other.size() + 1) * 2)),
            0);
  const std::filesystem::path grown = LogOf(L"Guard");  // to 5 GB, sparse: no disk is used
  std::filesystem::create_directories(grown.parent_path());
  std::ofstream{grown};
  std::filesystem::resize_file(grown, 5ull << 30);
  Compile({"Notepad", "Solitaire"}, kPassword, L"Guard");
  const std::wstring path = folder().File(L"Guard.exe");
  // The instance mutex's name, as any program can work it out from the file.
  const std::wstring instance = blocker::InstanceName(*blocker::win::FileIdOf(path));
  // Its mutex taken first: the blocker blocks all the same.
  win::ProcessHandle squat(::CreateMutexW(nullptr, TRUE, (L"Local\\" + instance).c_str()));
  AppProcess blocker = Start(L"Guard");

  // Its process: only waiting for it and asking its name are allowed. Wine
  // does not apply the OWNER RIGHTS entry (Windows takes the owner's implicit
  // WRITE_DAC and READ_CONTROL away with it), so the entry is read back.
  EXPECT_TRUE(DaclOf(blocker.pid()).ends_with(L"(A;;0x101000;;;OW)(A;;0x101000;;;WD)"))
      << Narrow(DaclOf(blocker.pid()));
  for (DWORD access :
       {PROCESS_TERMINATE, PROCESS_SUSPEND_RESUME, PROCESS_VM_WRITE | PROCESS_VM_OPERATION,
        PROCESS_CREATE_THREAD, PROCESS_DUP_HANDLE, PROCESS_SET_INFORMATION}) {
    EXPECT_FALSE(win::ProcessHandle(::OpenProcess(access, FALSE, blocker.pid()))) << access;
    EXPECT_EQ(::GetLastError(), DWORD{ERROR_ACCESS_DENIED}) << access;
  }
  EXPECT_TRUE(win::ProcessHandle(
      ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, blocker.pid())));
  for (const wchar_t* arguments : {L"/f /im Guard.exe", L"/im Guard.exe"}) {
    AppProcess taskkill =
        AppProcess::Start(std::wstring(kSystem) + L"taskkill.exe", arguments, CREATE_NO_WINDOW);
    EXPECT_TRUE(taskkill.WaitForExit(20s));
    EXPECT_NE(taskkill.ExitCode(), 0u) << Narrow(arguments);
  }

  // Its windows and threads: closing them, or a WM_QUIT, ends nothing.
  EXPECT_TRUE(Ends(kNotepad));
  HWND notice = WaitForTopWindow(blocker.pid(), blocker::win::kNoticeWindowClass, L"");
  ::PostMessageW(notice, WM_CLOSE, 0, 0);
  ::PostMessageW(ControlWindow(), WM_CLOSE, 0, 0);
  ::PostMessageW(ControlWindow(), WM_DESTROY, 0, 0);
  const win::FileHandle threads(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  THREADENTRY32 thread{sizeof thread, 0, 0, 0, 0, 0, 0};
  for (BOOL more = ::Thread32First(threads.get(), &thread); more;
       more = ::Thread32Next(threads.get(), &thread)) {
    if (thread.th32OwnerProcessID == blocker.pid()) {
      ::PostThreadMessageW(thread.th32ThreadID, WM_QUIT, 0, 0);
    }
  }
  // A window posing as the control window, made after the blocker's.
  const WNDCLASSW poser_class{
      0,       PoserProc, 0,       0,       ::GetModuleHandleW(nullptr),
      nullptr, nullptr,   nullptr, nullptr, blocker::win::kControlWindowClass};
  ::RegisterClassW(&poser_class);
  HWND poser = ::CreateWindowW(blocker::win::kControlWindowClass, instance.c_str(), 0, 0, 0, 0, 0,
                               HWND_MESSAGE, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(poser);
  Await([&] { return !::IsWindow(notice); }, L"the notice did not close");
  EXPECT_FALSE(blocker.WaitForExit(0ms));
  EXPECT_TRUE(Ends(std::wstring(QX_E2E_TOOLS_DIR) + L"\\qx_stand_in_console.exe", L"",
                   CREATE_NEW_CONSOLE));  // the periodic check still runs
  EXPECT_TRUE(Ends(kNotepad));
  WaitForTopWindow(blocker.pid(), blocker::win::kNoticeWindowClass, L"");  // a new notice
  // The 5 GB log was trimmed to its newer half, the new lines in it.
  EXPECT_LT(std::filesystem::file_size(LogOf(L"Guard")), blocker::kLogCapBytes);
  EXPECT_TRUE(Logged(kNotepadLine));

  // Its start at logon: beside the other program's value, and back when deleted.
  const std::wstring own = L"\"" + path + L"\"";
  EXPECT_EQ(AtLogon(L"Guard"), other);
  EXPECT_EQ(AtLogon(L"Guard (2)"), own);
  ASSERT_EQ(::RegDeleteKeyValueW(HKEY_CURRENT_USER, blocker::win::kRunKey, L"Guard (2)"), 0);
  Await([&] { return AtLogon(L"Guard (2)") == own; }, L"the logon value did not come back");
  // Logged once written back: wait for the line too.
  const std::string restored = "  Start at logon restored  HKCU\\Software\\Microsoft\\Windows\\";
  Await([&] { return Logged(restored + "CurrentVersion\\Run\\Guard (2)\r\n"); },
        L"the restore was not logged");

  // Its file stays in place.
  EXPECT_TRUE(!::MoveFileW(path.c_str(), folder().File(L"Moved.exe").c_str()) &&
              ::GetLastError() == ERROR_SHARING_VIOLATION);
  EXPECT_TRUE(!::DeleteFileW(path.c_str()) && ::GetLastError() == ERROR_SHARING_VIOLATION);

  // Started again by its short path, once the squatter has let go of the
  // mutex, it asks for the password, which reaches the real blocker only.
  squat.reset();
  wchar_t short_path[MAX_PATH];
  ASSERT_NE(::GetShortPathNameW(path.c_str(), short_path, MAX_PATH), 0u);
  ASSERT_NE(std::wstring(short_path), path);
  AppProcess prompt = AppProcess::Start(short_path);
  AnswerInputBox(WaitForTopWindow(prompt.pid(), kDialogClass, L"", 20s), kPassword);
  EXPECT_EQ(Answer(prompt.pid(), IDOK).substr(0, 24), L"Blocking has stopped, an");
  EXPECT_EQ(ExitOf(blocker), static_cast<DWORD>(blocker::ExitCode::kDone));
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
  EXPECT_FALSE(poser_was_asked);
  ::DestroyWindow(poser);
  EXPECT_EQ(AtLogon(L"Guard (2)"), L"");
  EXPECT_EQ(AtLogon(L"Guard"), other);
  EXPECT_TRUE(prompt.WaitForExit());
  EXPECT_TRUE(::DeleteFileW(path.c_str())) << ::GetLastError();
}

}  // namespace
}  // namespace qx::e2e
