#include "catalogue/more_programs.h"

#include <algorithm>

#include "common/text.h"

namespace qx {
namespace {

// Publishers' current executables; never a host other programs run in
// (msedgewebview2.exe draws many programs' windows).
// clang-format off
constexpr std::wstring_view kEdge[] = {L"msedge.exe"};
constexpr std::wstring_view kChrome[] = {L"chrome.exe"};
constexpr std::wstring_view kBrave[] = {L"brave.exe"};
constexpr std::wstring_view kOpera[] = {L"opera.exe"};  // Opera GX too
constexpr std::wstring_view kVivaldi[] = {L"vivaldi.exe"};
constexpr std::wstring_view kDiscord[] = {L"discord.exe"};
constexpr std::wstring_view kTelegram[] = {L"telegram.exe"};
constexpr std::wstring_view kWhatsApp[] = {L"whatsapp.exe", L"whatsapp.root.exe"};
constexpr std::wstring_view kSteam[] = {L"steam.exe"};
constexpr std::wstring_view kEpic[] = {L"epicgameslauncher.exe"};
constexpr std::wstring_view kRoblox[] = {L"robloxplayerbeta.exe", L"robloxplayerlauncher.exe"};
constexpr std::wstring_view kMinecraft[] = {L"minecraftlauncher.exe", L"minecraft.windows.exe"};
constexpr std::wstring_view kBattleNet[] = {L"battle.net.exe"};
constexpr std::wstring_view kEa[] = {L"eadesktop.exe"};
constexpr std::wstring_view kRiot[] = {L"riotclientservices.exe"};
// clang-format on

// Hosts that run other programs' code, and the runtimes apps ship as their
// own renamed copy: the OriginalFilename names the runtime, not the app.
// clang-format off
constexpr std::wstring_view kGenericOriginals[] = {
    L"electron.exe", L"nw.exe", L"javaw.exe", L"java.exe", L"python.exe", L"pythonw.exe",
    L"node.exe", L"cefclient.exe", L"qtwebengineprocess.exe"};

constexpr std::wstring_view kGenericHosts[] = {
    L"javaw.exe", L"java.exe", L"rundll32.exe", L"dllhost.exe", L"msiexec.exe",
    L"applicationframehost.exe", L"update.exe", L"windows10universal.exe", L"wscript.exe",
    L"cscript.exe", L"mshta.exe", L"wwahost.exe", L"backgroundtaskhost.exe"};

// The desktop, the session and what other programs draw with.
constexpr std::wstring_view kWindowsPrograms[] = {
    L"explorer.exe", L"dwm.exe", L"csrss.exe", L"winlogon.exe", L"svchost.exe", L"sihost.exe",
    L"ctfmon.exe", L"conhost.exe", L"taskhostw.exe", L"runtimebroker.exe",
    L"shellexperiencehost.exe", L"startmenuexperiencehost.exe", L"searchhost.exe",
    L"logonui.exe", L"userinit.exe", L"fontdrvhost.exe", L"lsass.exe", L"services.exe",
    L"wininit.exe", L"smss.exe", L"msedgewebview2.exe", L"textinputhost.exe", L"searchui.exe",
    L"lockapp.exe", L"smartscreen.exe"};
// clang-format on

constexpr std::wstring_view kQuellanixNames[] = {L"quellanix.exe", L"quellanix.ext"};

template <std::size_t N>
bool Listed(const std::wstring_view (&list)[N], std::wstring_view name) {
  return std::any_of(std::begin(list), std::end(list), [&](std::wstring_view listed) {
    return EqualsIgnoringAsciiCase(name, listed);
  });
}

}  // namespace

// clang-format off
const std::array<CommonProgram, kCommonCount> kCommonPrograms{{
    {L"Microsoft Edge", MoreGroup::Browsers,       "Edge",      kEdge},
    {L"Google Chrome",  MoreGroup::Browsers,       "Chrome",    kChrome},
    {L"Brave",          MoreGroup::Browsers,       "Brave",     kBrave},
    {L"Opera",          MoreGroup::Browsers,       "Opera",     kOpera},
    {L"Vivaldi",        MoreGroup::Browsers,       "Vivaldi",   kVivaldi},
    {L"Discord",        MoreGroup::Chat,           "Discord",   kDiscord},
    {L"Telegram",       MoreGroup::Chat,           "Telegram",  kTelegram},
    {L"WhatsApp",       MoreGroup::Chat,           "WhatsApp",  kWhatsApp},
    {L"Steam",          MoreGroup::GamesAndStores, "Steam",     kSteam},
    {L"Epic Games",     MoreGroup::GamesAndStores, "Epic",      kEpic},
    {L"Roblox",         MoreGroup::GamesAndStores, "Roblox",    kRoblox},
    {L"Minecraft",      MoreGroup::GamesAndStores, "Minecraft", kMinecraft},
    {L"Battle.net",     MoreGroup::GamesAndStores, "BattleNet", kBattleNet},
    {L"EA app",         MoreGroup::GamesAndStores, "EA",        kEa},
    {L"Riot Client",    MoreGroup::GamesAndStores, "Riot",      kRiot},
}};

const std::array<MoreGroupHeader, kMoreGroupCount> kMoreGroupHeaders{{
    {MoreGroup::Browsers,       L"Browsers"},
    {MoreGroup::Chat,           L"Chat"},
    {MoreGroup::GamesAndStores, L"Games and Stores"},
}};
// clang-format on

std::optional<std::size_t> CommonIndexOfKey(std::string_view key) {
  for (std::size_t i = 0; i < kCommonCount; ++i) {
    if (kCommonPrograms[i].key == key) return i;
  }
  return std::nullopt;
}

bool IsGenericOriginal(std::wstring_view original_name) {
  return Listed(kGenericOriginals, original_name);
}

Refusal RefusalOf(std::wstring_view file_name, std::wstring_view original_name) {
  for (std::wstring_view name : {file_name, original_name}) {
    if (Listed(kQuellanixNames, name)) return Refusal::Quellanix;
    if (Listed(kWindowsPrograms, name)) return Refusal::Windows;
  }
  // A program built on a shared runtime keeps the runtime's original name: it
  // is known by its own file name then, and only a host's own file is refused.
  const bool host = Listed(kGenericHosts, file_name) ||
                    (Listed(kGenericHosts, original_name) && !IsGenericOriginal(original_name));
  return host ? Refusal::GenericHost : Refusal::None;
}

}  // namespace qx
