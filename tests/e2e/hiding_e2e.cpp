// Programs of the blocker's own user that try to hide from it, each started
// from this separate program as a child would start them; and the password box
// read from outside while its owner types.
#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <aclapi.h>  // these need windows.h first
#include <shlobj.h>
// clang-format on

#include <filesystem>
#include <fstream>

#include "blocker/win32/instance.h"
#include "blocker/win32/logon.h"
#include "cipher/text_cipher.h"
#include "format/blocker_writer.h"
#include "tests/e2e/quellanix_fixture.h"

namespace qx::e2e {
namespace {

const std::wstring kSystem = L"C:\\windows\\system32\\";

std::wstring LogPath() {
  wchar_t folder[MAX_PATH];
  ::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, folder);
  return std::wstring(folder) + L"\\Quellanix\\Hide.log";
}

class HidingTest : public ::testing::Test {
 protected:
  // The blocker "Hide", written as the configurator writes it, running.
  void SetUp() override {
    BlockerSettings settings;
    for (const char* key : {"Notepad", "Command", "RegEdit", "Solitaire", "Run"})
      settings.block[*IndexOfKey(key)] = true;
    settings.encrypted_password = EncryptText(kCipherKey, "Open Sesame");
    std::ofstream(std::filesystem::path(folder_.File(L"Hide.exe")), std::ios::binary)
        << WriteBlocker(ReadFile(std::wstring(QX_E2E_DIST_DIR) + L"\\quellanix.ext"), settings);
    blocker_.emplace(AppProcess::Start(folder_.File(L"Hide.exe")));
    Await(
        [] {
          return ::FindWindowExW(HWND_MESSAGE, nullptr, blocker::win::kControlWindowClass,
                                 nullptr) != nullptr;
        },
        L"the blocker did not start", 20s);
  }
  void TearDown() override {
    blocker_.reset();
    ::DeleteFileW(LogPath().c_str());
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, blocker::win::kRunKey, L"Hide");
  }

  AppFolder folder_;
  std::optional<AppProcess> blocker_;
};

TEST_F(HidingTest, WhatHidesFromBeingOpenedReadOrSeenIsStoppedAndLogged) {
  const std::wstring homework = folder_.File(L"homework.exe");  // Solitaire, by its version
  ::CopyFileW((std::wstring(QX_E2E_TOOLS_DIR) + L"\\qx_stand_in.exe").c_str(), homework.c_str(), 0);
  const HDESK second = ::CreateDesktopW(L"Second", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  // clang-format off
  // shield: a DACL that lets nobody open it, set before it runs; hold: its file held
  // exclusively; run: resumed at all (one left suspended waits for the blocker).
  const struct { std::wstring exe, arguments; std::string caption; bool shield, hold, run;
                 const wchar_t* desktop; } cases[] = {
      {kSystem + L"notepad.exe", L"", "Notepad", true, false, true, nullptr},
      {kSystem + L"cmd.exe", L"", "Command Prompt", true, false, true, nullptr},
      {homework, L"", "Solitaire", false, true, true, nullptr},
      {kSystem + L"rundll32.exe", L"shell32.dll,#61", "Run Dialog", false, false, true, L"Second"},
      {kSystem + L"wscript.exe", L"", "Command Prompt", false, false, false, nullptr},
      {kSystem + L"cscript.exe", L"", "Command Prompt", false, false, false, nullptr},
      {kSystem + L"mshta.exe", L"", "Command Prompt", false, false, false, nullptr},
      {kSystem + L"reg.exe", L"", "RegEdit", false, false, false, nullptr},
  };
  // clang-format on
  for (const auto& c : cases) {
    std::wstring command = L"\"" + c.exe + L"\" " + c.arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.lpDesktop = const_cast<wchar_t*>(c.desktop);
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(::CreateProcessW(c.exe.c_str(), command.data(), nullptr, nullptr, FALSE,
                                 CREATE_SUSPENDED | CREATE_NEW_CONSOLE, nullptr, nullptr, &startup,
                                 &info));
    const win::ProcessHandle process(info.hProcess), thread(info.hThread);
    win::FileHandle held;
    if (c.hold)
      held.reset(::CreateFileW(c.exe.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (c.shield) {
      ACL nobody{};
      ::InitializeAcl(&nobody, sizeof nobody, ACL_REVISION);
      for (HANDLE h : {info.hProcess, info.hThread})
        ::SetSecurityInfo(h, SE_KERNEL_OBJECT,
                          DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                          nullptr, &nobody, nullptr);
    }
    EXPECT_EQ(!win::ProcessHandle(
                  ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, info.dwProcessId)),
              c.shield);
    EXPECT_EQ(!win::FileHandle(::CreateFileW(c.exe.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                             OPEN_EXISTING, 0, nullptr)),
              c.hold);
    if (c.run) ::ResumeThread(info.hThread);
    EXPECT_EQ(::WaitForSingleObject(info.hProcess, 5000), WAIT_OBJECT_0) << Narrow(c.exe);
    ::TerminateProcess(info.hProcess, 1);
    // A shielded one is logged by the name it runs under.
    const std::string logged =
        "  " + c.caption + "  " +
        (c.shield ? Narrow(std::filesystem::path(c.exe).filename().wstring()) +
                        "  (could not be ended: its windows were closed)"
                  : Narrow(c.exe));
    EXPECT_TRUE(WaitUntil([&] { return ReadFile(LogPath()).find(logged) != std::string::npos; }))
        << logged << "\n"
        << ReadFile(LogPath());
  }
  ::CloseDesktop(second);
}

TEST_F(HidingTest, ThePasswordBoxGivesItsTextToNoOtherProgram) {
  AppProcess prompt = AppProcess::Start(folder_.File(L"Hide.exe"));
  HWND box = WaitForTopWindow(prompt.pid(), kDialogClass, L"", 20s), edit = nullptr;
  for (HWND child : Children(box)) edit = ClassOf(child) == L"Edit" ? child : edit;
  BringToFront(box);
  TypeText(L"Open Sesame");
  Await([&] { return HIWORD(::SendMessageW(edit, EM_GETSEL, 0, 0)) == 11; }, L"not typed");
  wchar_t text[64] = {std::size(text)};
  EXPECT_EQ(::SendMessageW(edit, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text)), 0);
  EXPECT_EQ(::SendMessageW(edit, EM_GETLINE, 0, reinterpret_cast<LPARAM>(text)), 0);
  ::SendMessageW(edit, EM_SETPASSWORDCHAR, 0, 0);
  EXPECT_NE(::SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0), 0);
  EXPECT_EQ(std::wstring(text).find(L"Ses"), std::wstring::npos);
  // Its owner's own thread still reads it: the password stops the blocker.
  PressButton(box, IDOK);
  EXPECT_EQ(Answer(prompt.pid(), IDOK).substr(0, 21), L"Blocking has stopped,");
}

}  // namespace
}  // namespace qx::e2e
