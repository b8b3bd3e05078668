// The About dialog: opened from the Help menu, its layout and texts, how it
// closes, and the System Info button against registry values set by the test.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "ui/layout.h"
#include "tests/e2e/driver/app_process.h"
#include "tests/e2e/driver/dialogs.h"
#include "tests/e2e/driver/driver_error.h"
#include "tests/e2e/driver/input.h"
#include "tests/e2e/driver/screenshot.h"
#include "tests/e2e/driver/wait.h"
#include "tests/e2e/driver/windows.h"
#include "tests/e2e/quellanix_fixture.h"

#ifndef QX_MARKER_EXE
#error "QX_MARKER_EXE names the marker tool (about/targets.cmake)"
#endif

namespace qx::e2e {
namespace {

constexpr wchar_t kCaption[] = L"About Quellanix V2.0";
constexpr wchar_t kUnavailable[] = L"System Information Is Unavailable At This Time";
constexpr wchar_t kPathKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr wchar_t kFolderKey[] = L"SOFTWARE\\Microsoft\\Shared Tools Location";

// Control identifiers of the dialog.
constexpr int kOk = IDOK;
constexpr int kSysInfo = 1001;
constexpr int kIcon = 1002;
constexpr int kTitle = 1003;
constexpr int kVersion = 1004;
constexpr int kDescription = 1005;
constexpr int kDisclaimer = 1006;

RECT Pixels(int left, int top, int width, int height) {
  constexpr int dpi = 96;  // Wine's default
  const int l = win::TwipsToPixels(left, dpi);
  const int t = win::TwipsToPixels(top, dpi);
  return {l, t, l + win::TwipsToPixels(width, dpi), t + win::TwipsToPixels(height, dpi)};
}

std::string Show(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
         std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

// HKLM values for one test; whatever it set is removed again.
class RegistryScript {
 public:
  RegistryScript() = default;
  RegistryScript(const RegistryScript&) = delete;
  RegistryScript& operator=(const RegistryScript&) = delete;
  ~RegistryScript() { Clear(); }

  void SetText(const wchar_t* key, const wchar_t* name, const std::wstring& text) {
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    Set(key, name, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes);
  }
  void SetEmpty(const wchar_t* key, const wchar_t* name) { Set(key, name, REG_SZ, nullptr, 0); }

  // The values the dialog reads, gone before and after every test.
  static void Clear() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPathKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      ::RegDeleteValueW(key, L"PATH");
      ::RegCloseKey(key);
    }
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kFolderKey);
  }

 private:
  static void Set(const wchar_t* key_name, const wchar_t* name, DWORD type, const BYTE* data,
                  DWORD size) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key_name, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS) {
      throw DriverError(L"cannot create HKLM\\" + std::wstring(key_name));
    }
    const LSTATUS status = ::RegSetValueExW(key, name, 0, type, data, size);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS) throw DriverError(L"cannot set " + std::wstring(name));
  }
};

class AboutTest : public QuellanixTest {
 protected:
  void SetUp() override {
    RegistryScript::Clear();
    QuellanixTest::SetUp();
    // Let activation settle (the previous test's program may just be ending)
    // before anything is clicked.
    BringToFront(main());
    RoundTrip(main());
  }

  // Help, then the menu's first item, "About Voskrel".
  HWND OpenAbout() {
    ChooseHelpAbout();
    HWND about = WaitForTopWindow(pid(), kDialogClass, kCaption);
    // Keys go to the active window: wait until the dialog is in front with the
    // focus on one of its buttons, as a person would see it.
    if (!WaitUntil([&] {
          HWND focus = FocusedControl(about);
          return ::GetForegroundWindow() == about && focus && ::IsChild(about, focus);
        })) {
      throw DriverError(L"the About dialog did not take the focus");
    }
    return about;
  }
  void ChooseHelpAbout() {
    // The menu from the last choice may still be closing; its popup would be
    // taken for the new one.
    WaitUntil([&] { return FindTopWindow(pid(), L"#32768", L"") == nullptr; });
    ChooseMenuItem(L'H', static_cast<wchar_t>(VK_RETURN));
  }
  std::vector<HWND> AboutWindows() const {
    std::vector<HWND> found;
    for (HWND w : TopWindows(pid())) {
      if (ClassOf(w) == kDialogClass && Text(w) == kCaption) found.push_back(w);
    }
    return found;
  }

