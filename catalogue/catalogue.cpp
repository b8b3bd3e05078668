#include "catalogue/catalogue.h"

namespace qx {

// clang-format off
const std::array<CatalogueEntry, kEntryCount> kCatalogue{{
    {"chkKazaa",         L"Kazaa",                 Group::P2P,       "Kazaa",         1},
    {"chkEmule",         L"eMule",                 Group::P2P,       "Emule",         2},
    {"chkEdonkey",       L"eDonkey",               Group::P2P,       "Edonkey",       3},
    {"ChkLimewire",      L"LimeWire",              Group::P2P,       "Limewire",      4},
    {"chkOvernet",       L"Overnet",               Group::P2P,       "Overnet",       5},
    {"chkAres",          L"Ares",                  Group::P2P,       "Ares",          6},
    {"chkAzureus",       L"Azureus",               Group::P2P,       "Azureus",       7},
    {"chkBurst",         L"Burst",                 Group::P2P,       "Burst",         8},
    {"chkBitTorrent",    L"Bit Torrent Official",  Group::P2P,       "Bittorrent",    9},
    {"chkAbc",           L"ABC",                   Group::P2P,       "Abc",           10},
    {"chkBitComet",      L"Bit Comet",             Group::P2P,       "Bitcomet",      11},
    {"chkMirc",          L"Mirc",                  Group::Messenger, "Mirc",          12},
    {"chkMSN",           L"MSN Messenger",         Group::Messenger, "Msn",           13},
    {"chkWindows",       L"Windows Messenger",     Group::Messenger, "Windows",       14},
    {"chkYahoo",         L"Yahoo Messenger",       Group::Messenger, "Yahoo",         15},
    {"chkICQ",           L"ICQ",                   Group::Messenger, "Icq",           16},
    {"chkAol",           L"AIM (AOL)",             Group::Messenger, "Aim",           17},
    {"chkTrillian",      L"Trillian",              Group::Messenger, "Trillian",      18},
    {"chkIE",            L"Internet Explorer",     Group::Internet,  "Ie",            19},
    {"chkFirefox",       L"Firefox",               Group::Internet,  "Firefox",       20},
    {"chkNero",          L"Nero",                  Group::Burning,   "Nero",          21},
    {"chkNotepad",       L"Notepad",               Group::Misc,      "Notepad",       22},
    {"chkWordpad",       L"Wordpad",               Group::Misc,      "Wordpad",       23},
    {"chkRemoteDesktop", L"Remote Desktop Client", Group::None,      "RemoteDesktop", 35},
    {"chkFreecell",      L"Freecell",              Group::Games,     "Freecell",      24},
    {"chkHearts",        L"Hearts",                Group::Games,     "Hearts",        25},
    {"chkMinesweeper",   L"Minesweeper",           Group::Games,     "Minesweeper",   26},
    {"chkPinball",       L"Pinball",               Group::Games,     "Pinball",       27},
    {"chkSolitaire",     L"Solitaire",             Group::Games,     "Solitaire",     28},
    {"chkSpider",        L"Spider Solitaire",      Group::Games,     "Spider",        29},
    {"chkRegedit",       L"RegEdit",               Group::System,    "RegEdit",       30},
    {"chkTask",          L"Task Manager",          Group::System,    "TaskManager",   31},
    {"chkMsconfig",      L"MS Config",             Group::System,    "MSConfig",      32},
    {"chkCommand",       L"Command Prompt",        Group::System,    "Command",       33},
    {"chkRun",           L"Run Dialog",            Group::System,    "Run",           34},
}};

// The deciding box is the group's top box in the window.
const std::array<GroupHeader, kGroupCount> kGroupHeaders{{
    {Group::P2P,       "lblP2P",       L"P2P Applications",  "Kazaa"},
    {Group::Messenger, "chkMessenger", L"Messenger App's",   "Mirc"},
    {Group::Internet,  "lblInternet",  L"Internet App's",    "Ie"},
    {Group::System,    "lblSystem",    L"System Utils",      "RegEdit"},
    {Group::Burning,   "lblBurning",   L"Burning App's",     "Nero"},
    {Group::Misc,      "lblMisc",      L"Misc Appilcations", "Notepad"},
    {Group::Games,     "lblGames",     L"Games",             "Freecell"},
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

std::optional<std::size_t> IndexOfKey(std::string_view bag_key) {
  for (std::size_t i = 0; i < kEntryCount; ++i) {
    if (kCatalogue[i].bag_key == bag_key) return i;
  }
  return std::nullopt;
}

}  // namespace qx
