#include "blocker/version_resource.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace qx::blocker {
namespace {

constexpr std::uint32_t kMz = 0x5A4D, kPe = 0x4550;
constexpr std::uint32_t kPe32 = 0x10B, kPe32Plus = 0x20B;
constexpr std::uint32_t kResourceDirectory = 2;
constexpr std::uint32_t kRtVersion = 16;
constexpr std::uint32_t kSubdirectory = 0x80000000;
constexpr std::size_t kSectionSize = 40, kDirectorySize = 16, kEntrySize = 8;
constexpr std::uint32_t kMaxVersionSize = 64 * 1024;  // real ones are a few hundred bytes

// Little-endian fields read through a small block cache. A field past the end
// marks the file malformed; a failed read marks it unreadable.
class Reader {
 public:
  explicit Reader(const ByteSource& file) : file_(file) {}

  std::uint32_t U16(std::uint64_t at) { return Field(at, 2); }
  std::uint32_t U32(std::uint64_t at) { return Field(at, 4); }
  bool malformed() const { return malformed_; }
  bool unreadable() const { return unreadable_; }

 private:
  std::uint32_t Field(std::uint64_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | Byte(at + static_cast<unsigned>(i));
    return value;
  }

  unsigned char Byte(std::uint64_t at) {
    if (at >= file_.Size()) {
      malformed_ = true;
      return 0;
    }
    if (at < start_ || at - start_ >= length_) {
      start_ = at - at % block_.size();
      length_ =
          static_cast<std::size_t>(std::min<std::uint64_t>(block_.size(), file_.Size() - start_));
      if (!file_.Read(start_, length_, block_.data())) {
        unreadable_ = true;
        length_ = 0;
        return 0;
      }
    }
    return static_cast<unsigned char>(block_[at - start_]);
  }

  const ByteSource& file_;
  std::array<char, 512> block_;
  std::uint64_t start_ = 0;
  std::size_t length_ = 0;
  bool malformed_ = false, unreadable_ = false;
};

}  // namespace

std::optional<std::string> VersionResource(const ByteSource& file, ImageLayout layout) {
  Reader r(file);
  const auto none = [&]() -> std::optional<std::string> {
    if (r.unreadable()) return std::nullopt;
    return std::string();
  };
  if (r.U16(0) != kMz) return none();
  const std::uint64_t pe = r.U32(0x3C);
  if (r.U32(pe) != kPe) return none();
  const std::uint32_t sections = r.U16(pe + 6);
  const std::uint64_t optional = pe + 24, section_table = optional + r.U16(pe + 20);
  const std::uint32_t magic = r.U16(optional);
  if (magic != kPe32 && magic != kPe32Plus) return none();
  const std::uint64_t directories = optional + (magic == kPe32 ? 96 : 112);
  if (r.U32(directories - 4) <= kResourceDirectory || r.malformed()) return none();

  // The offset of an address of the loaded image.
  const auto offset = [&](std::uint32_t rva) -> std::optional<std::uint64_t> {
    if (layout == ImageLayout::kLoaded) return rva;
    for (std::uint32_t i = 0; i < sections && !r.malformed(); ++i) {
      const std::uint64_t s = section_table + i * kSectionSize;
      const std::uint32_t address = r.U32(s + 12), raw_size = r.U32(s + 16);
      if (rva >= address && rva - address < raw_size) return r.U32(s + 20) + (rva - address);
    }
    return std::nullopt;
  };
  const auto root = offset(r.U32(directories + kResourceDirectory * 8));
  if (!root) return none();

  // Type, then name, then language: the first name and language of the version type.
  std::uint64_t at = *root;
  for (int level = 0; level < 3; ++level) {
    const std::uint32_t entries = r.U16(at + 12) + r.U16(at + 14);
    std::optional<std::uint32_t> target;
    for (std::uint32_t i = 0; i < entries && !target && !r.malformed(); ++i) {
      const std::uint64_t e = at + kDirectorySize + i * kEntrySize;
      if (level > 0 || r.U32(e) == kRtVersion) target = r.U32(e + 4);
    }
    if (!target || ((*target & kSubdirectory) != 0) != (level < 2)) return none();
    at = *root + (*target & ~kSubdirectory);
  }
  const auto data = offset(r.U32(at));
  const std::uint32_t size = r.U32(at + 4);
  if (!data || r.malformed() || size > kMaxVersionSize || *data > file.Size() ||
      file.Size() - *data < size) {
    return none();
  }
  std::string bytes(size, '\0');
  if (!file.Read(*data, size, bytes.data())) return std::nullopt;
  return bytes;
}

}  // namespace qx::blocker
