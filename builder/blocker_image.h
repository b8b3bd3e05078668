#pragma once
// The compiled blocker's layout around the template: what replaces the
// template's last byte and follows it.
#include <cstdint>
#include <string>
#include <string_view>

namespace qx {

// The bag's contents wrapped as a one-dimensional byte array record.
std::string BagRecord(std::string_view contents);

struct BlockerTail {
  std::uint64_t template_prefix;  // bytes of the template kept: L - 1
  std::string bytes;              // the bag record, then L as an i32
};

// The plan for a template of `template_length` bytes. Throws Failure when the
// template is empty or too large for the four-byte trailer.
BlockerTail PlanBlocker(std::uint64_t template_length, std::string_view contents);

}  // namespace qx
