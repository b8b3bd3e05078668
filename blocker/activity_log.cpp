#include "blocker/activity_log.h"

#include <cstdio>

#include "common/utf8.h"

namespace qx::blocker {

std::string LogLine(const LocalTime& t, std::wstring_view what, std::wstring_view detail) {
  char stamp[32];
  std::snprintf(stamp, std::size(stamp), "%04d-%02d-%02d %02d:%02d:%02d  ", t.year, t.month, t.day,
                t.hour, t.minute, t.second);
  std::string line = stamp;
  qx::AppendUtf8(line, what);
  if (!detail.empty()) {
    line += "  ";
    qx::AppendUtf8(line, detail);
  }
  line += "\r\n";
  return line;
}

std::string WrongPasswordLine(const LocalTime& when, int in_a_row) {
  return LogLine(when, L"Wrong password", std::to_wstring(in_a_row) + L" in a row");
}

std::uint64_t KeptFrom(std::uint64_t size, std::size_t cap) {
  // One byte before the newer half: when that half begins a line, the byte
  // read first is the line end before it, and the cut to the first line end
  // keeps the whole line.
  const std::uint64_t keep = cap / 2;
  return size > keep + 1 ? size - keep - 1 : 0;
}

std::string TrimmedLog(std::string kept, std::uint64_t from, std::string_view line) {
  if (from > 0) {
    const std::size_t cut = kept.find('\n');
    kept.erase(0, cut == std::string::npos ? kept.size() : cut + 1);
  }
  kept.append(line);
  return kept;
}

}  // namespace qx::blocker
