#pragma once
// The Win32 runtime bundle the program's handlers run against.
#include <windows.h>

#include <memory>

#include "runtime/runtime.h"

namespace qx::win {

class WinRuntime {
 public:
  explicit WinRuntime(HINSTANCE instance);
  ~WinRuntime();
  Runtime& rt() { return *rt_; }

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
  std::unique_ptr<Runtime> rt_;
};

}  // namespace qx::win
