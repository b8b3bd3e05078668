// The About dialog: its texts, and the System Info button against registry
// values set by the test, where only the real system shows what starts.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "about/about_texts.h"
#include "about/frm_about.h"
#include "about/win32/about_layout.h"
#include "common/version.h"
#include "tests/e2e/quellanix_fixture.h"
#include "ui/layout.h"

namespace qx::e2e {
namespace {

constexpr wchar_t kProduct[] = QX_WIDEN(QX_PRODUCT_NAME);

class AboutTest : public QuellanixTest {
 protected:
  void SetUp() override {
    ClearRegistry();
    QuellanixTest::SetUp();
  }
  void TearDown() override {
    QuellanixTest::TearDown();
    ClearRegistry();
  }
  // The values the dialog reads, gone before and after every test.
  static void ClearRegistry() {
    ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kSysInfoPathKey, kSysInfoPathValue);
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kSysInfoFolderKey);
  }
  static void SetValue(const wchar_t* key, const wchar_t* name, const std::wstring& text) {
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, name, REG_SZ, text.c_str(), bytes), 0);
  }

  // Help, then its first item; the dialog once in front with the focus inside.
  HWND OpenAbout() {
    ChooseMenuItem(L'H', static_cast<wchar_t>(VK_RETURN));
    HWND about = WaitForTopWindow(pid(), kDialogClass, std::wstring(L"About ") + kProduct);
    if (!WaitUntil([&] {
          return ::GetForegroundWindow() == about && ::IsChild(about, FocusedControl(about));
        })) {
      throw DriverError(L"the About dialog did not take the focus");
    }
    return about;
  }

  // The unavailable message over the dialog, answered; the dialog stays.
  void ExpectUnavailable(HWND about) {
    HWND box = WaitForTopWindow(pid(), kDialogClass, kProduct);
    EXPECT_EQ(ReadBox(box).text, kSysInfoUnavailable);
    PressButton(box, IDOK);
    EXPECT_TRUE(::IsWindowVisible(about));
  }

  // A copy of the marker tool; once started it leaves `path` + ".ran" holding
  // its command line.
  std::wstring PlaceMarker(std::wstring_view name) const {
    const std::wstring path = tools_.File(name);
    if (!::CopyFileW(QX_MARKER_EXE, path.c_str(), FALSE)) throw DriverError(L"cannot copy marker");
    return path;
  }
  static bool Ran(const std::wstring& path) {
    return ::GetFileAttributesW((path + L".ran").c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  static std::wstring CommandLineOf(const std::wstring& path) {
    const std::string bytes = ReadFile(path + L".ran");
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
  }

  AppFolder tools_;  // its name holds spaces
};

TEST_F(AboutTest, ShowsItsTextsAndStartsTheToolByItsExactPath) {
  // Started unquoted, the path would stop at the first blank: the decoy.
  const std::wstring decoy = PlaceMarker(L"Sys.exe");
  ::CreateDirectoryW(tools_.File(L"Sys Info").c_str(), nullptr);
  const std::wstring tool = PlaceMarker(L"Sys Info\\msinfo tool.exe");
  SetValue(kSysInfoPathKey, kSysInfoPathValue, tool);

  HWND about = OpenAbout();
  SaveScreenshot(about, ::GetSysColor(COLOR_BTNFACE), L"about_dialog");
  EXPECT_EQ(Text(ChildById(about, win::kAboutTitleId)), kProduct);
  EXPECT_EQ(Text(ChildById(about, win::kAboutVersionId)),
            L"Version " + std::to_wstring(QX_VERSION_MAJOR) + L"." +
                std::to_wstring(QX_VERSION_MINOR) + L"." + std::to_wstring(QX_VERSION_REVISION));
  EXPECT_EQ(Text(ChildById(about, win::kAboutDescriptionId)), kAboutDescription);
  EXPECT_EQ(Text(ChildById(about, win::kAboutDisclaimerId)), kAboutDisclaimer);
  POINT origin{0, 0};  // not centred: placed from the screen's corner
  ::ClientToScreen(about, &origin);
  EXPECT_EQ(origin.x, win::TwipsToPixels(win::kAboutLeftTwips, 96));
  EXPECT_EQ(origin.y, win::TwipsToPixels(win::kAboutTopTwips, 96));

  Click(ChildById(about, win::kAboutSysInfoId));
  ASSERT_TRUE(WaitUntil([&] { return Ran(tool); }));
  EXPECT_EQ(CommandLineOf(tool), L"\"" + tool + L"\"");
  EXPECT_FALSE(Ran(decoy));
  EXPECT_TRUE(::IsWindowVisible(about));

  // Exit ends the program with the dialog still open.
  ChooseMenuItem(L'F', L'X');
  EXPECT_TRUE(app().WaitForExit());
}

// The value is read into 1024 bytes: 1023 characters and the terminator are
// read (the missing path is tried), one more is not (the folder is used).
TEST_F(AboutTest, APathOf1024BytesIsReadAndALongerOneIsNot) {
  const std::wstring tool = PlaceMarker(kSysInfoFileName);
  SetValue(kSysInfoFolderKey, kSysInfoFolderValue, tools_.path());
  HWND about = OpenAbout();

  SetValue(kSysInfoPathKey, kSysInfoPathValue, L"C:\\" + std::wstring(1020, L'x'));
  Click(ChildById(about, win::kAboutSysInfoId));
  ExpectUnavailable(about);
  EXPECT_FALSE(Ran(tool));

  SetValue(kSysInfoPathKey, kSysInfoPathValue, L"C:\\" + std::wstring(1021, L'x'));
  Click(ChildById(about, win::kAboutSysInfoId));
  EXPECT_TRUE(WaitUntil([&] { return Ran(tool); }));
}

}  // namespace
}  // namespace qx::e2e
