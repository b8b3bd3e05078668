// The version resource found in a program file's bytes, which any program on
// the PC may have written: a small PE image, whole and damaged field by field.
#include "blocker/version_resource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "common/byte_source.h"
#include "tests/support/fake_runtime.h"

namespace qx::blocker {
namespace {

constexpr char kPayload[] = "VS_VERSION_INFO and its strings";
constexpr std::uint32_t kSubdir = 0x80000000;
// The PE headers sit in the first 512-byte block, the resources in the third:
// the reader goes back and forth between them. The data entry ends one byte
// into the fourth, at an odd offset.
constexpr std::uint32_t kPe = 0x40, kOptional = kPe + 24, kRsrc = 0x400, kRsrcRva = 0x2000;
constexpr std::uint32_t kLevel1 = kRsrc + 0x30, kLevel2 = kRsrc + 0x60, kData = kRsrc + 0x1FD;

void Put(std::string& image, std::uint32_t at, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) image[at + i] = static_cast<char>(value >> (8 * i));
}

// Two sections that touch, the resources in the second; the root lists an icon
// type before the version type, by a name entry and an id entry.
std::string Image(bool pe32) {
  // Room for a block at the size limit, and one byte.
  std::string image(kRsrc + 0x100 + 0x10001, '\0');
  const std::uint32_t dirs = kOptional + (pe32 ? 96 : 112), sections = kOptional + 0xF0;
  // clang-format off
  const struct { std::uint32_t at, value; int size; } fields[] = {
      {0, 0x5A4D, 2}, {0x3C, kPe, 4}, {kPe, 0x4550, 4}, {kPe + 6, 2, 2} /* sections */,
      {kPe + 20, 0xF0, 2} /* optional header's size */, {kOptional, pe32 ? 0x10Bu : 0x20Bu, 2},
      {dirs - 4, 16, 4} /* directory count */, {dirs + 16, kRsrcRva, 4},
      // Each section's address, raw size and file offset.
      {sections + 12, 0x1000, 4}, {sections + 16, 0x1000, 4}, {sections + 20, 0x200, 4},
      {sections + 52, 0x2000, 4}, {sections + 56, 0x400, 4}, {sections + 60, 0x400, 4},
      {kRsrc + 12, 1, 2} /* one name entry */, {kRsrc + 14, 1, 2} /* one id entry */, {kRsrc + 16, 3, 4},
      {kRsrc + 24, 16, 4} /* RT_VERSION */, {kRsrc + 28, kSubdir | (kLevel1 - kRsrc), 4},
      {kLevel1 + 14, 1, 2}, {kLevel1 + 20, kSubdir | (kLevel2 - kRsrc), 4},
      {kLevel2 + 14, 1, 2}, {kLevel2 + 20, kData - kRsrc, 4},
      {kData, kRsrcRva + 0x100, 4}, {kData + 4, sizeof kPayload, 4},
  };
  // clang-format on
  for (const auto& f : fields) Put(image, f.at, f.value, f.size);
  image.replace(kRsrc + 0x100, sizeof kPayload, kPayload, sizeof kPayload);
  return image;
}

TEST(VersionResource, IsFoundInAWholeImageAndNotInADamagedOne) {
  const std::string found(kPayload, sizeof kPayload);
  // clang-format off
  const struct { std::uint32_t at, value; int size; bool pe32; std::string want; } cases[] = {
      {0, 0x5A4D, 2, false, found},
      {0, 0x5A4D, 2, true, found},
      {kOptional + 92, 3, 4, true, found},  // just room for the resource directory
      {kOptional + 92, 2, 4, true, ""},     // no room for it
      {kOptional, 0x10C, 2, false, ""},     // neither PE32 nor PE32+
      {0, 0x5A4E, 2, false, ""},
      {0x3C, 0x800, 4, false, ""},  // headers past the end
      {kPe, 0x4551, 4, false, ""},
      {kRsrc + 24, 17, 4, false, ""},                           // no version type
      {kRsrc + 12, 0, 2, false, ""},                            // the version entry not counted
      {kPe + 6, 1, 2, false, ""},                               // its section not counted
      {kRsrc + 28, kLevel1 - kRsrc, 4, false, ""},              // a type that is no directory
      {kLevel2 + 20, kSubdir | (kData - kRsrc), 4, false, ""},  // a language that is one
      {kData, 0x9000, 4, false, ""},                            // data in no section
      {kData, 0x1300, 4, false, found},                         // in the first one: same bytes
      {kData + 4, 0x10102, 4, false, ""},                       // past the end of the file
  };
  // clang-format on
  for (const auto& c : cases) {
    std::string image = Image(c.pe32);
    Put(image, c.at, c.value, c.size);
    EXPECT_EQ(VersionResource(MemorySource(image)), c.want) << std::hex << c.at << " " << c.value;
  }
}

TEST(VersionResource, IsNothingWhenTheFileCannotBeReadAndReachesToTheFilesEndNoFurther) {
  std::string image = Image(false);
  EXPECT_EQ(VersionResource(test::FailingSource(image)), std::nullopt);
  EXPECT_EQ(VersionResource(MemorySource(std::string_view(image).substr(0, kData + 8))),
            std::string(kPayload, sizeof kPayload));  // the last field ends the file
  EXPECT_EQ(VersionResource(MemorySource(std::string_view(image).substr(0, kData + 7))), "");
  Put(image, kData + 4, 0x10001, 4);  // to the very end of the file, but over the limit
  EXPECT_EQ(VersionResource(MemorySource(image)), "");
  Put(image, kData + 4, 0x10000, 4);  // at the limit, to the end of a file one byte shorter
  const std::string_view exact = std::string_view(image).substr(0, image.size() - 1);
  EXPECT_EQ(VersionResource(MemorySource(exact)), exact.substr(kRsrc + 0x100));
  EXPECT_EQ(VersionResource(MemorySource(exact.substr(0, exact.size() - 1))), "");
  // Cut inside the data entry: its last block is a short one.
  EXPECT_EQ(VersionResource(MemorySource(exact.substr(0, kData + 6))), "");
  // Cut before the language entry, whose fields must not read as zeros: they
  // would lead to the root, made to look like a data entry.
  Put(image, kRsrc, kRsrcRva, 4);
  Put(image, kRsrc + 4, 4, 4);
  EXPECT_EQ(VersionResource(MemorySource(std::string_view(image).substr(0, kLevel2 + 16))), "");
}

TEST(VersionResource, IsFoundInAnImageAsTheLoaderMappedIt) {
  const std::string file = Image(false);
  const std::string loaded =
      file.substr(0, kRsrc) + std::string(kRsrcRva - kRsrc, '\0') + file.substr(kRsrc);
  EXPECT_EQ(VersionResource(MemorySource(loaded), ImageLayout::kLoaded),
            std::string(kPayload, sizeof kPayload));
  EXPECT_EQ(VersionResource(MemorySource(file), ImageLayout::kLoaded), "");
}

// A node of a version resource: length, value length, type (1: text), key,
// value and children, each part at a 4-byte boundary.
std::string Node(std::wstring_view key, std::wstring_view text, const std::string& children = "",
                 std::size_t binary = 0) {
  const auto utf16 = [](std::wstring_view w, std::string s) {
    for (wchar_t c : w) s += {static_cast<char>(c), '\0'};
    return s.append((4 - s.size() % 4) % 4, '\0');
  };
  const std::wstring value = text.empty() ? L"" : std::wstring(text) + L'\0';
  std::string node = utf16(std::wstring(key) + L'\0', std::string(6, '\0')) +
                     utf16(value, std::string(binary, '\x7F')) + children;
  Put(node, 0, static_cast<std::uint32_t>(node.size()), 2);
  Put(node, 2, static_cast<std::uint32_t>(binary ? binary : value.size()), 2);
  Put(node, 4, binary ? 0 : 1, 2);
  return node;
}

TEST(VersionString, IsTheFirstValueOfItsNameInTheStringTables) {
  const auto block = [](const std::string& children) {
    return Node(L"VS_VERSION_INFO", L"", children, 52);
  };
  const std::string vars = Node(L"VarFileInfo", L"", Node(L"Translation", L"", "", 4));
  const std::string table = Node(L"040904b0", L"", Node(L"OriginalFilename", L"Game.exe"));
  const std::string empty = Node(L"000004b0", L"", Node(L"OriginalFilename", L""));
  const std::string good = block(vars + Node(L"StringFileInfo", L"odd", empty + table));
  // A key that runs to the end of its block; a child of zero length, and one past its end.
  std::string key_only = Node(L"VS_VERSION_INFO", L"").substr(0, 36), zero_length = good,
              too_long = good, past = block(Node(L"StringFileInfo", L"", table) + vars);
  Put(key_only, 0, 36, 2);
  Put(zero_length, 92, 0, 2);  // the first child, after the root's key and fixed value
  Put(too_long, 92, static_cast<std::uint32_t>(good.size() - 91), 2);  // past the root's end
  // A table running past its parent's end, into the next node.
  Put(past, static_cast<std::uint32_t>(past.find(table)),
      static_cast<std::uint32_t>(table.size() + 4), 2);
  // A child of a header alone (6 bytes) is passed over; a value may end its
  // node without a terminator.
  const std::string value = Node(L"OriginalFilename", L"Game.exe");
  std::string unended = good;
  Put(unended, static_cast<std::uint32_t>(good.find(value)), 56, 2);
  for (const std::string& found :
       {good, block(std::string{6, 0, 0, 0, 0, 0, 0, 0} + good.substr(92)), unended})
    EXPECT_EQ(VersionString(found, L"originalFILENAME"), L"Game.exe");
  Put(unended, static_cast<std::uint32_t>(good.find(value)), 55, 2);  // the last character cut
  EXPECT_EQ(VersionString(unended, L"OriginalFilename"), L"Game.ex");
  for (const std::string& none :
       {block(Node(L"StringFileInfoX", L"", table)), block(vars), good.substr(0, good.size() - 2),
        key_only, zero_length, too_long, past, std::string()}) {
    EXPECT_EQ(VersionString(none, L"OriginalFilename"), L"") << none.size();
  }
  EXPECT_EQ(VersionString(good, L"ProductName"), L"");
}

}  // namespace
}  // namespace qx::blocker
