#include "blocker/signatures.h"

#include <array>

#include "catalogue/more_programs.h"
#include "common/text.h"

namespace qx::blocker {
namespace {

// clang-format off
constexpr std::wstring_view kKazaa[] = {L"kazaa.exe", L"kazaalite.exe", L"kpp.exe"};
constexpr std::wstring_view kEmule[] = {L"emule.exe"};
constexpr std::wstring_view kEdonkey[] = {L"edonkey2000.exe", L"edonkey.exe"};
constexpr std::wstring_view kLimewire[] = {L"limewire.exe"};
constexpr std::wstring_view kOvernet[] = {L"overnet.exe"};
constexpr std::wstring_view kAres[] = {L"ares.exe"};
constexpr std::wstring_view kAzureus[] = {L"azureus.exe", L"vuze.exe"};
constexpr std::wstring_view kBurst[] = {L"burst.exe"};
constexpr std::wstring_view kBittorrent[] = {L"bittorrent.exe", L"btdownloadgui.exe"};
constexpr std::wstring_view kAbc[] = {L"abc.exe"};
constexpr std::wstring_view kBitcomet[] = {L"bitcomet.exe"};
constexpr std::wstring_view kMirc[] = {L"mirc.exe", L"mirc32.exe"};
constexpr std::wstring_view kMsn[] = {L"msnmsgr.exe"};
constexpr std::wstring_view kWindowsMessenger[] = {L"msmsgs.exe"};
constexpr std::wstring_view kYahoo[] = {L"ypager.exe", L"yahoomessenger.exe"};
constexpr std::wstring_view kIcq[] = {L"icq.exe", L"icqlite.exe"};
constexpr std::wstring_view kAim[] = {L"aim.exe", L"aim6.exe"};
constexpr std::wstring_view kTrillian[] = {L"trillian.exe"};
constexpr std::wstring_view kIe[] = {L"iexplore.exe"};
constexpr std::wstring_view kFirefox[] = {L"firefox.exe"};
constexpr std::wstring_view kNero[] = {L"nero.exe", L"nerostartsmart.exe"};
constexpr std::wstring_view kNotepad[] = {L"notepad.exe"};
constexpr std::wstring_view kWordpad[] = {L"wordpad.exe", L"write.exe"};
constexpr std::wstring_view kRemoteDesktop[] = {L"mstsc.exe"};
constexpr std::wstring_view kFreecell[] = {L"freecell.exe"};
constexpr std::wstring_view kHearts[] = {L"mshearts.exe", L"hearts.exe"};
constexpr std::wstring_view kMinesweeper[] = {L"winmine.exe", L"minesweeper.exe"};
constexpr std::wstring_view kPinball[] = {L"pinball.exe"};
constexpr std::wstring_view kSolitaire[] = {L"sol.exe", L"solitaire.exe"};
constexpr std::wstring_view kSpider[] = {L"spider.exe", L"spidersolitaire.exe"};
// The registry editor, and its command-line twin.
constexpr std::wstring_view kRegEdit[] = {L"regedit.exe", L"regedt32.exe", L"reg.exe"};
constexpr std::wstring_view kTaskManager[] = {L"taskmgr.exe"};
constexpr std::wstring_view kMsConfig[] = {L"msconfig.exe"};
// The command line: Command Prompt, PowerShell old and new, and the script hosts, which run
// the same commands from a file.
constexpr std::wstring_view kCommand[] = {L"cmd.exe",     L"powershell.exe", L"powershell_ise.exe",
                                          L"pwsh.exe",    L"wscript.exe",    L"cscript.exe",
                                          L"mshta.exe"};

constexpr std::array<Signature, 34> kSignatures{{
    {"Kazaa", kKazaa}, {"Emule", kEmule}, {"Edonkey", kEdonkey}, {"Limewire", kLimewire},
    {"Overnet", kOvernet}, {"Ares", kAres}, {"Azureus", kAzureus}, {"Burst", kBurst},
    {"Bittorrent", kBittorrent}, {"Abc", kAbc}, {"Bitcomet", kBitcomet}, {"Mirc", kMirc},
    {"Msn", kMsn}, {"Windows", kWindowsMessenger}, {"Yahoo", kYahoo}, {"Icq", kIcq}, {"Aim", kAim},
    {"Trillian", kTrillian}, {"Ie", kIe}, {"Firefox", kFirefox}, {"Nero", kNero},
    {"Notepad", kNotepad}, {"Wordpad", kWordpad}, {"RemoteDesktop", kRemoteDesktop},
    {"Freecell", kFreecell}, {"Hearts", kHearts}, {"Minesweeper", kMinesweeper},
    {"Pinball", kPinball}, {"Solitaire", kSolitaire}, {"Spider", kSpider}, {"RegEdit", kRegEdit},
    {"TaskManager", kTaskManager}, {"MSConfig", kMsConfig}, {"Command", kCommand},
}};
// clang-format on

// This process, the configurator or a blocker, whatever its file is called.
bool NeverStopped(const ProcessFacts& process) {
  return process.is_self || EqualsIgnoringAsciiCase(process.original_name, L"quellanix.exe") ||
         EqualsIgnoringAsciiCase(process.original_name, L"quellanix.ext");
}

}  // namespace

std::span<const Signature> Signatures() { return kSignatures; }

std::optional<std::size_t> EntryToStop(const BlockerSettings& settings,
                                       const ProcessFacts& process) {
  if (NeverStopped(process)) return std::nullopt;
  for (const Signature& s : kSignatures) {
    const auto index = IndexOfKey(s.key);
    if (!index || !settings.block[*index]) continue;
    for (std::wstring_view name : s.names) {
      if (EqualsIgnoringAsciiCase(process.image_name, name) ||
          EqualsIgnoringAsciiCase(process.original_name, name)) {
        return index;
      }
    }
  }
  return std::nullopt;
}

std::optional<std::wstring> ProgramToStop(const BlockerSettings& settings,
                                          const ProcessFacts& process) {
  if (const auto entry = EntryToStop(settings, process)) {
    return std::wstring(kCatalogue[*entry].caption);
  }
  if (NeverStopped(process)) return std::nullopt;
  for (std::size_t i : settings.more.common) {
    for (std::wstring_view name : kCommonPrograms[i].names) {
      if (EqualsIgnoringAsciiCase(process.image_name, name) ||
          EqualsIgnoringAsciiCase(process.original_name, name)) {
        return std::wstring(kCommonPrograms[i].caption);
      }
    }
  }
  for (const AddedProgram& p : settings.more.added) {
    if (EqualsIgnoringAsciiCase(process.image_name, p.file_name) ||
        (!p.original_name.empty() &&
         EqualsIgnoringAsciiCase(process.original_name, p.original_name))) {
      return p.caption;
    }
  }
  return std::nullopt;
}

}  // namespace qx::blocker
