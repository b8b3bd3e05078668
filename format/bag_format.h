#pragma once
// The byte layout shared by the builder and the blocker template. All integers
// are little-endian.
//
// Compiled blocker: the template's first L - 1 bytes, the bag record, then L as
// an i32. The record: u16 0x2011 (array of bytes), u16 1 (dimensions), u32 C
// (elements), i32 0 (lower bound), then the C bytes of the bag's contents.
// Contents: "QXPB", u16 version, u16 count, then per property u16 name length,
// the ANSI name, u16 variant type and the value (Boolean: i16 -1/0; String: u32
// length and the ANSI bytes).
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qx::bag {

inline constexpr std::string_view kMagic = "QXPB";
inline constexpr std::uint16_t kVersion = 1;
inline constexpr std::uint16_t kTypeBoolean = 11;
inline constexpr std::uint16_t kTypeString = 8;
inline constexpr std::uint16_t kRecordType = 0x2011;
inline constexpr std::uint16_t kRecordDimensions = 1;
inline constexpr std::size_t kRecordHeaderSize = 12;
inline constexpr std::size_t kTrailerSize = 4;

// The password's key, written after the 35 block flags.
inline constexpr std::string_view kPasswordKey = "Encpassword";

}  // namespace qx::bag
