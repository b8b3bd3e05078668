#pragma once
// Reads a compiled blocker's settings back through its trailer. Every length and
// bound is checked against the file; anything that is not exactly what the
// builder writes is rejected with a reason, and nothing outside the file is read.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/byte_source.h"
#include "format/blocker_settings.h"

namespace qx {

// A bag holds 36 short properties, one password and a capped list of programs; a record larger than
// this is damage, refused before it costs a huge allocation.
inline constexpr std::uint64_t kMaxBagContents = 16u * 1024 * 1024;

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
  BadExtension,  // the programs chosen beyond the catalogue are malformed
  Unreadable,    // the file could not be read
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

SettingsResult ReadSettings(const ByteSource& file);
SettingsResult ReadSettings(std::string_view whole_file);

}  // namespace qx
