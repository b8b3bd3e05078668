#pragma once
// Small text helpers every layer uses the same way.
#include <string>
#include <string_view>

namespace qx {

// Equal apart from the case of ASCII letters: the way Windows compares the
// names of files, keys and devices in the ranges the programs use.
inline bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
  const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; };
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// A path or a name as messages show it: in double quotes.
inline std::wstring Quoted(std::wstring_view text) { return L"\"" + std::wstring(text) + L"\""; }

}  // namespace qx
