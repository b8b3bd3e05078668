#pragma once
// Files on POSIX systems, for the native tools, tests and bench. Paths are the
// program's wide paths; "\" separates folders as it does on Windows.
#include <string>

#include "runtime/files.h"

namespace qx::posix {

// UTF-8, with "\" turned into "/".
std::string NativePath(std::wstring_view path);

class PosixFiles : public Files {
 public:
  bool Exists(std::wstring_view path) override;
  std::unique_ptr<ByteSource> OpenForReading(std::wstring_view path) override;
  void ComposeFile(std::wstring_view source, std::wstring_view target,
                   const std::function<Composition(std::uint64_t)>& plan) override;
};

}  // namespace qx::posix
