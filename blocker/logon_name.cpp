#include "blocker/logon_name.h"

#include <vector>

#include "common/text.h"

namespace qx::blocker {
std::wstring LogonName(std::wstring_view title, int number) {
  std::wstring name(title);
  if (number > 1) name += L" (" + std::to_wstring(number) + L")";
  return name;
}

std::optional<std::wstring> ChooseLogonName(
    std::wstring_view title, const std::function<ValueOwner(const std::wstring&)>& owner_of) {
  // An own value further on wins over a free name before it: the blocker
  // must not start twice at logon.
  std::optional<std::wstring> free;
  for (int n = 1; n <= kLogonNames; ++n) {
    std::wstring name = LogonName(title, n);
    const ValueOwner owner = owner_of(name);
    if (owner == ValueOwner::kOurs) return name;
    if (owner == ValueOwner::kNone && !free) free = std::move(name);
  }
  return free;
}

bool SwitchedOff(std::span<const unsigned char> value) { return !value.empty() && (value[0] & 1); }

std::optional<std::wstring> WithoutElevation(std::wstring_view layers) {
  std::vector<std::wstring_view> kept;
  bool removed = false;
  for (std::size_t at = 0;; at = layers.find(L' ', at) + 1) {
    const std::wstring_view word = layers.substr(at, layers.find(L' ', at) - at);
    if (EqualsIgnoringAsciiCase(word, L"RUNASADMIN") ||
        EqualsIgnoringAsciiCase(word, L"RUNASHIGHEST")) {
      removed = true;
    } else if (!word.empty()) {
      kept.push_back(word);
    }
    if (layers.find(L' ', at) == std::wstring_view::npos) break;
  }
  if (!removed) return std::nullopt;
  std::wstring out;
  for (std::wstring_view word : kept) {
    if (word == L"~" && kept.size() == 1) break;  // the marker alone keeps nothing
    out += (out.empty() ? L"" : L" ") + std::wstring(word);
  }
  return out;
}

std::wstring WithoutVerbatimPrefix(std::wstring_view path) {
  if (path.starts_with(L"\\\\?\\UNC\\")) return L"\\\\" + std::wstring(path.substr(8));
  if (path.starts_with(L"\\\\?\\")) return std::wstring(path.substr(4));
  return std::wstring(path);
}

std::string MendLine(const LocalTime& when, Mend mend, std::wstring_view what) {
  // clang-format off
  const struct { const wchar_t* what; const wchar_t* key; } kinds[] = {
      {L"Start at logon restored", kRunKey},
      {L"Start at logon switched back on", kStartupSwitchKey},
      {L"Run as administrator mark removed", kLayersKey},
      {L"Start at logon restored", nullptr},
      {L"Start at logon switched back on", kStartupFolderSwitchKey},
      {L"Start at logon from the Startup folder", nullptr},
  };
  // clang-format on
  const auto& k = kinds[static_cast<int>(mend)];
  if (!k.key) return LogLine(when, k.what, what);
  return LogLine(when, k.what, L"HKCU\\" + std::wstring(k.key) + L"\\" + std::wstring(what));
}

}  // namespace qx::blocker
