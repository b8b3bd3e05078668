#pragma once
// Read-only registry access.
#include <cstdint>
#include <string_view>

namespace qx {

class Registry {
 public:
  virtual ~Registry() = default;
};

}  // namespace qx