  // A message box over the About dialog: another #32770 window of the program;
  // nullptr when none shows within the time.
  HWND MessageBoxWithin(HWND about, std::chrono::milliseconds timeout) const {
    HWND box = nullptr;
    WaitUntil(
        [&] {
          for (HWND w : TopWindows(pid())) {
            if (w != about && w != main() && ClassOf(w) == kDialogClass) box = w;
          }
          return box != nullptr;
        },
        timeout);
    return box;
  }
  HWND WaitForMessageBox(HWND about) const {
    HWND box = MessageBoxWithin(about, kDefaultTimeout);
    if (!box) throw DriverError(L"no message box showed");
    return box;
  }

  // The unavailable message: read, answered with OK; the dialog stays open.
  void ExpectUnavailable(HWND about) {
    HWND box = WaitForMessageBox(about);
    const MessageBoxInfo info = ReadMessageBox(box);
    EXPECT_EQ(info.title, L"Quellanix V2.0");
    EXPECT_EQ(info.text, kUnavailable);
    ASSERT_EQ(info.buttons.size(), 1u);
    EXPECT_EQ(info.buttons[0].id, IDOK);
    WaitUntil([&] { return ::GetForegroundWindow() == box; });
    RoundTrip(box);
    PressButton(box, IDOK);
    EXPECT_TRUE(::IsWindow(about) && ::IsWindowVisible(about));
  }

  // A copy of the marker tool at `path`; it leaves `path` + ".ran" when started.
  static void PlaceMarker(const std::wstring& path) {
    if (!::CopyFileW(QX_MARKER_EXE, path.c_str(), FALSE)) {
      throw DriverError(L"cannot copy the marker tool to " + path);
    }
  }
  static bool Ran(const std::wstring& path) {
    return ::GetFileAttributesW((path + L".ran").c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  static std::wstring CommandLineOf(const std::wstring& path) {
    win::FileHandle file(::CreateFileW((path + L".ran").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
    std::wstring text(512, L'\0');
    DWORD read = 0;
    if (!file || !::ReadFile(file.get(), text.data(),
                             static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr)) {
      return {};
    }
    text.resize(read / sizeof(wchar_t));
    return text;
  }

  void ClickSysInfo(HWND about) { Click(ChildById(about, kSysInfo)); }

  RegistryScript registry_;
  AppFolder tools_;  // its name holds spaces
};

TEST_F(AboutTest, ShowsTitleVersionTextsAndLayout) {
  HWND about = OpenAbout();
  SaveScreenshot(about, L"about_dialog");
  EXPECT_EQ(Text(ChildById(about, kTitle)), L"Quellanix V2.0");
  EXPECT_EQ(Text(ChildById(about, kVersion)), L"Version 2.1.0");
  EXPECT_EQ(Text(ChildById(about, kOk)), L"OK");
  EXPECT_EQ(Text(ChildById(about, kSysInfo)), L"&System Info...");
  EXPECT_EQ(Text(ChildById(about, kDescription)),
            L"Brindlecor's Quellanix is designed for Administrators and Parents to stop their "
            L"PC's from being used for illegal activities.  ---  We cannot guarantee that this "
            L"software will prevent your choosen applications from being started - however it "
            L"is a good aditional step to take.");
  const std::wstring notice = Text(ChildById(about, kDisclaimer));
  EXPECT_EQ(notice.rfind(L"Warning: ... ", 0), 0u) << Narrow(notice);
  EXPECT_NE(notice.find(L"www.brindlecor.com"), std::wstring::npos) << Narrow(notice);

  // Fixed dialog border, no owner, client area in place.
  EXPECT_FALSE(HasStyle(about, WS_THICKFRAME));
  EXPECT_FALSE(HasStyle(about, WS_MINIMIZEBOX));
  EXPECT_FALSE(HasStyle(about, WS_MAXIMIZEBOX));
  EXPECT_TRUE(::GetWindowLongW(about, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  EXPECT_EQ(::GetWindow(about, GW_OWNER), nullptr);
  const SIZE client = ClientSize(about);
  EXPECT_EQ(client.cx, 382);
  EXPECT_EQ(client.cy, 237);
  POINT origin{0, 0};
  ::ClientToScreen(about, &origin);
  EXPECT_EQ(origin.x, 156);
  EXPECT_EQ(origin.y, 129);

  const struct {
    int id;
    RECT rect;
  } expected[] = {
      {kIcon, Pixels(120, 240, 795, 705)},         {kTitle, Pixels(1050, 240, 3885, 480)},
      {kVersion, Pixels(1050, 780, 3885, 225)},    {kDescription, Pixels(1050, 1125, 3885, 1170)},
      {kDisclaimer, Pixels(255, 2625, 3870, 825)}, {kOk, Pixels(4245, 2625, 1260, 345)},
      {kSysInfo, Pixels(4260, 3075, 1245, 345)},
  };
  for (const auto& e : expected) {
    const RECT r = RectInParent(ChildById(about, e.id));
    EXPECT_TRUE(::EqualRect(&r, &e.rect)) << e.id << ": " << Show(r) << " not " << Show(e.rect);
  }

  // OK has the focus and Tab goes on to System Info; labels take none.
  EXPECT_TRUE(WaitUntil([&] { return FocusedControl(about) == ChildById(about, kOk); }));
  PressKey(VK_TAB);
  EXPECT_TRUE(WaitUntil([&] { return FocusedControl(about) == ChildById(about, kSysInfo); }));
  PressKey(VK_TAB);
  EXPECT_TRUE(WaitUntil([&] { return FocusedControl(about) == ChildById(about, kOk); }));

  // The etched separator: grey row at 2445 twips, white rows below it.
  const Capture shot = CaptureWindow(about);
  RECT frame{};
  ::GetWindowRect(about, &frame);
  const int x = origin.x - frame.left + 200;
  const int y = origin.y - frame.top + 163;
  EXPECT_EQ(shot.Pixel(x, y), 0x808080u);
  EXPECT_EQ(shot.Pixel(x, y + 1), 0xFFFFFFu);
  EXPECT_EQ(shot.Pixel(x, y + 2), 0xFFFFFFu);
}

TEST_F(AboutTest, SecondAboutBringsTheSameDialogForward) {
  HWND about = OpenAbout();
  BringToFront(main());
  ChooseHelpAbout();
  EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == about; }));
  EXPECT_EQ(AboutWindows(), std::vector<HWND>{about});

  // Modeless: the main window still serves clicks while the dialog is open.
  std::size_t first_internet = 0;
  while (kCatalogue[first_internet].group != Group::Internet) ++first_internet;
  Click(Header(Group::Internet));
  EXPECT_TRUE(WaitUntil([&] { return CheckState(Box(first_internet)) == 1; }));
  EXPECT_TRUE(::IsWindowVisible(about));
}

TEST_F(AboutTest, EnterAndEscapeCloseAndTheNextAboutLoadsAfresh) {
  HWND about = OpenAbout();
  PressKey(VK_RETURN);  // the focus is on OK
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(about); }));

