#pragma once
// The owner's record of what the blocker did: one line per start, stopped
// program, wrong password, mended start at logon and stop, in a text file
// kept under a size cap by dropping its older half.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qx::blocker {

inline constexpr std::size_t kLogCapBytes = 1024 * 1024;

struct LocalTime {
  int year, month, day, hour, minute, second;
};

// "2026-12-07 14:03:05  Notepad  C:\windows\notepad.exe" and CR LF, in UTF-8:
// the time, what happened and what to (when anything).
std::string LogLine(const LocalTime& when, std::wstring_view what, std::wstring_view detail);
// "...  Wrong password  3 in a row"
std::string WrongPasswordLine(const LocalTime& when, int in_a_row);

// Where trimming a log of `size` bytes starts to read: only the newer half of
// the cap is kept (with the byte before it), whatever the size.
std::uint64_t KeptFrom(std::uint64_t size, std::size_t cap = kLogCapBytes);
// The new log: `kept`, read from `from`, then `line`. Past the start, `kept`
// begins with what may be part of a line: everything to its first line end goes.
std::string TrimmedLog(std::string kept, std::uint64_t from, std::string_view line);

}  // namespace qx::blocker
