// Compile through the real window: the questions and boxes, the blocker file
// checked with quellanix-inspect and byte by byte against the template, and the
// failures that must leave an older blocker intact and no temporary file.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "builder/prop_bag.h"
#include "cipher/text_cipher.h"
#include "app/win32/control_ids.h"
#include "format/settings_json.h"
#include "format/settings_reader.h"
#include "app/cipher.h"
#include "runtime/win32/handles.h"
#include "tests/e2e/driver/app_process.h"
#include "tests/e2e/driver/dialogs.h"
#include "tests/e2e/driver/driver_error.h"
#include "tests/e2e/driver/input.h"
#include "tests/e2e/driver/wait.h"
#include "tests/e2e/driver/windows.h"
#include "tests/e2e/quellanix_fixture.h"

namespace qx::e2e {
namespace {

constexpr wchar_t kTitlePrompt[] =
    L"Please enter a name for the application, this is the name that will appear in Task "
    L"Manager. If you enter nothing it will default to Brindlecor.";
constexpr wchar_t kBlankPrompt[] = L"There is no Password set - Would you like to set one now?";

std::string ReadAll(const std::wstring& path) {
  win::FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
  if (!file) throw DriverError(L"cannot open " + path);
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (::ReadFile(file.get(), buffer, static_cast<DWORD>(std::size(buffer)), &got, nullptr) &&
         got > 0) {
    bytes.append(buffer, got);
  }
  return bytes;
}

// The temporary files a compile may leave behind if it is not cleaned up.
std::vector<std::wstring> Leftovers(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  win::FindHandle find(::FindFirstFileW((folder + L"\\~qx*").c_str(), &found));
  if (find) {
    do names.emplace_back(found.cFileName);
    while (::FindNextFileW(find.get(), &found));
  }
  return names;
}

struct Inspected {
  DWORD exit_code = 0;
  std::string out;
};

// Runs quellanix-inspect from the program's folder on `file`, capturing its output.
Inspected Inspect(const std::wstring& tool, const std::wstring& file) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE read_end = nullptr, write_end = nullptr;
  if (!::CreatePipe(&read_end, &write_end, &inherit, 0)) throw DriverError(L"CreatePipe");
  win::FileHandle reader(read_end), writer(write_end);
  ::SetHandleInformation(reader.get(), HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = writer.get();
  si.hStdError = writer.get();
  si.hStdInput = nullptr;
  PROCESS_INFORMATION pi{};
  std::wstring command = L"\"" + tool + L"\" \"" + file + L"\"";
  if (!::CreateProcessW(tool.c_str(), command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &si, &pi)) {
    throw DriverError(L"cannot start " + tool);
  }
  win::ProcessHandle process(pi.hProcess), thread(pi.hThread);
  writer.reset();
  Inspected result;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(reader.get(), buffer, static_cast<DWORD>(std::size(buffer)), &got, nullptr) &&
         got > 0) {
    result.out.append(buffer, got);
  }
  ::WaitForSingleObject(process.get(), 10000);
  ::GetExitCodeProcess(process.get(), &result.exit_code);
  return result;
}

// The codes below 128 are all a test password needs.
class AsciiCodec : public AnsiCodec {
 public:
  std::optional<std::string> ToAnsi(std::wstring_view text) const override {
    std::string out;
    for (wchar_t c : text) {
      if (c > 0x7F) return std::nullopt;
      out.push_back(static_cast<char>(c));
    }
    return out;
  }
  std::wstring FromAnsi(std::string_view bytes) const override {
    return std::wstring(bytes.begin(), bytes.end());
  }
};

std::string Encrypted(const std::wstring& password) {
  PublicValues values;
  values.CipherKey.assign(kCipherKey.begin(), kCipherKey.end());
  values.PlainPassword = password;
  AsciiCodec ansi;
  cipher(values, ansi).Encrypt();
  return *ansi.ToAnsi(values.EncryptedPassword);
}

class CompileTest : public QuellanixTest {
 protected:
  std::wstring Blocker(const std::wstring& title) const { return folder().File(title + L".exe"); }

