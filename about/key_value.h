#pragma once
// Turns the bytes of a registry value into the text the About dialog works with.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "runtime/ansi.h"

namespace qx {

// The query buffer: a value of more bytes than this is not readable.
inline constexpr std::size_t kKeyValueCapacity = 1024;

// One trailing zero byte (a text's terminator) is dropped, never more. Text
// becomes `KeyVal` read as ANSI; a 32-bit number becomes its decimal text
// (unsigned); any other type leaves `KeyVal` as it was. A value with no bytes at
// all throws Failure: there is no last byte to look at.
void DecodeKeyValue(std::uint32_t type, std::span<const std::uint8_t> data, const AnsiCodec& ansi,
                    std::wstring& KeyVal);

}  // namespace qx
