#pragma once
// File operations the handlers rely on.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "common/byte_source.h"

namespace qx {

// What to write: the first `prefix_length` bytes of the source, then `tail`.
struct Composition {
  std::uint64_t prefix_length = 0;
  std::string tail;
};

class Files {
 public:
  virtual ~Files() = default;
  // True when a regular file exists at the full path.
  virtual bool Exists(std::wstring_view path) = 0;
  // An existing file opened for reading, others may go on reading and writing
  // it. Throws Failure naming the file and the system's reason.
  virtual std::unique_ptr<ByteSource> OpenForReading(std::wstring_view path) = 0;

  // Writes `target` from a prefix of `source` and a tail that `plan` makes from
  // the source's length (it may throw Failure to refuse). The source is held
  // against writers while it is copied. The file is built under a temporary name
  // in the target's folder, flushed to disk, checked for its expected size and
  // only then moved over `target` in one step. On any failure throws Failure
  // naming the file and the system's reason; no temporary file remains and an
  // existing `target` is left as it was.
  virtual void ComposeFile(std::wstring_view source, std::wstring_view target,
                           const std::function<Composition(std::uint64_t)>& plan) = 0;
};

}  // namespace qx
