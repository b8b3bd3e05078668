#include "blocker/activity_log.h"

#include <cstdio>

#include "common/utf8.h"

namespace qx::blocker {

std::string LogLine(const LocalTime& t, std::wstring_view caption, std::wstring_view path) {
  char stamp[32];
  std::snprintf(stamp, std::size(stamp), "%04d-%02d-%02d %02d:%02d:%02d  ", t.year, t.month, t.day,
                t.hour, t.minute, t.second);
  std::string line = stamp;
  qx::AppendUtf8(line, caption);
  line += "  ";
  qx::AppendUtf8(line, path);
  line += "\r\n";
  return line;
}

std::string AppendToLog(std::string log, std::string_view line, std::size_t cap) {
  if (log.size() + line.size() >= cap) {
    // Keep the newer half, starting at the first whole line in it.
    const std::size_t half = log.size() / 2;
    const std::size_t cut = log.find('\n', half);
    log.erase(0, cut == std::string::npos ? log.size() : cut + 1);
  }
  log.append(line);
  return log;
}

}  // namespace qx::blocker