  // Starts Compile; answers the blank-password question when `blank_answer` is
  // given (and checks that it is asked), and returns the title box.
  HWND StartCompile(std::optional<int> blank_answer, bool by_menu = false) {
    if (by_menu) {
      ChooseMenuItem(L'F', L'C');
    } else {
      Click(CompileButton());
    }
    HWND box = WaitForDialog(pid());
    if (blank_answer) {
      const MessageBoxInfo info = ReadMessageBox(box);
      EXPECT_EQ(info.title, L"Blank Password!");
      EXPECT_EQ(info.text, kBlankPrompt);
      EXPECT_TRUE(info.HasButton(IDYES) && info.HasButton(IDNO) && !info.HasButton(IDOK));
      PressButton(box, *blank_answer);
      if (*blank_answer == IDYES) return nullptr;  // the password flow comes next
      box = WaitForDialog(pid());
    }
    const InputBoxInfo title = ReadInputBox(box);
    EXPECT_EQ(title.title, L"Program Title");
    EXPECT_EQ(title.prompt, kTitlePrompt);
    EXPECT_EQ(title.field, L"Brindlecor");
    return box;
  }

  void ExpectComplete() {
    HWND box = WaitForDialog(pid(), 20s);
    const MessageBoxInfo info = ReadMessageBox(box);
    EXPECT_EQ(info.title, L"Compile Completed - Quellanix");
    EXPECT_EQ(info.text, L"Compile Complete");
    EXPECT_TRUE(info.HasButton(IDOK) && !info.HasButton(IDYES));
    PressButton(box, IDOK);
  }

  // The failure box: its text, after which it is closed. No completion follows.
  std::wstring ExpectFailure() {
    HWND box = WaitForDialog(pid(), 20s);
    const MessageBoxInfo info = ReadMessageBox(box);
    EXPECT_NE(info.text, L"Compile Complete");
    PressButton(box, IDOK);
    std::vector<HWND> others;
    WaitUntil([&] { return !(others = OtherWindows()).empty(); }, 500ms);
    EXPECT_TRUE(others.empty()) << Narrow(Describe(others.front()));
    return info.text;
  }

  void SetPasswordThroughTheButton(const std::wstring& password) {
    Click(PasswordButton());
    AnswerInputBox(WaitForDialog(pid()), password);
    PressButton(WaitForDialog(pid()), IDOK);  // "Password has been set and encrypted."
  }

  // The blocker's settings through the inspect tool, checked against `expected`.
  void ExpectInspected(const std::wstring& title, const SettingsResult& expected) {
    const Inspected r = Inspect(folder().File(L"quellanix-inspect.exe"), Blocker(title));
    EXPECT_EQ(r.exit_code, 0u) << r.out;
    std::string out = r.out;  // the console's line ends
    out.erase(std::remove(out.begin(), out.end(), '\r'), out.end());
    EXPECT_EQ(out, SettingsJson(expected));
  }

  // Byte layout against the template, and the settings as the reader sees them.
  SettingsResult ExpectLayout(const std::wstring& title) {
    const std::string tpl = ReadAll(folder().File(kTemplateFileName));
    const std::string file = ReadAll(Blocker(title));
    const SettingsResult r = ReadSettings(file);
    EXPECT_TRUE(r.ok()) << r.reason;
    const std::size_t L = tpl.size();
    EXPECT_EQ(r.template_length, L);
    EXPECT_EQ(file.compare(0, L - 1, tpl, 0, L - 1), 0);
    EXPECT_EQ(static_cast<unsigned char>(file[L - 1]), 0x11);
    EXPECT_TRUE(Leftovers(folder().path()).empty());
    return r;
  }

