#pragma once
// Writes a compiled blocker: the template's first L - 1 bytes, the settings
// record, then L as an i32 (see bag_format.h). The reader mirrors this.
#include <cstdint>
#include <string>
#include <string_view>

#include "format/blocker_settings.h"

namespace qx {

// The bag's contents: the 35 flags in bag order, the password, then any
// programs chosen beyond the catalogue. Throws Failure on choices the reader
// would refuse.
std::string BagContents(const BlockerSettings& settings);

struct BlockerTail {
  std::uint64_t template_prefix;  // bytes of the template kept: L - 1
  std::string bytes;              // the bag record, then L as an i32
};

// The plan for a template of `template_length` bytes. Throws Failure when the
// template is empty or too large for the four-byte trailer.
BlockerTail PlanBlocker(std::uint64_t template_length, const BlockerSettings& settings);

// The whole blocker for a template held in memory.
std::string WriteBlocker(std::string_view template_bytes, const BlockerSettings& settings);

}  // namespace qx
