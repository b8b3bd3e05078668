#pragma once
// Which program titles can name a blocker file in the application folder.
#include <optional>
#include <string>
#include <string_view>

namespace qx {

// The longest full path the blocker may have, in characters (MAX_PATH less the
// terminator).
inline constexpr std::size_t kMaxBlockerPath = 259;

// Why `title` (which may hold "\" to name a subfolder) cannot name the file
// `folder` + "\" + title + ".exe"; nullopt when it can.
std::optional<std::wstring> TitleProblem(std::wstring_view folder, std::wstring_view title);

}  // namespace qx
