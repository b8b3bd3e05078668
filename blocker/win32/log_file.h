#pragma once
// The activity log on disk: "<title>.log" in a Quellanix folder of the user's
// local application data.
#include <string>
#include <string_view>

namespace qx::blocker::win {

// The log's full path; empty when the folder cannot be found.
std::wstring LogPath(const std::wstring& title);

// Appends one line; past the cap the file is rewritten without its older
// half, under a temporary name first, so it is never left half-written.
// Throws Failure with the system's reason.
void AppendLogLine(const std::wstring& log_path, std::string_view line);

}  // namespace qx::blocker::win