  void Tick(std::initializer_list<std::size_t> boxes) {
    for (std::size_t i : boxes) Click(Box(i));
    std::array<int, kEntryCount> expected{};
    for (std::size_t i : boxes) expected[i] = 1;
    ASSERT_TRUE(WaitForBoxStates(expected));
  }
};

constexpr std::size_t kKazaa = 0, kNotepad = 21, kRemoteDesktop = 23, kFreecell = 24, kRun = 34;

TEST_F(CompileTest, MixedSelectionWithAPasswordUnderATypedTitle) {
  Tick({kKazaa, kNotepad, kRemoteDesktop, kFreecell, kRun});
  SetPasswordThroughTheButton(L"Secret 42");
  AnswerInputBox(StartCompile(std::nullopt), L"Family Guard");
  ExpectComplete();

  SettingsResult expected;
  for (std::size_t i : {kKazaa, kNotepad, kRemoteDesktop, kFreecell, kRun}) {
    expected.settings.block[i] = true;
  }
  expected.settings.encrypted_password = Encrypted(L"Secret 42");
  const SettingsResult got = ExpectLayout(L"Family Guard");
  EXPECT_EQ(got.settings.block, expected.settings.block);
  EXPECT_EQ(got.settings.encrypted_password, expected.settings.encrypted_password);
  expected.template_length = got.template_length;
  ExpectInspected(L"Family Guard", expected);

  // The compiled copy runs and ends cleanly.
  AppProcess blocker = AppProcess::Start(Blocker(L"Family Guard"));
  ASSERT_TRUE(blocker.WaitForExit(20s));
  EXPECT_EQ(blocker.ExitCode(), 0u);
}

TEST_F(CompileTest, BlankPasswordNoThenYesUnderThePrefilledTitleTwice) {
  Tick({kRemoteDesktop});
  // No: compiled with an empty password; OK on the pre-filled "Brindlecor".
  PressButton(StartCompile(IDNO, /*by_menu=*/true), IDOK);
  ExpectComplete();
  const SettingsResult first = ExpectLayout(L"Brindlecor");
  EXPECT_EQ(first.settings.encrypted_password, "");
  EXPECT_TRUE(first.settings.block[kRemoteDesktop]);
  ExpectInspected(L"Brindlecor", first);

  // Yes: the password flow runs first; the same title replaces the file whole.
  Click(Box(kRemoteDesktop));
  StartCompile(IDYES);
  AnswerInputBox(WaitForDialog(pid()), L"pw");
  PressButton(WaitForDialog(pid()), IDOK);
  PressButton(WaitForDialog(pid()), IDOK);  // the title box, pre-filled
  ExpectComplete();
  const SettingsResult second = ExpectLayout(L"Brindlecor");
  EXPECT_EQ(second.settings.encrypted_password, Encrypted(L"pw"));
  EXPECT_FALSE(second.settings.block[kRemoteDesktop]);
}

class MissingTemplateTest : public CompileTest {
  void PrepareFolder(const AppFolder& folder) override { folder.Remove(kTemplateFileName); }
};

TEST_F(MissingTemplateTest, NothingIsWrittenAndNoCompletionShows) {
  PressButton(StartCompile(IDNO), IDOK);
  const std::wstring text = ExpectFailure();
  EXPECT_NE(text.find(kTemplateFileName), std::wstring::npos) << Narrow(text);
  EXPECT_FALSE(folder().Exists(L"Brindlecor.exe"));
  EXPECT_TRUE(Leftovers(folder().path()).empty());
}

TEST_F(CompileTest, ARefusedTitleWritesNothing) {
  AnswerInputBox(StartCompile(IDNO), L"CON");
  const std::wstring text = ExpectFailure();
  EXPECT_NE(text.find(L"device"), std::wstring::npos) << Narrow(text);
  AnswerInputBox(StartCompile(IDNO), L"..\\Outside");
  EXPECT_NE(ExpectFailure().find(L"leave"), std::wstring::npos);
  EXPECT_TRUE(Leftovers(folder().path()).empty());
}

TEST_F(CompileTest, AReadOnlyBlockerStaysAsItWas) {
  PressButton(StartCompile(IDNO), IDOK);
  ExpectComplete();
  const std::string before = ReadAll(Blocker(L"Brindlecor"));
  ASSERT_TRUE(::SetFileAttributesW(Blocker(L"Brindlecor").c_str(), FILE_ATTRIBUTE_READONLY));
  Tick({kRun});
  PressButton(StartCompile(IDNO), IDOK);
  const std::wstring text = ExpectFailure();
  EXPECT_NE(text.find(L"Brindlecor.exe"), std::wstring::npos) << Narrow(text);
  EXPECT_TRUE(ReadAll(Blocker(L"Brindlecor")) == before);  // byte for byte
  EXPECT_TRUE(Leftovers(folder().path()).empty());
  ::SetFileAttributesW(Blocker(L"Brindlecor").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(CompileTest, ARunningBlockerStaysAsItWas) {
  // The bare template under the blocker's name keeps running: it waits on its
  // "no settings" message.
  ASSERT_TRUE(
      ::CopyFileW(folder().File(kTemplateFileName).c_str(), Blocker(L"Brindlecor").c_str(), FALSE));
  const std::string before = ReadAll(Blocker(L"Brindlecor"));
  AppProcess running = AppProcess::Start(Blocker(L"Brindlecor"));
  // Its box would cover the main window: move it to the screen's corner.
  HWND waiting = WaitForDialog(running.pid(), 20s);
  RECT r{};
  ::GetWindowRect(waiting, &r);
  ::SetWindowPos(waiting, HWND_BOTTOM, ::GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left),
                 ::GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top), 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE);
  PressButton(StartCompile(IDNO), IDOK);
  const std::wstring text = ExpectFailure();
  EXPECT_NE(text.find(L"Brindlecor.exe"), std::wstring::npos) << Narrow(text);
  EXPECT_TRUE(ReadAll(Blocker(L"Brindlecor")) == before);  // byte for byte
  EXPECT_TRUE(Leftovers(folder().path()).empty());
}

TEST_F(CompileTest, TheBareTemplateAndADamagedBlockerSaySo) {
  PressButton(StartCompile(IDNO), IDOK);
  ExpectComplete();
  // Damage one flag's value: -1 becomes 1.
  std::string bytes = ReadAll(Blocker(L"Brindlecor"));
  const std::size_t at = bytes.find(std::string("\x05\x00Kazaa\x0b\x00", 9));
  ASSERT_NE(at, std::string::npos);
  bytes[at + 9] = 1;
  const std::wstring damaged = folder().File(L"Damaged.exe");
  {
    win::FileHandle out(
        ::CreateFileW(damaged.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(
        ::WriteFile(out.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  }
  const Inspected r = Inspect(folder().File(L"quellanix-inspect.exe"), damaged);
  EXPECT_EQ(r.exit_code, 1u);
  EXPECT_NE(r.out.find("Boolean"), std::string::npos) << r.out;

  for (const std::wstring& exe : {damaged, folder().File(kTemplateFileName)}) {
    AppProcess p = AppProcess::Start(exe);
    const MessageBoxInfo info = ReadMessageBox(WaitForDialog(p.pid(), 20s));
    EXPECT_EQ(info.title, L"Quellanix Blocker");
    EXPECT_NE(info.text.find(exe == damaged ? L"damaged" : L"no blocker settings"),
              std::wstring::npos)
        << Narrow(info.text);
  }
}

// A full disk: the program runs from a folder on a small tmpfs that
// scripts/e2e-full-disk.sh mounts (as root) and names in QX_E2E_SMALL_DISK.
TEST(FullDiskTest, TheOlderBlockerIsIntactAndNoTemporaryFileRemains) {
  wchar_t disk[MAX_PATH] = {};
  if (!::GetEnvironmentVariableW(L"QX_E2E_SMALL_DISK", disk, static_cast<DWORD>(std::size(disk)))) {
    GTEST_SKIP() << "QX_E2E_SMALL_DISK is not set: run scripts/e2e-full-disk.sh as root, which "
                    "mounts a small tmpfs for this test";
  }
  const std::wstring folder = disk;
  for (const wchar_t* name : {L"Quellanix.exe", kTemplateFileName}) {
    ASSERT_TRUE(
        ::CopyFileW((DistDir() + L"\\" + name).c_str(), (folder + L"\\" + name).c_str(), FALSE));
  }
  const std::wstring blocker = folder + L"\\Brindlecor.exe";
  const std::wstring filler = folder + L"\\filler.bin";
  AppProcess app = AppProcess::Start(folder + L"\\Quellanix.exe");
  HWND main = WaitForTopWindow(app.pid(), win::kMainWindowClass, L"", 20s);
  const auto compile = [&] {
    Click(ChildById(main, win::kCompileButtonId));
    PressButton(WaitForDialog(app.pid()), IDNO);  // no password
    PressButton(WaitForDialog(app.pid()), IDOK);  // "Brindlecor"
    HWND box = WaitForDialog(app.pid(), 20s);
    const MessageBoxInfo info = ReadMessageBox(box);
    PressButton(box, IDOK);
    return info.text;
  };
  ASSERT_EQ(compile(), L"Compile Complete");
  const std::string before = ReadAll(blocker);

  // Fill the disk, then free less than a template's worth.
  {
    win::FileHandle fill(
        ::CreateFileW(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(fill);
    const std::string chunk(64 * 1024, 'f');
    DWORD written = 0;
    while (::WriteFile(fill.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &written,
                       nullptr) &&
           written == chunk.size()) {
    }
    LARGE_INTEGER size{};
    ::GetFileSizeEx(fill.get(), &size);
    LARGE_INTEGER keep{};
    keep.QuadPart = size.QuadPart > 96 * 1024 ? size.QuadPart - 96 * 1024 : 0;
    ::SetFilePointerEx(fill.get(), keep, nullptr, FILE_BEGIN);
    ::SetEndOfFile(fill.get());
  }
  Click(ChildById(main, win::BoxId(0)));  // a new bag would differ from the old
  const std::wstring text = compile();
  EXPECT_NE(text, L"Compile Complete");
  EXPECT_NE(text.find(L"Brindlecor.exe"), std::wstring::npos) << Narrow(text);
  EXPECT_NE(text.find(L"(error 112)"), std::wstring::npos) << Narrow(text);  // disk full
  EXPECT_TRUE(ReadAll(blocker) == before);                                   // byte for byte
  EXPECT_TRUE(Leftovers(folder).empty());
  ::DeleteFileW(filler.c_str());
  ::DeleteFileW(blocker.c_str());
}

}  // namespace
}  // namespace qx::e2e
