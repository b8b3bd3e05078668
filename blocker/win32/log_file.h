#pragma once
// The activity log on disk: "<title>.log" in a Quellanix folder of the user's
// local application data, held open while the blocker runs.
#include <string>
#include <string_view>

#include "runtime/win32/handles.h"

namespace qx::blocker::win {

// The log's full path; empty when the folder cannot be found.
std::wstring LogPath(const std::wstring& title);

// Held from the first line on: others may read it but not change, move or
// delete it. Past the cap it is rewritten in place without its older half
// (a held file cannot be replaced).
class LogFile {
 public:
  explicit LogFile(std::wstring path) : path_(std::move(path)) {}
  // Appends one line. A log that is not held is opened first, made when
  // missing; a folder or a file that cannot be opened in its place is moved
  // aside. Throws Failure with the system's reason; the next line tries again.
  void Append(std::string_view line);

 private:
  void Open();

  std::wstring path_;
  qx::win::FileHandle file_;
};

}  // namespace qx::blocker::win
