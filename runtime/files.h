#pragma once
// File operations the handlers rely on.
#include <string_view>

namespace qx {

class Files {
 public:
  virtual ~Files() = default;
  // True when a regular file exists at the full path.
  virtual bool Exists(std::wstring_view path) = 0;
};

}  // namespace qx
