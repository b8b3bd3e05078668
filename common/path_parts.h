#pragma once
// The parts of a Windows path around its last separator (either slash), for
// every layer that has a path and needs its folder or its file's name.
#include <string_view>

namespace qx {

// Everything before the last separator; empty when there is none.
inline std::wstring_view FolderOf(std::wstring_view path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring_view::npos ? std::wstring_view() : path.substr(0, slash);
}

// Everything after the last separator; the whole path when there is none.
inline std::wstring_view FileNameOf(std::wstring_view path) {
  return path.substr(path.find_last_of(L"\\/") + 1);
}

}  // namespace qx
