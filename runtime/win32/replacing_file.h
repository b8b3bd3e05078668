#pragma once
// A file written whole beside its target and then moved over it: a reader
// finds the old file or the new one, never half of one, and a failure leaves
// the old one as it was.
#include <windows.h>

#include <string>
#include <string_view>

#include "runtime/win32/handles.h"

namespace qx::win {

class ReplacingFile {
 public:
  // The reason a failure gives for a system error code.
  using Reason = std::wstring (*)(DWORD code);

  // Each failure throws Failure(`failed`, reason(code)). Throws when the
  // temporary file cannot be made.
  ReplacingFile(std::wstring_view target, std::wstring failed, Reason reason);
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;
  ~ReplacingFile();  // removes the temporary file unless it was moved into place

  void Write(std::string_view bytes);
  // Flushes the file and, when it holds `expected_size` bytes, moves it over
  // the target. A read-only target is refused as Windows refuses it.
  void Replace(std::uint64_t expected_size);

 private:
  [[noreturn]] void Fail(DWORD code) const;

  std::wstring target_, path_, failed_;
  Reason reason_;
  FileHandle handle_;
  bool moved_ = false;
};

}  // namespace qx::win
