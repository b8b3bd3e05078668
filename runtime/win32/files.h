#pragma once
// Files on Win32: existence checks, reading, and the all-or-nothing composition
// of a file from a prefix of another one.
#include "runtime/files.h"

namespace qx::win {

class WinFiles : public Files {
 public:
  bool Exists(std::wstring_view path) override;
  std::unique_ptr<ByteSource> OpenForReading(std::wstring_view path) override;
  void ComposeFile(std::wstring_view source, std::wstring_view target,
                   const std::function<Composition(std::uint64_t)>& plan) override;
};

}  // namespace qx::win
