#pragma once
// Reads a compiled blocker's settings back through its trailer. Every length and
// bound is checked against the file; anything that is not exactly what the
// builder writes is rejected with a reason, and nothing outside the file is read.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/byte_source.h"
#include "format/blocker_settings.h"

namespace qx {

enum class SettingsFault {
  None,
  NoTrailer,     // file shorter than a trailer, or the trailer points outside it
  RecordHeader,  // not a one-dimensional byte array at the trailer's position
  RecordEnd,     // the record does not end where the trailer begins
  Magic,
  Version,
  Truncated,  // a field runs past the end of the contents
  UnknownType,
  BadBoolean,          // a Boolean other than -1 or 0
  UnexpectedProperty,  // count, names or types differ from the 36 the builder writes
  TrailingBytes,
  Unreadable,  // the file could not be read
};

struct SettingsResult {
  SettingsFault fault = SettingsFault::None;
  std::string reason;                 // empty on success
  std::uint32_t template_length = 0;  // L, from the trailer
  BlockerSettings settings;
  bool ok() const { return fault == SettingsFault::None; }
  // No bag was found at all: the bare template, or something that is no blocker.
  bool no_settings() const {
    return fault == SettingsFault::NoTrailer || fault == SettingsFault::RecordHeader;
  }
};

// One property as stored.
struct BagProperty {
  std::string name;
  std::uint16_t type = 0;
  std::int16_t boolean = 0;  // type 11
  std::string text;          // type 8
};

// Parses the bag's contents into its properties; nullopt with `fault`/`reason`
// set on anything malformed.
std::optional<std::vector<BagProperty>> ParseBagContents(std::string_view contents,
                                                         SettingsFault& fault, std::string& reason);

SettingsResult ReadSettings(const ByteSource& file);
SettingsResult ReadSettings(std::string_view whole_file);

}  // namespace qx
