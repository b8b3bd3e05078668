#pragma once
// The blocker's start at logon: the name of its value under the user's Run
// key (its title, unless another program's value has that name; a value of
// another program is never taken over), and what it mends when its start is
// switched off, marked to need an administrator or removed.
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "blocker/activity_log.h"

namespace qx::blocker {

// Under HKEY_CURRENT_USER: the programs started at logon, the switches the
// system's Startup lists keep for them, and the compatibility marks of files.
inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kStartupSwitchKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
inline constexpr wchar_t kLayersKey[] =
    L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";
// The switches for shortcuts in the user's Startup folder, by the shortcut's file name.
inline constexpr wchar_t kStartupFolderSwitchKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder";

enum class ValueOwner { kNone, kOurs, kOther };

inline constexpr int kLogonNames = 10;  // "Title", "Title (2)", ... "Title (10)"

std::wstring LogonName(std::wstring_view title, int number);

// A name that already starts this blocker, else the first free one; nothing
// when all are another program's.
std::optional<std::wstring> ChooseLogonName(
    std::wstring_view title, const std::function<ValueOwner(const std::wstring&)>& owner_of);

// Whether a Startup switch value says "off": bit 0 of its first byte. No
// value means on.
bool SwitchedOff(std::span<const unsigned char> value);

// A file's compatibility marks ("~ RUNASADMIN HIGHDPIAWARE") without those
// that ask for an administrator: nothing when there is none to remove, empty
// when nothing of the value is left to keep.
std::optional<std::wstring> WithoutElevation(std::wstring_view layers);

// A path as the system's final-path call gives it, without its "\\?\" form.
std::wstring WithoutVerbatimPrefix(std::wstring_view path);

// What the watch put right, each logged: "...  Start at logon switched back
// on  HKCU\...\StartupApproved\Run\<value>". `what` is the value's name, or
// the shortcut's full path.
enum class Mend {
  kRestored,
  kSwitchedOn,
  kMarkRemoved,
  kShortcutRestored,
  kFolderSwitchedOn,
  kFromFolder,  // the Run key refused it: a shortcut made instead
};
std::string MendLine(const LocalTime& when, Mend mend, std::wstring_view what);

}  // namespace qx::blocker
