#pragma once
// Registry values read through advapi32's ANSI entry points, read access only.
#include "runtime/registry.h"

namespace qx::win {

class WinRegistry : public Registry {
 public:
  RegistryValue Read(std::uint32_t root, std::string_view key, std::string_view value,
                     std::size_t capacity) override;
};

}  // namespace qx::win
