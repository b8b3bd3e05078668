#include "app/catalogue/catalogue.h"

#include <algorithm>

namespace qx {
namespace {

constexpr int kBoxWidth = 2295;
constexpr int kRowHeight = 375;
constexpr FontSpec kBoxFont{975, true};

constexpr TwipsRect Box(int left, int top) { return {left, top, kBoxWidth, kRowHeight}; }

}  // namespace

// clang-format off
const std::array<CatalogueEntry, kEntryCount> kCatalogue{{
    {"chkKazaa",         L"Kazaa",                 Group::P2P,       "Kazaa",         1,  Box(120, 2760),  3,  kBoxFont},
    {"chkEmule",         L"eMule",                 Group::P2P,       "Emule",         2,  Box(120, 3240),  10, kBoxFont},
    {"chkEdonkey",       L"eDonkey",               Group::P2P,       "Edonkey",       3,  Box(120, 3720),  9,  kBoxFont},
    {"ChkLimewire",      L"LimeWire",              Group::P2P,       "Limewire",      4,  Box(120, 4200),  8,  kBoxFont},
    {"chkOvernet",       L"Overnet",               Group::P2P,       "Overnet",       5,  Box(120, 4680),  7,  kBoxFont},
    {"chkAres",          L"Ares",                  Group::P2P,       "Ares",          6,  Box(120, 7560),  38, kBoxFont},
    {"chkAzureus",       L"Azureus",               Group::P2P,       "Azureus",       7,  Box(120, 5160),  6,  kBoxFont},
    {"chkBurst",         L"Burst",                 Group::P2P,       "Burst",         8,  Box(120, 5640),  5,  kBoxFont},
    {"chkBitTorrent",    L"Bit Torrent Official",  Group::P2P,       "Bittorrent",    9,  Box(120, 6120),  4,  kBoxFont},
    {"chkAbc",           L"ABC",                   Group::P2P,       "Abc",           10, Box(120, 6600),  11, kBoxFont},
    {"chkBitComet",      L"Bit Comet",             Group::P2P,       "Bitcomet",      11, Box(120, 7080),  37, kBoxFont},
    {"chkMirc",          L"Mirc",                  Group::Messenger, "Mirc",          12, Box(2520, 2760), 17, kBoxFont},
    {"chkMSN",           L"MSN Messenger",         Group::Messenger, "Msn",           13, Box(2520, 3240), 12, kBoxFont},
    {"chkWindows",       L"Windows Messenger",     Group::Messenger, "Windows",       14, Box(2520, 3720), 13, kBoxFont},
    {"chkYahoo",         L"Yahoo Messenger",       Group::Messenger, "Yahoo",         15, Box(2520, 4200), 14, kBoxFont},
    {"chkICQ",           L"ICQ",                   Group::Messenger, "Icq",           16, Box(2520, 4680), 15, kBoxFont},
    {"chkAol",           L"AIM (AOL)",             Group::Messenger, "Aim",           17, Box(2520, 5160), 16, kBoxFont},
    {"chkTrillian",      L"Trillian",              Group::Messenger, "Trillian",      18, Box(2520, 5640), 19, kBoxFont},
    {"chkIE",            L"Internet Explorer",     Group::Internet,  "Ie",            19, Box(2520, 7080), 20, kBoxFont},
    {"chkFirefox",       L"Firefox",               Group::Internet,  "Firefox",       20, Box(2520, 7560), 21, kBoxFont},
    {"chkNero",          L"Nero",                  Group::Burning,   "Nero",          21, Box(4920, 5880), 23, kBoxFont},
    {"chkNotepad",       L"Notepad",               Group::Misc,      "Notepad",       22, Box(4920, 7080), 25, kBoxFont},
    {"chkWordpad",       L"Wordpad",               Group::Misc,      "Wordpad",       23, Box(4920, 7560), 26, kBoxFont},
    {"chkRemoteDesktop", L"Remote Desktop Client", Group::None,      "RemoteDesktop", 35, {7320, 5880, 2415, kRowHeight}, 45, {900, true}},
    {"chkFreecell",      L"Freecell",              Group::Games,     "Freecell",      24, Box(7320, 2760), 28, kBoxFont},
    {"chkHearts",        L"Hearts",                Group::Games,     "Hearts",        25, Box(7320, 3240), 33, kBoxFont},
    {"chkMinesweeper",   L"Minesweeper",           Group::Games,     "Minesweeper",   26, Box(7320, 3720), 32, kBoxFont},
    {"chkPinball",       L"Pinball",               Group::Games,     "Pinball",       27, Box(7320, 4200), 31, kBoxFont},
    {"chkSolitaire",     L"Solitaire",             Group::Games,     "Solitaire",     28, Box(7320, 4680), 30, kBoxFont},
    {"chkSpider",        L"Spider Solitaire",      Group::Games,     "Spider",        29, Box(7320, 5160), 29, kBoxFont},
    {"chkRegedit",       L"RegEdit",               Group::System,    "RegEdit",       30, Box(4920, 2760), 39, kBoxFont},
    {"chkTask",          L"Task Manager",          Group::System,    "TaskManager",   31, Box(4920, 3240), 42, kBoxFont},
    {"chkMsconfig",      L"MS Config",             Group::System,    "MSConfig",      32, Box(4920, 3720), 41, kBoxFont},
    {"chkCommand",       L"Command Prompt",        Group::System,    "Command",       33, Box(4920, 4200), 40, kBoxFont},
    {"chkRun",           L"Run Dialog",            Group::System,    "Run",           34, Box(4920, 4680), 44, kBoxFont},
}};

const std::array<GroupHeader, kGroupCount> kGroupHeaders{{
    {Group::P2P,       "lblP2P",       L"P2P Applications",  Box(120, 2280),  2},
    {Group::Messenger, "chkMessenger", L"Messenger App's",   Box(2520, 2280), 18},
    {Group::Internet,  "lblInternet",  L"Internet App's",    Box(2520, 6600), 22},
    {Group::System,    "lblSystem",    L"System Utils",      Box(4920, 2280), 43},
    {Group::Burning,   "lblBurning",   L"Burning App's",     Box(4920, 5400), 24},
    {Group::Misc,      "lblMisc",      L"Misc Appilcations", Box(4920, 6600), 27},
    {Group::Games,     "lblGames",     L"Games",             Box(7320, 2280), 34},
}};
// clang-format on

const std::array<std::size_t, kEntryCount>& BagOrder() {
  static const std::array<std::size_t, kEntryCount> order = [] {
    std::array<std::size_t, kEntryCount> o{};
    for (std::size_t i = 0; i < kEntryCount; ++i) {
      o[static_cast<std::size_t>(kCatalogue[i].bag_position - 1)] = i;
    }
    return o;
  }();
  return order;
}

GroupMembers MembersOf(Group group) {
  GroupMembers m{};
  for (std::size_t i = 0; i < kEntryCount; ++i) {
    if (kCatalogue[i].group == group) m.index[m.count++] = i;
  }
  std::stable_sort(
      m.index.begin(), m.index.begin() + static_cast<std::ptrdiff_t>(m.count),
      [](std::size_t a, std::size_t b) { return kCatalogue[a].rect.top < kCatalogue[b].rect.top; });
  return m;
}

}  // namespace qx
