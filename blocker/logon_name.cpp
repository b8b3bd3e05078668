#include "blocker/logon_name.h"

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

}  // namespace qx::blocker
