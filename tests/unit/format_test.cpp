// The compiled blocker's bytes: what the writer lays down, and the reader
// turning away every kind of damage with a reason.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "common/failure.h"
#include "format/blocker_writer.h"
#include "format/property_bag.h"
#include "format/settings_reader.h"

namespace qx {
namespace {

using namespace std::string_literals;

const std::string kTemplate = "MZ\x90\x00template-body";
const std::size_t kRecord = kTemplate.size() - 1;  // where the record starts
const std::size_t kBag = kRecord + 12;             // where the contents start

BlockerSettings Sample() {
  BlockerSettings s;
  s.block[*IndexOfKey("Kazaa")] = true;
  s.block[*IndexOfKey("RemoteDesktop")] = true;
  s.encrypted_password = "ab";
  return s;
}

std::string Le(std::uint64_t v, int size) {
  std::string out;
  for (int i = 0; i < size; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  return out;
}

TEST(BlockerWriter, LaysTheRecordOverTheTemplatesLastByteAndEndsWithItsLength) {
  const std::string file = WriteBlocker(kTemplate, Sample());
  const std::size_t contents = file.size() - kBag - 4;
  EXPECT_EQ(file.substr(0, kRecord), kTemplate.substr(0, kRecord));
  EXPECT_EQ(file.substr(kRecord, 12), "\x11\x20\x01\x00"s + Le(contents, 4) + Le(0, 4));
  EXPECT_EQ(file.substr(kBag, 19), "QXPB\x01\0\x24\0\x05\0Kazaa\x0b\0\xff\xff"s);
  // Remote Desktop is written last of the flags, then the password, then L.
  EXPECT_EQ(file.substr(file.size() - 44),
            "\x0d\0RemoteDesktop\x0b\0\xff\xff\x0b\0Encpassword\x08\0\x02\0\0\0ab"s +
                Le(kTemplate.size(), 4));
}

TEST(BlockerWriter, WhatItWritesReadsBackForAnyTemplateAndSelection) {
  std::mt19937 gen(7);
  std::string big(70000, '\0');
  for (char& c : big) c = static_cast<char>(gen());
  for (const std::string& tpl : {std::string("Z"), std::string("MZ"), big}) {
    for (int round = 0; round < 20; ++round) {
      BlockerSettings s;
      for (bool& b : s.block) b = gen() % 2 == 0;
      s.encrypted_password = std::string(gen() % 40, static_cast<char>(59 + gen() % 64));
      const std::string file = WriteBlocker(tpl, s);
      const SettingsResult r = ReadSettings(file);
      ASSERT_TRUE(r.ok()) << r.reason;
      EXPECT_EQ(r.template_length, tpl.size());
      EXPECT_EQ(r.settings.block, s.block);
      EXPECT_EQ(r.settings.encrypted_password, s.encrypted_password);
      EXPECT_EQ(file.compare(0, tpl.size() - 1, tpl, 0, tpl.size() - 1), 0);
    }
  }
  EXPECT_THROW(WriteBlocker("", Sample()), Failure);
  EXPECT_THROW(PlanBlocker(0x80000000u, Sample()), Failure);  // past the trailer's reach
}

// A file around arbitrary bag contents, consistent in every length.
std::string Wrap(const std::string& contents) {
  return kTemplate.substr(0, kRecord) + "\x11\x20\x01\x00"s + Le(contents.size(), 4) + Le(0, 4) +
         contents + Le(kTemplate.size(), 4);
}

// The 36 properties with one of them written by `odd` instead.
std::string BagWith(std::size_t at, const std::function<void(PropertyBag&)>& odd) {
  PropertyBag bag;
  for (std::size_t n = 0; n < kEntryCount; ++n) {
    n == at ? odd(bag) : bag.WriteProperty(kCatalogue[BagOrder()[n]].bag_key, std::int16_t{0});
  }
  bag.WriteProperty("Encpassword", "ab");
  return bag.Contents();
}

std::string Poked(std::size_t at, std::uint64_t value, int size) {
  std::string f = WriteBlocker(kTemplate, Sample());
  if (at >= f.size()) at = f.size() - 4;  // the trailer
  f.replace(at, static_cast<std::size_t>(size), Le(value, size));
  return f;
}

TEST(SettingsReader, RefusesEveryKindOfDamageWithAReason) {
  const std::size_t end = std::string::npos;  // Poked: the trailer
  const std::size_t kazaa = kBag + 8;         // the first property
  const std::size_t password_length = WriteBlocker(kTemplate, Sample()).size() - 4 - 2 - 4;
  const auto key = [](std::size_t n) { return kCatalogue[BagOrder()[n]].bag_key; };
  using enum SettingsFault;
  // clang-format off
  const struct { const char* what; std::string file; SettingsFault fault; } cases[] = {
      {"empty file", "", NoTrailer}, {"bare template", kTemplate, NoTrailer},
      {"trailer 0", Poked(end, 0, 4), NoTrailer}, {"trailer negative", Poked(end, 0x80000000u, 4), NoTrailer},
      {"trailer -1", Poked(end, 0xFFFFFFFFu, 4), NoTrailer}, {"trailer past the header's room", Poked(end, password_length, 4), NoTrailer},
      {"a string record", Poked(kRecord, 0x2008, 2), RecordHeader}, {"two dimensions", Poked(kRecord + 2, 2, 2), RecordHeader},
      {"lower bound 1", Poked(kRecord + 8, 1, 4), RecordHeader}, {"count 0", Poked(kRecord + 4, 0, 4), RecordEnd},
      {"count 1", Poked(kRecord + 4, 1, 4), RecordEnd},
      {"count far past the file", Poked(kRecord + 4, 0xFFFFFFFFu, 4), RecordEnd}, {"magic", Poked(kBag, 'X', 1), Magic},
      {"bytes before the trailer", Poked(end, 0, 0).insert(password_length + 6, "xx"), RecordEnd},
      {"version 2", Poked(kBag + 4, 2, 2), Version}, {"contents too short for a version", Wrap("QXPB\x01"), Truncated},
      {"name longer than the bag", Poked(kazaa, 0xFFFF, 2), Truncated}, {"count 37", Poked(kBag + 6, 37, 2), Truncated},
      {"password longer than the bag", Poked(password_length, 0x7FFFFFFF, 4), Truncated},
      {"a Long", Poked(kazaa + 7, 3, 2), UnknownType}, {"Boolean 1", Poked(kazaa + 9, 1, 2), BadBoolean},
      {"Boolean -2", Poked(kazaa + 9, 0xFFFE, 2), BadBoolean}, {"Boolean 0x8000", Poked(kazaa + 9, 0x8000, 2), BadBoolean},
      {"trailing byte in the bag", Wrap(BagWith(99, {}) + "!"), TrailingBytes},
      {"a key missing", Wrap(BagWith(5, [](PropertyBag&) {})), UnexpectedProperty},
      {"a key in other case", Wrap(BagWith(0, [](PropertyBag& b) { b.WriteProperty("kazaa", std::int16_t{0}); })), UnexpectedProperty},
      {"two keys swapped", Wrap(BagWith(33, [&](PropertyBag& b) { b.WriteProperty(key(34), std::int16_t{0}); })), UnexpectedProperty},
      {"a flag as text", Wrap(BagWith(2, [&](PropertyBag& b) { b.WriteProperty(key(2), "True"); })), UnexpectedProperty},
      {"an extra property", Wrap(BagWith(99, {}).replace(6, 2, Le(37, 2)) + Le(1, 2) + "X" + Le(11, 2) + Le(0, 2)), UnexpectedProperty},
  };
  // clang-format on
  for (const auto& c : cases) {
    const SettingsResult r = ReadSettings(c.file);
    EXPECT_EQ(r.fault, c.fault) << c.what << ": " << r.reason;
    EXPECT_FALSE(r.reason.empty()) << c.what;
  }
  // Every cut of the contents is caught, and nothing past it is read.
  const std::string contents = BagWith(99, {});
  for (std::size_t cut = 8; cut < contents.size(); ++cut) {
    const SettingsFault f = ReadSettings(Wrap(contents.substr(0, cut))).fault;
    EXPECT_TRUE(f == Truncated || f == UnexpectedProperty) << cut;
  }
}

}  // namespace
}  // namespace qx
