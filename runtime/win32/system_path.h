#pragma once
// A path the system writes into a caller's buffer, however long: the buffer
// grows until the path fits, up to the longest path Windows has.
#include <windows.h>

#include <algorithm>
#include <string>

namespace qx::win {

inline constexpr DWORD kLongestPath = 32768;  // characters, the \\?\ form's limit

// `fill(buffer, capacity)` returns the path's length when it fitted, the
// capacity or more when the buffer was too small, and 0 when it failed
// (GetLastError says why). The path; empty when it failed or never fitted.
template <class Fill>
std::wstring SystemPath(Fill fill) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = fill(path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return path.substr(0, length);
    if (path.size() >= kLongestPath) return {};
    path.resize(
        std::min<std::size_t>(kLongestPath, std::max<std::size_t>(length + 1, path.size() * 4)));
  }
}

}  // namespace qx::win
