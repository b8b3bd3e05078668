// The About dialog: how it opens and closes, and the System Info
// button against registry values set by the test, where only the real system
// shows what starts.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "about/about_texts.h"
#include "about/frm_about.h"
#include "about/win32/about_layout.h"
#include "common/version.h"
#include "tests/e2e/quellanix_fixture.h"

namespace qx::e2e {
namespace {

constexpr wchar_t kProduct[] = QX_WIDEN(QX_PRODUCT_NAME);
const std::wstring kCaption = std::wstring(L"About ") + kProduct;

class AboutTest : public QuellanixTest {
 protected:
  // The values the dialog reads, gone before and after every test.
  AboutTest() { ClearRegistry(); }
  ~AboutTest() override { ClearRegistry(); }
  static void ClearRegistry() {
    ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kSysInfoPathKey, kSysInfoPathValue);
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kSysInfoFolderKey);
  }
  static void SetValue(const wchar_t* key, const wchar_t* name, const std::wstring& text) {
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, name, REG_SZ, text.c_str(), bytes), 0);
  }

  // Help, then its first item: the About dialog that comes to the front, with
  // the focus inside.
  HWND OpenAbout() {
    ChooseMenuItem(L'H', static_cast<wchar_t>(VK_RETURN));
    HWND about = nullptr;
    Await(
        [&] {
          about = ::GetForegroundWindow();
          return ClassOf(about) == kDialogClass && Text(about) == kCaption &&
                 ::IsChild(about, FocusedControl(about));
        },
        L"no About dialog came to the front with the focus");
    return about;
  }

  // A copy of the marker tool; once started it leaves `path` + ".ran" holding
  // its command line.
  std::wstring PlaceMarker(std::wstring_view name) const {
    const std::wstring path = tools_.File(name);
    if (!::CopyFileW(QX_MARKER_EXE, path.c_str(), FALSE)) throw DriverError(L"cannot copy marker");
    return path;
  }
  // The command line the marker at `path` was started with; empty until then.
  static std::wstring StartedWith(const std::wstring& path) {
    const std::string bytes = ReadFile(path + L".ran");
    return {reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2};
  }

  AppFolder tools_;  // its name holds spaces
};

// The path value is read into 1024 bytes: a longer one is not read, and the
// folder is used.
// Started unquoted, the path would stop at the first blank: the decoy.
TEST_F(AboutTest, StartsTheToolByItsExactPathOrFromItsFolder) {
  const std::wstring decoy = PlaceMarker(L"Sys.exe"), in_folder = PlaceMarker(kSysInfoFileName);
  ::CreateDirectoryW(tools_.File(L"Sys Info").c_str(), nullptr);
  const std::wstring tool = PlaceMarker(L"Sys Info\\msinfo tool.exe");
  SetValue(kSysInfoFolderKey, kSysInfoFolderValue, tools_.path());
  SetValue(kSysInfoPathKey, kSysInfoPathValue, L"C:\\" + std::wstring(1021, L'x'));

  HWND about = OpenAbout();
  SaveScreenshot(about, ::GetSysColor(COLOR_BTNFACE), L"about_dialog");
  Click(ChildById(about, win::kAboutSysInfoId));
  EXPECT_TRUE(WaitUntil([&] { return !StartedWith(in_folder).empty(); }));

  SetValue(kSysInfoPathKey, kSysInfoPathValue, tool);
  Click(ChildById(about, win::kAboutSysInfoId));
  ASSERT_TRUE(WaitUntil([&] { return !StartedWith(tool).empty(); }));
  EXPECT_EQ(StartedWith(tool), L"\"" + tool + L"\"");
  EXPECT_EQ(StartedWith(decoy), L"");
  EXPECT_TRUE(::IsWindowVisible(about));

  // Exit ends the program with the dialog still open.
  ChooseMenuItem(L'F', L'X');
  EXPECT_TRUE(app().WaitForExit());
}

// Chosen again while open, the same dialog comes to the front.
TEST_F(AboutTest, OneDialogThatOutlivesTheMainWindow) {
  OpenAbout();
  HWND about = OpenAbout();
  EXPECT_EQ(std::ranges::count_if(TopWindows(pid()), [](HWND w) { return Text(w) == kCaption; }),
            1);
  EXPECT_EQ(FocusedControl(about), ChildById(about, win::kAboutOkId));

  // The main window closed (Alt+F4, as its close box does): the program runs
  // on (the dialog still takes keys) until the dialog closes too.
  HWND sys_info = ChildById(about, win::kAboutSysInfoId);
  BringToFront(main());
  PressKey(VK_F4, VK_MENU);
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(main()); }));
  BringToFront(about);
  PressKey(VK_TAB);
  EXPECT_TRUE(WaitUntil([&] { return FocusedControl(about) == sys_info; }));
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(app().WaitForExit());
  EXPECT_EQ(app().ExitCode(), 0u);
}

}  // namespace
}  // namespace qx::e2e
