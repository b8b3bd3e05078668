#pragma once
// The name of the blocker's value under the user's Run key: its title, unless
// another program's value has that name. A value of another program is never
// taken over.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qx::blocker {

enum class ValueOwner { kNone, kOurs, kOther };

inline constexpr int kLogonNames = 10;  // "Title", "Title (2)", ... "Title (10)"

std::wstring LogonName(std::wstring_view title, int number);

// A name that already starts this blocker, else the first free one; nothing
// when all are another program's.
std::optional<std::wstring> ChooseLogonName(
    std::wstring_view title, const std::function<ValueOwner(const std::wstring&)>& owner_of);

}  // namespace qx::blocker
