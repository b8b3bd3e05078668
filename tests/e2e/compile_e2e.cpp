// Compile through the real window: the password and title boxes, the blocker
// read back byte for byte, and the system's refusals
// that must leave an older blocker as it was and no other file behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "builder/prop_bag.h"
#include "cipher/text_cipher.h"
#include "format/blocker_writer.h"
#include "format/settings_reader.h"
#include "tests/e2e/quellanix_fixture.h"
#include "tests/support/password_texts.h"

namespace qx::e2e {
namespace {

constexpr wchar_t kComplete[] = L"Compile Complete";

using CompileTest = QuellanixTest;

TEST_F(CompileTest, PasswordSetThenCompiledByteForByte) {
  BoxStates ticked{};
  for (const char* key : {"Kazaa", "Notepad", "RemoteDesktop", "Run"}) {
    ticked[EntryIndex(key)] = 1;
    ClickForStates(Box(EntryIndex(key)), ticked);
  }
  // Set by the image button and compiled by the menu; other tests set it by
  // the menu and compile by the button.
  HWND request = ClickForBox(Control(win::kPasswordButtonId));
  EXPECT_EQ(ReadBox(request).text, test::kPasswordPrompt);
  AnswerInputBox(request, L"Secret 42");
  EXPECT_EQ(Answer(pid(), IDOK), test::kPasswordSet);

  ChooseMenuItem(L'F', L'C');
  // The title offered shows from its first character; typing replaces it.
  HWND title_box = WaitForTopWindow(pid(), kDialogClass, L"");
  const LRESULT first =
      ::SendMessageW(::FindWindowExW(title_box, nullptr, L"Edit", nullptr), EM_POSFROMCHAR, 0, 0);
  EXPECT_GE(static_cast<short>(LOWORD(first)), 0);
  AnswerInputBox(title_box, L"Family Guard");
  SaveScreenshot(WaitForTopWindow(pid(), kDialogClass, L"Compile Completed - Quellanix", 20s),
                 ::GetSysColor(COLOR_BTNFACE), L"compile_complete");
  ASSERT_EQ(Answer(pid(), IDOK), kComplete);

  const std::wstring compiled = folder().File(L"Family Guard.exe");
  const SettingsResult read = ReadSettings(ReadFile(compiled));
  ASSERT_TRUE(read.ok()) << read.reason;
  BlockerSettings want;
  want.encrypted_password = EncryptText(kCipherKey, "Secret 42");
  for (std::size_t i = 0; i < kEntryCount; ++i) want.block[i] = ticked[i] == 1;
  EXPECT_TRUE(ReadFile(compiled) == WriteBlocker(ReadFile(folder().File(kTemplateFileName)), want));
}

// Another program's file of the blocker's name is refused and stays byte for
// byte. An older blocker the system holds on to (read-only, or running: one
// with nothing ticked waits on its box) stays as it was, with the system's
// reason given; once free it is replaced whole.
TEST_F(CompileTest, OnlyAnOlderBlockerIsReplacedAndOnlyWhenTheSystemLetsGo) {
  const std::wstring name = std::wstring(kDefaultProgramTitle) + kExeSuffix;
  const std::wstring old = folder().File(name);
  const std::string older = WriteBlocker(ReadFile(folder().File(kTemplateFileName)), {});
  for (const std::string_view state : {"another program", "read-only", "running", "free"}) {
    SCOPED_TRACE(state);
    if (state == "another program") {
      ASSERT_TRUE(::CopyFileW(folder().File(L"quellanix-inspect.exe").c_str(), old.c_str(), FALSE));
    } else {
      std::ofstream(std::filesystem::path(old), std::ios::binary) << older;
    }
    const std::string before = ReadFile(old);
    std::optional<AppProcess> blocker;
    if (state == "running") {
      blocker.emplace(AppProcess::Start(old));
      HWND box = WaitForTopWindow(blocker->pid(), kDialogClass, L"", 20s);
      EXPECT_NE(ReadBox(box).text.find(L"nothing for it to block"), std::wstring::npos);
      // Out of the way of the main window's controls.
      ::SetWindowPos(box, HWND_BOTTOM, 0, ::GetSystemMetrics(SM_CYSCREEN) - 10, 0, 0,
                     SWP_NOSIZE | SWP_NOACTIVATE);
    }
    if (state == "read-only") ::SetFileAttributesW(old.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::vector<std::wstring> files = FileNames(folder().path());
    ClickForBox(Control(win::kCompileButtonId));
    Answer(pid(), IDNO);
    PressButton(WaitForTopWindow(pid(), kDialogClass, L""), IDOK);  // the title offered
    if (state == "another program") {  // for the help and the release notes
      SaveScreenshot(WaitForTopWindow(pid(), kDialogClass, L"", 20s), ::GetSysColor(COLOR_BTNFACE),
                     L"compile_refused");
    }
    const std::wstring text = Answer(pid(), IDOK, 20s);
    EXPECT_EQ(FileNames(folder().path()), files);
    if (state == "free") {
      EXPECT_EQ(text, kComplete);
      EXPECT_TRUE(ReadSettings(ReadFile(old)).ok());
      continue;
    }
    const wchar_t* why = state == "another program" ? L"another name" : L"(error ";
    EXPECT_TRUE(text.find(name) != text.npos && text.find(why) != text.npos) << Narrow(text);
    EXPECT_TRUE(ReadFile(old) == before);  // byte for byte
    blocker.reset();
    ::SetFileAttributesW(old.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(::DeleteFileW(old.c_str()));
  }
}

// A full disk: the program runs from a folder on a small tmpfs that
// scripts/e2e-full-disk.sh mounts (as root) and names in QX_E2E_SMALL_DISK.
TEST(FullDiskTest, TheOlderBlockerIsIntactAndNoOtherFileRemains) {
  wchar_t disk[MAX_PATH] = {};
  if (!::GetEnvironmentVariableW(L"QX_E2E_SMALL_DISK", disk, MAX_PATH)) {
    GTEST_SKIP() << "run scripts/e2e-full-disk.sh as root: it mounts a small disk for this test";
  }
  const std::wstring folder = std::wstring(disk) + L"\\";
  const std::wstring dist = std::wstring(QX_E2E_DIST_DIR) + L"\\";
  // The program, its template and an older blocker.
  const std::wstring blocker = folder + kDefaultProgramTitle + kExeSuffix;
  for (const wchar_t* name : {L"Quellanix.exe", kTemplateFileName}) {
    ASSERT_TRUE(::CopyFileW((dist + name).c_str(), (folder + name).c_str(), FALSE));
  }
  std::ofstream(std::filesystem::path(blocker), std::ios::binary)
      << WriteBlocker(ReadFile(folder + kTemplateFileName), {});
  const std::string before = ReadFile(blocker);
  AppProcess app = AppProcess::Start(folder + L"Quellanix.exe");
  HWND main = WaitForTopWindow(app.pid(), win::kMainWindowClass, L"", 20s);
  // Less than a template's worth left free.
  ULARGE_INTEGER free{};
  ASSERT_TRUE(::GetDiskFreeSpaceExW(disk, &free, nullptr, nullptr));
  std::ofstream(std::filesystem::path(folder + L"filler.bin"), std::ios::binary)
      << std::string(free.QuadPart - 96 * 1024, 'f');
  const std::vector<std::wstring> files = FileNames(folder);
  Click(ChildById(main, win::kCompileButtonId));
  const std::wstring text = FinishCompile(app.pid(), false);
  EXPECT_NE(text.find(L"(error 112)"), std::wstring::npos) << Narrow(text);  // disk full
  EXPECT_TRUE(ReadFile(blocker) == before);                                  // byte for byte
  EXPECT_EQ(FileNames(folder), files);
}

}  // namespace
}  // namespace qx::e2e
