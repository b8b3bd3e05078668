#pragma once
// What a compiled blocker carries: the writer takes it, the reader gives it back.
#include <array>
#include <string>

#include "catalogue/catalogue.h"

namespace qx {

struct BlockerSettings {
  std::array<bool, kEntryCount> block{};  // catalogue order
  std::string encrypted_password;         // ANSI bytes, empty when none was set
  bool operator==(const BlockerSettings&) const = default;
};

}  // namespace qx
