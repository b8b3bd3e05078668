#include "blocker/activity_log.h"

#include <cstdio>

namespace qx::blocker {
namespace {

void AppendUtf8(std::string& out, std::wstring_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto c = static_cast<std::uint32_t>(text[i]);
    // A UTF-16 pair (Windows' wchar_t) is one code point.
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
      const auto low = static_cast<std::uint32_t>(text[i + 1]);
      if (low >= 0xDC00 && low < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
}

}  // namespace

std::string LogLine(const LocalTime& t, std::wstring_view caption, std::wstring_view path) {
  char stamp[32];
  std::snprintf(stamp, std::size(stamp), "%04d-%02d-%02d %02d:%02d:%02d  ", t.year, t.month, t.day,
                t.hour, t.minute, t.second);
  std::string line = stamp;
  AppendUtf8(line, caption);
  line += "  ";
  AppendUtf8(line, path);
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