  about = OpenAbout();
  EXPECT_EQ(Text(ChildById(about, kVersion)), L"Version 2.1.0");
  PressKey(VK_TAB);  // to System Info: Escape closes anyway
  ASSERT_TRUE(WaitUntil([&] { return FocusedControl(about) == ChildById(about, kSysInfo); }));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(about); }));

  about = OpenAbout();
  Click(ChildById(about, kOk));
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(about); }));

  about = OpenAbout();
  Chord({VK_MENU, VK_F4});  // the close box's way: unloads like OK
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(about); }));
  EXPECT_TRUE(app().Running());
}

TEST_F(AboutTest, EnterOnSystemInfoStartsTheToolAndKeepsTheDialog) {
  const std::wstring tool = tools_.File(L"sysinfo.exe");
  PlaceMarker(tool);
  registry_.SetText(kPathKey, L"PATH", tool);
  HWND about = OpenAbout();
  PressKey(VK_TAB);
  ASSERT_TRUE(WaitUntil([&] { return FocusedControl(about) == ChildById(about, kSysInfo); }));
  PressKey(VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return Ran(tool); }));
  EXPECT_TRUE(::IsWindow(about));
}

TEST_F(AboutTest, ExitClosesBothWindows) {
  OpenAbout();
  WaitUntil([&] { return FindTopWindow(pid(), L"#32768", L"") == nullptr; });
  ChooseMenuItem(L'F', L'X');
  EXPECT_TRUE(app().WaitForExit());
}

TEST_F(AboutTest, ProgramRunsOnUntilTheDialogClosesToo) {
  HWND about = OpenAbout();
  ::PostMessageW(main(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(main()); }));
  EXPECT_FALSE(app().WaitForExit(500ms));
  Click(ChildById(about, kOk));
  EXPECT_TRUE(app().WaitForExit());
}

