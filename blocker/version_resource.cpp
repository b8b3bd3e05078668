#include "blocker/version_resource.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "common/text.h"

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

// One node of a VS_VERSIONINFO tree: its length, its value's length, its
// type, a zero-ended key, then the value and the children, each at a 4-byte
// boundary of the block.
struct Node {
  std::wstring key;
  std::size_t value, children, end;
};

std::uint32_t U16(std::string_view block, std::size_t at) {
  return static_cast<unsigned char>(block[at]) | static_cast<unsigned char>(block[at + 1]) << 8;
}

std::size_t Aligned(std::size_t at) { return (at + 3) & ~std::size_t{3}; }

std::optional<Node> NodeAt(std::string_view block, std::size_t at, std::size_t end) {
  if (end - at < 6) return std::nullopt;
  const std::size_t length = U16(block, at), value_length = U16(block, at + 2);
  if (length < 6 || length > end - at) return std::nullopt;
  Node node{{}, 0, 0, at + length};
  std::size_t p = at + 6;
  for (; p + 1 < node.end && U16(block, p) != 0; p += 2) {
    node.key.push_back(static_cast<wchar_t>(U16(block, p)));
  }
  node.value = Aligned(p + 2);
  // A text value's length counts characters, any other's bytes.
  node.children = Aligned(node.value + value_length * (U16(block, at + 4) == 1 ? 2 : 1));
  return node;
}

std::vector<Node> ChildrenOf(std::string_view block, const Node& parent) {
  std::vector<Node> children;
  for (std::size_t at = parent.children; at < parent.end;) {
    const auto child = NodeAt(block, at, parent.end);
    if (!child) break;
    children.push_back(*child);
    at = Aligned(child->end);
  }
  return children;
}

}  // namespace

std::wstring VersionString(std::string_view block, std::wstring_view key) {
  const auto root = NodeAt(block, 0, block.size());
  if (!root) return {};
  for (const Node& info : ChildrenOf(block, *root)) {
    if (!EqualsIgnoringAsciiCase(info.key, L"StringFileInfo")) continue;
    for (const Node& table : ChildrenOf(block, info)) {
      for (const Node& string : ChildrenOf(block, table)) {
        if (!EqualsIgnoringAsciiCase(string.key, key)) continue;
        std::wstring value;
        for (std::size_t p = string.value; p + 1 < string.end && U16(block, p) != 0; p += 2) {
          value.push_back(static_cast<wchar_t>(U16(block, p)));
        }
        if (!value.empty()) return value;
      }
    }
  }
  return {};
}

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
