#pragma once
// The owner's record of what the blocker stopped: one line per program, in a
// text file kept under a size cap by dropping its older half.
#include <cstddef>
#include <string>
#include <string_view>

namespace qx::blocker {

inline constexpr std::size_t kLogCap = 1024 * 1024;

struct LocalTime {
  int year, month, day, hour, minute, second;
};

// "2026-12-07 14:03:05  Notepad  C:\windows\notepad.exe" and CR LF, in UTF-8.
std::string LogLine(const LocalTime& when, std::wstring_view caption, std::wstring_view path);

// `log` with `line` appended; when that reaches `cap`, the older half of the
// lines is dropped first, at a line boundary.
std::string AppendToLog(std::string log, std::string_view line, std::size_t cap = kLogCap);

}  // namespace qx::blocker
