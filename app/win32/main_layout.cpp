#include "app/win32/main_layout.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "app/win32/control_ids.h"
#include "assets/resource.h"
#include "common/version.h"
#include "ui/image_box.h"

namespace qx::win {
namespace {

constexpr int kBoxWidthTwips = 2295;
constexpr int kRowHeightTwips = 375;
constexpr FontSpec kBoxFont{975, true};

constexpr TwipsRect Box(int left, int top) { return {left, top, kBoxWidthTwips, kRowHeightTwips}; }

}  // namespace

// clang-format off
const std::array<BoxPlace, kEntryCount> kBoxPlaces{{
    {"chkKazaa",         Box(120, 2760),  3,  kBoxFont},
    {"chkEmule",         Box(120, 3240),  10, kBoxFont},
    {"chkEdonkey",       Box(120, 3720),  9,  kBoxFont},
    {"ChkLimewire",      Box(120, 4200),  8,  kBoxFont},
    {"chkOvernet",       Box(120, 4680),  7,  kBoxFont},
    {"chkAres",          Box(120, 7560),  38, kBoxFont},
    {"chkAzureus",       Box(120, 5160),  6,  kBoxFont},
    {"chkBurst",         Box(120, 5640),  5,  kBoxFont},
    {"chkBitTorrent",    Box(120, 6120),  4,  kBoxFont},
    {"chkAbc",           Box(120, 6600),  11, kBoxFont},
    {"chkBitComet",      Box(120, 7080),  37, kBoxFont},
    {"chkMirc",          Box(2520, 2760), 17, kBoxFont},
    {"chkMSN",           Box(2520, 3240), 12, kBoxFont},
    {"chkWindows",       Box(2520, 3720), 13, kBoxFont},
    {"chkYahoo",         Box(2520, 4200), 14, kBoxFont},
    {"chkICQ",           Box(2520, 4680), 15, kBoxFont},
    {"chkAol",           Box(2520, 5160), 16, kBoxFont},
    {"chkTrillian",      Box(2520, 5640), 19, kBoxFont},
    {"chkIE",            Box(2520, 7080), 20, kBoxFont},
    {"chkFirefox",       Box(2520, 7560), 21, kBoxFont},
    {"chkNero",          Box(4920, 5880), 23, kBoxFont},
    {"chkNotepad",       Box(4920, 7080), 25, kBoxFont},
    {"chkWordpad",       Box(4920, 7560), 26, kBoxFont},
    {"chkRemoteDesktop", {7320, 5880, 2415, kRowHeightTwips}, 45, {900, true}},
    {"chkFreecell",      Box(7320, 2760), 28, kBoxFont},
    {"chkHearts",        Box(7320, 3240), 33, kBoxFont},
    {"chkMinesweeper",   Box(7320, 3720), 32, kBoxFont},
    {"chkPinball",       Box(7320, 4200), 31, kBoxFont},
    {"chkSolitaire",     Box(7320, 4680), 30, kBoxFont},
    {"chkSpider",        Box(7320, 5160), 29, kBoxFont},
    {"chkRegedit",       Box(4920, 2760), 39, kBoxFont},
    {"chkTask",          Box(4920, 3240), 42, kBoxFont},
    {"chkMsconfig",      Box(4920, 3720), 41, kBoxFont},
    {"chkCommand",       Box(4920, 4200), 40, kBoxFont},
    {"chkRun",           Box(4920, 4680), 44, kBoxFont},
}};

const std::array<HeaderPlace, kGroupCount> kHeaderPlaces{{
    {"lblP2P",       Box(120, 2280),  2},
    {"chkMessenger", Box(2520, 2280), 18},
    {"lblInternet",  Box(2520, 6600), 22},
    {"lblSystem",    Box(4920, 2280), 43},
    {"lblBurning",   Box(4920, 5400), 24},
    {"lblMisc",      Box(4920, 6600), 27},
    {"lblGames",     Box(7320, 2280), 34},
}};
// clang-format on

namespace {

// clang-format off
constexpr FixedControl kFixed[] = {
    {"picLogo",         FixedKind::Image, kLogoId,           {120, 120, 2970, 1935},  0,  kNoFont,        IDB_LOGO,     L""},
    {"lblInstructions", FixedKind::Label, kInstructionsId,   {3240, 360, 6375, 1455}, 1,  {1125, false},  0,            L""},
    {"picPassword",     FixedKind::Image, kPasswordButtonId, {7440, 6600, 2160, 690}, 35, kNoFont,        IDB_PASSWORD, L"Password"},
    {"picCompile",      FixedKind::Image, kCompileButtonId,  {7440, 7320, 2160, 690}, 36, kNoFont,        IDB_COMPILE,  L"Compile"},
};

constexpr MenuItem kFileItems[] = {
    {"mnuPassword", L"Set &Password",            kMenuPassword},
    {"mnuCompile",  L"&Compile",                 kMenuCompile},
    {"mnuOpenApp",  L"&Open Application Folder", kMenuOpenApp},
    {"mnuMore",     L"&More Applications...",    kMenuMore},
    {"mnuSep",      L"",                         0},
    {"mnuExit",     L"E&xit",                    kMenuExit},
};
constexpr MenuItem kHelpItems[] = {
    {"mnuAbout", L"About Voskrel", kMenuAbout},
    {"mnuIndex", L"&Help Index",   kMenuIndex},
};
constexpr Menu kMenus[] = {
    {"mnuFile", L"&File", kFileItems},
    {"mnuHelp", L"&Help", kHelpItems},
};
// clang-format on

constexpr wchar_t kInstructions[] =
    L"Thank you for choosing Brindlecor's Quellanix software. To get started tick the "
    L"applications that you wish to block and then click the compile button. For more "
    L"detailed instructions see the help file. If you would like to see more applications "
    L"added to Quellanix then email " QX_WIDEN(QX_SUPPORT_EMAIL);

}  // namespace

std::span<const FixedControl> FixedControls() { return kFixed; }
std::wstring_view InstructionText() { return kInstructions; }
std::span<const Menu> MenuTree() { return kMenus; }

std::span<const ControlSpec> MainControls() {
  static const std::vector<ControlSpec> controls = [] {
    std::vector<std::pair<int, ControlSpec>> c;  // with the tab order
    for (std::size_t i = 0; i < kEntryCount; ++i) {
      const BoxPlace& p = kBoxPlaces[i];
      c.push_back({p.tab_order,
                   {L"BUTTON", BS_AUTOCHECKBOX | BS_LEFT | WS_TABSTOP, kCatalogue[i].caption,
                    BoxId(i), p.rect, p.font}});
    }
    for (std::size_t h = 0; h < kGroupCount; ++h) {
      const HeaderPlace& p = kHeaderPlaces[h];
      c.push_back({p.tab_order,
                   {L"STATIC", SS_LEFT | SS_NOTIFY | SS_NOPREFIX, kGroupHeaders[h].caption,
                    HeaderId(h), p.rect, kHeaderFont}});
    }
    for (const FixedControl& f : kFixed) {
      c.push_back({f.tab_order, f.kind == FixedKind::Image
                                    ? ControlSpec{kImageBoxClass, 0, f.text, f.id, f.rect, f.font}
                                    : ControlSpec{L"STATIC", SS_LEFT | SS_NOPREFIX, kInstructions,
                                                  f.id, f.rect, f.font}});
    }
    std::stable_sort(c.begin(), c.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<ControlSpec> sorted;
    for (const auto& [tab_order, control] : c) sorted.push_back(control);
    return sorted;
  }();
  return controls;
}

}  // namespace qx::win
