// The real main window, created in this process, checked where another
// process cannot look: fonts, menus, icon, and the exe's version resource.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "app/win32/control_ids.h"
#include "ui/fonts.h"
#include "app/win32/main_layout.h"
#include "app/win32/main_window.h"
#include "ui/win_runtime.h"
#include "tests/win/in_process.h"

namespace qx::win {
namespace {

class MainWindowInProcess : public ::testing::Test {
 protected:
  void SetUp() override { window_.Create(SW_SHOWNORMAL); }
  void TearDown() override {
    if (IsWindow(window_.hwnd())) DestroyWindow(window_.hwnd());
    DrainMessages();
  }

  LOGFONTW FontOf(int id) {
    HWND control = GetDlgItem(window_.hwnd(), id);
    EXPECT_NE(SendMessageW(control, WM_GETFONT, 0, 0), 0) << id;
    return win::FontOf(control);
  }

  void ExpectFont(int id, int centipoints, bool bold) {
    const LOGFONTW lf = FontOf(id);
    EXPECT_EQ(lf.lfHeight, -MulDiv(centipoints, 96, 7200)) << id;
    EXPECT_EQ(lf.lfWeight, bold ? FW_BOLD : FW_NORMAL) << id;
    EXPECT_EQ(std::wstring(lf.lfFaceName), face_) << id;
  }

  WinRuntime runtime_{GetModuleHandleW(nullptr)};
  PublicValues values_;
  MainWindow window_{GetModuleHandleW(nullptr), runtime_.rt(), values_};
  std::wstring face_ = FontCache(96).Face();
};

TEST_F(MainWindowInProcess, FontsFollowTheLayoutTables) {
  // Arial where installed; otherwise the metric-compatible face.
  EXPECT_TRUE(face_ == L"Arial" || face_ == L"Liberation Sans" || face_ == L"Arimo") << face_;
  for (std::size_t i = 0; i < kEntryCount; ++i) {
    const bool remote = kCatalogue[i].control == "chkRemoteDesktop";
    ExpectFont(BoxId(i), remote ? 900 : 975, true);
  }
  for (std::size_t i = 0; i < kGroupCount; ++i) ExpectFont(HeaderId(i), 1200, true);
  ExpectFont(kInstructionsId, 1125, false);
}

std::wstring ItemText(HMENU menu, UINT position) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, position, text, static_cast<int>(std::size(text)), MF_BYPOSITION);
  return text;
}

TEST_F(MainWindowInProcess, MenuTreeHasItsCaptionsAccessKeysAndNoStates) {
  HMENU bar = GetMenu(window_.hwnd());
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  EXPECT_EQ(ItemText(bar, 0), L"&File");
  EXPECT_EQ(ItemText(bar, 1), L"&Help");
  const std::vector<std::pair<std::wstring, UINT>> file{{L"Set &Password", kMenuPassword},
                                                        {L"&Compile", kMenuCompile},
                                                        {L"&Open Application Folder", kMenuOpenApp},
                                                        {L"", 0},
                                                        {L"E&xit", kMenuExit}};
  const std::vector<std::pair<std::wstring, UINT>> help{{L"About Voskrel", kMenuAbout},
                                                        {L"&Help Index", kMenuIndex}};
  for (int m = 0; m < 2; ++m) {
    HMENU popup = GetSubMenu(bar, m);
    const auto& expected = m == 0 ? file : help;
    ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(expected.size()));
    for (UINT i = 0; i < expected.size(); ++i) {
      MENUITEMINFOW info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID;
      ASSERT_TRUE(GetMenuItemInfoW(popup, i, TRUE, &info));
      if (expected[i].second == 0) {
        EXPECT_TRUE(info.fType & MFT_SEPARATOR);
        continue;
      }
      EXPECT_EQ(ItemText(popup, i), expected[i].first);
      EXPECT_EQ(info.wID, expected[i].second);
      EXPECT_EQ(info.fState & (MFS_CHECKED | MFS_DISABLED), 0u) << i;
    }
  }
}

TEST_F(MainWindowInProcess, WindowIconIsTheFiftyPixelImage) {
  auto icon = reinterpret_cast<HICON>(SendMessageW(window_.hwnd(), WM_GETICON, ICON_BIG, 0));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(window_.hwnd(), GCLP_HICON));
  ASSERT_NE(icon, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAP colour{};
  GetObjectW(info.hbmColor, sizeof colour, &colour);
  EXPECT_EQ(colour.bmWidth, 50);
  EXPECT_EQ(colour.bmHeight, 50);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
}

TEST_F(MainWindowInProcess, ResizingMovesNoControl) {
  auto rects = [&] {
    std::vector<RECT> out;
    for (std::size_t i = 0; i < kEntryCount; ++i) {
      out.push_back(InParent(GetDlgItem(window_.hwnd(), BoxId(i))));
    }
    return out;
  };
  const auto before = rects();
  SetWindowPos(window_.hwnd(), nullptr, 0, 0, 900, 800, SWP_NOMOVE | SWP_NOZORDER);
  ShowWindow(window_.hwnd(), SW_MAXIMIZE);
  const auto after = rects();
  for (std::size_t i = 0; i < kEntryCount; ++i) {
    EXPECT_TRUE(EqualRect(&before[i], &after[i])) << kCatalogue[i].control;
  }
}

std::wstring VersionString(const std::vector<BYTE>& block, const wchar_t* name) {
  wchar_t* value = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length)) {
    return L"<missing>";
  }
  return std::wstring(value, length > 0 ? length - 1 : 0);
}

TEST(VersionResource, CarriesTheProductFacts) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(QX_TEST_EXE, &ignored);
  ASSERT_GT(size, 0u) << "no version resource in " << QX_TEST_EXE;
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(QX_TEST_EXE, 0, size, block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(1, 2));
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(1, 2));
  EXPECT_EQ(VersionString(block, L"ProductName"), L"Quellanix V2.0");
  EXPECT_EQ(VersionString(block, L"CompanyName"), L"Brindlecor");
  EXPECT_EQ(VersionString(block, L"InternalName"), L"Quellanix");
  EXPECT_EQ(VersionString(block, L"FileVersion"), L"2.1.0.0");
  DWORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  EXPECT_EQ(LOWORD(*translation), 0x0409);
}

}  // namespace
}  // namespace qx::win
