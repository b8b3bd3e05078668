// Programs of the blocker's own user that hide from it, each started from this
// separate program as a child would start them; then its password box, read
// from outside while its owner types.
#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <aclapi.h>  // these need windows.h first
#include <shlobj.h>
// clang-format on

#include <filesystem>
#include <fstream>
#include <memory>

#include "blocker/win32/instance.h"
#include "blocker/win32/logon.h"
#include "cipher/text_cipher.h"
#include "format/blocker_writer.h"
#include "tests/e2e/quellanix_fixture.h"

namespace qx::e2e {
namespace {

TEST(HidingTest, WhatHidesIsStoppedAndLoggedAndThePasswordStaysWithItsOwner) {
  // The blocker "Hide", written as the configurator writes it.
  const AppFolder folder;
  const std::wstring hide = folder.File(L"Hide.exe"), homework = folder.File(L"homework.exe");
  BlockerSettings settings;
  for (const char* key : {"Notepad", "Command", "RegEdit", "Solitaire", "Run"})
    settings.block[*IndexOfKey(key)] = true;
  settings.encrypted_password = EncryptText(kCipherKey, "Open Sesame");
  std::ofstream(std::filesystem::path(hide), std::ios::binary)
      << WriteBlocker(ReadFile(std::wstring(QX_E2E_DIST_DIR) + L"\\quellanix.ext"), settings);
  wchar_t log[MAX_PATH];
  ::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, log);
  const std::wstring log_path = log + std::wstring(L"\\Quellanix\\Hide.log");
  const std::shared_ptr<void> cleanup(nullptr, [&](void*) {
    ::DeleteFileW(log_path.c_str());
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, blocker::win::kRunKey, L"Hide");
  });
  AppProcess blocker = AppProcess::Start(hide);
  Await([] { return ::FindWindowExW(HWND_MESSAGE, nullptr, blocker::win::kControlWindowClass, 0); },
        L"the blocker did not start", 20s);
  ::CopyFileW((std::wstring(QX_E2E_TOOLS_DIR) + L"\\qx_stand_in.exe").c_str(), homework.c_str(), 0);
  const HDESK second = ::CreateDesktopW(L"Second", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  const std::wstring system = L"C:\\windows\\system32\\";
  // clang-format off
  // shield: a DACL that lets nobody open it, from its start; hold: its file held
  // exclusively (homework.exe is Solitaire by its version resource only); run: resumed at all.
  const struct { std::wstring exe, arguments; std::string caption; bool shield, hold, run;
                 const wchar_t* desktop; } cases[] = {
      {system + L"notepad.exe", L"", "Notepad", true, false, true, nullptr},
      {system + L"cmd.exe", L"", "Command Prompt", true, false, true, nullptr},
      {homework, L"", "Solitaire", false, true, true, nullptr},
      {system + L"rundll32.exe", L"shell32.dll,#61", "Run Dialog", false, false, true, L"Second"},
      {system + L"wscript.exe", L"", "Command Prompt", false, false, false, nullptr},
      {system + L"cscript.exe", L"", "Command Prompt", false, false, false, nullptr},
      {system + L"mshta.exe", L"", "Command Prompt", false, false, false, nullptr},
      {system + L"reg.exe", L"", "RegEdit", false, false, false, nullptr},
  };
  // clang-format on
  ACL empty{ACL_REVISION, 0, sizeof(ACL), 0, 0};
  SECURITY_DESCRIPTOR nobody{};  // lets nobody open the process or its thread, from its start
  ::InitializeSecurityDescriptor(&nobody, SECURITY_DESCRIPTOR_REVISION);
  ::SetSecurityDescriptorDacl(&nobody, TRUE, &empty, FALSE);
  SECURITY_ATTRIBUTES shield{sizeof shield, &nobody, FALSE};
  for (const auto& c : cases) {
    std::wstring command = L"\"" + c.exe + L"\" " + c.arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.lpDesktop = const_cast<wchar_t*>(c.desktop);
    PROCESS_INFORMATION info{};
    // A blocker quick enough ends it before CreateProcess returns, which then fails.
    if (::CreateProcessW(c.exe.c_str(), command.data(), c.shield ? &shield : nullptr,
                         c.shield ? &shield : nullptr, FALSE, CREATE_SUSPENDED | CREATE_NEW_CONSOLE,
                         nullptr, nullptr, &startup, &info)) {
      const win::ProcessHandle process(info.hProcess), thread(info.hThread);
      const win::FileHandle held(
          c.hold ? ::CreateFileW(c.exe.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, 0) : 0);
      if (c.run) ::ResumeThread(info.hThread);  // else it waits for the blocker's timed check
      EXPECT_EQ(::WaitForSingleObject(info.hProcess, 5000), WAIT_OBJECT_0) << Narrow(c.exe);
      ::TerminateProcess(info.hProcess, 1);
    }
    // A shielded one is logged by the name it runs under.
    const std::string logged =
        "  " + c.caption + "  " +
        (c.shield ? Narrow(std::filesystem::path(c.exe).filename().wstring()) +
                        "  (could not be ended: its windows were closed)"
                  : Narrow(c.exe));
    EXPECT_TRUE(WaitUntil([&] { return ReadFile(log_path).find(logged) != std::string::npos; }))
        << logged << "\n"
        << ReadFile(log_path);
  }
  ::CloseDesktop(second);

  // Another program reads nothing of the typed password, nor unmasks it.
  // Found by its title: the process that shows it may be one the start made.
  const AppProcess prompt = AppProcess::Start(hide);
  HWND box = WaitForTopWindow(0, kDialogClass, L"Hide", 20s);
  DWORD asking = 0;
  ::GetWindowThreadProcessId(box, &asking);
  HWND edit = ::FindWindowExW(box, nullptr, L"Edit", nullptr);
  BringToFront(box);
  TypeText(L"Open Sesame");
  Await([&] { return HIWORD(::SendMessageW(edit, EM_GETSEL, 0, 0)) == 11; }, L"not typed");
  wchar_t text[64] = {std::size(text)};  // EM_GETLINE reads the size first
  ::SendMessageW(edit, EM_SETPASSWORDCHAR, 0, 0);
  EXPECT_EQ(::SendMessageW(edit, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text)) +
                ::SendMessageW(edit, EM_GETLINE, 0, reinterpret_cast<LPARAM>(text)),
            0);
  EXPECT_NE(::SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0), 0);
  // Its own thread still reads it: the password stops the blocker, and the
  // protected start that asked ends once its last box is answered.
  PressButton(box, IDOK);
  EXPECT_EQ(Answer(asking, IDOK).substr(0, 21), L"Blocking has stopped,");
  EXPECT_TRUE(prompt.WaitForExit() && blocker.WaitForExit());
}

}  // namespace
}  // namespace qx::e2e