TEST_F(AboutTest, PathValueStartsThatProgramByItsExactPath) {
  // A shorter program where an unquoted command line would stop at the first
  // blank of the last folder: it must not run.
  const std::wstring decoy = tools_.File(L"Sys.exe");
  ::CreateDirectoryW(tools_.File(L"Sys Info").c_str(), nullptr);
  const std::wstring tool = tools_.File(L"Sys Info\\msinfo tool.exe");
  PlaceMarker(decoy);
  PlaceMarker(tool);
  registry_.SetText(kPathKey, L"PATH", tool);
  registry_.SetText(kFolderKey, L"MSINFO", tools_.path());
  PlaceMarker(tools_.File(L"MSINFO32.EXE"));

  HWND about = OpenAbout();
  ClickSysInfo(about);
  ASSERT_TRUE(WaitUntil([&] { return Ran(tool); }));
  std::wstring command_line;
  WaitUntil([&] { return !(command_line = CommandLineOf(tool)).empty(); });
  EXPECT_EQ(command_line, L"\"" + tool + L"\"");
  EXPECT_FALSE(Ran(decoy));
  EXPECT_FALSE(Ran(tools_.File(L"MSINFO32.EXE")));
  EXPECT_EQ(MessageBoxWithin(about, 300ms), nullptr);
}

TEST_F(AboutTest, MissingPathProgramGivesTheMessageWithoutTryingTheFolder) {
  registry_.SetText(kPathKey, L"PATH", tools_.File(L"missing.exe"));
  registry_.SetText(kFolderKey, L"MSINFO", tools_.path());
  PlaceMarker(tools_.File(L"MSINFO32.EXE"));
  HWND about = OpenAbout();
  ClickSysInfo(about);
  ExpectUnavailable(about);
  EXPECT_FALSE(Ran(tools_.File(L"MSINFO32.EXE")));
}

TEST_F(AboutTest, FolderValueWithTheToolStartsIt) {
  const std::wstring tool = tools_.File(L"MSINFO32.EXE");
  PlaceMarker(tool);
  registry_.SetText(kFolderKey, L"MSINFO", tools_.path());
  HWND about = OpenAbout();
  ClickSysInfo(about);
  EXPECT_TRUE(WaitUntil([&] { return Ran(tool); }));
}

TEST_F(AboutTest, FolderValueWithoutTheToolGivesTheMessage) {
  PlaceMarker(tools_.File(L"other.exe"));
  registry_.SetText(kFolderKey, L"MSINFO", tools_.path());
  HWND about = OpenAbout();
  ClickSysInfo(about);
  ExpectUnavailable(about);
  EXPECT_FALSE(Ran(tools_.File(L"other.exe")));
}

TEST_F(AboutTest, NeitherValueGivesTheMessage) {
  HWND about = OpenAbout();
  ClickSysInfo(about);
  SaveScreenshot(WaitForMessageBox(about), L"about_unavailable");
  ExpectUnavailable(about);
}

TEST_F(AboutTest, PathValueWithoutDataGivesTheMessage) {
  registry_.SetEmpty(kPathKey, L"PATH");
  registry_.SetText(kFolderKey, L"MSINFO", tools_.path());
  PlaceMarker(tools_.File(L"MSINFO32.EXE"));
  HWND about = OpenAbout();
  ClickSysInfo(about);
  ExpectUnavailable(about);
  EXPECT_FALSE(Ran(tools_.File(L"MSINFO32.EXE")));
  // Still working: the next click is served the same way.
  ClickSysInfo(about);
  ExpectUnavailable(about);
}

TEST_F(AboutTest, PathOf1024BytesIsReadAndLongerIsNot) {
  const std::wstring tool = tools_.File(L"MSINFO32.EXE");
  PlaceMarker(tool);
  registry_.SetText(kFolderKey, L"MSINFO", tools_.path());
  HWND about = OpenAbout();

  // 1023 characters and the terminator: read, so the (missing) path is tried.
  registry_.SetText(kPathKey, L"PATH", L"C:\\" + std::wstring(1020, L'x'));
  ClickSysInfo(about);
  ExpectUnavailable(about);
  EXPECT_FALSE(Ran(tool));

  // One byte more does not fit: the folder value is used instead.
  registry_.SetText(kPathKey, L"PATH", L"C:\\" + std::wstring(1021, L'x'));
  ClickSysInfo(about);
  EXPECT_TRUE(WaitUntil([&] { return Ran(tool); }));
}

}  // namespace
}  // namespace qx::e2e
