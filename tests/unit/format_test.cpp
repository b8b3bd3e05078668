// The compiled blocker's bytes: what the writer lays down, and the reader
// turning away every kind of damage with a reason.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "catalogue/more_programs.h"
#include "common/failure.h"
#include "format/blocker_writer.h"
#include "format/more_extension.h"
#include "format/property_bag.h"
#include "format/settings_json.h"
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
  EXPECT_EQ(file.substr(kRecord, 12), "\x11\x20\x01\x00"s + Le(contents, 4) + Le(0, 4));
  EXPECT_EQ(file.substr(kBag, 19), "QXPB\x01\0\x24\0\x05\0Kazaa\x0b\0\xff\xff"s);
  // Remote Desktop is written last of the flags, then the password, then L.
  EXPECT_EQ(file.substr(file.size() - 44),
            "\x0d\0RemoteDesktop\x0b\0\xff\xff\x0b\0Encpassword\x08\0\x02\0\0\0ab"s +
                Le(kTemplate.size(), 4));
}

TEST(BlockerWriter, WhatItWritesReadsBackForAnyTemplate) {
  const std::string big(70000, '\x90');  // past what 16 bits can say
  // Beyond the catalogue too: text outside any code page (a no-break space, an
  // emoji), a generic original dropped, the longest file name.
  BlockerSettings s = Sample();
  const std::wstring longest = std::wstring(256, L'p') + L".exe";
  s.more = {{14, 0}, {{L"Jeu\u00a0été 🎮", L"Jeu.exe", L""}, {L"P", longest, L"PQ.exe"}}};
  for (const std::string& tpl : {"Z"s, "MZ"s, big}) {
    const std::string file = WriteBlocker(tpl, s);
    const SettingsResult r = ReadSettings(file);
    ASSERT_TRUE(r.ok()) << r.reason;
    EXPECT_EQ(r.template_length, tpl.size());
    EXPECT_TRUE(r.settings == s);
    EXPECT_EQ(file.compare(0, tpl.size() - 1, tpl, 0, tpl.size() - 1), 0);
  }
  EXPECT_THROW(WriteBlocker("", Sample()), Failure);
  // Names of 1 to 65535 bytes.
  PropertyBag bag;
  for (std::size_t size : {0, 65536})
    EXPECT_THROW(bag.WriteProperty(std::string(size, 'k'), ""), Failure);
  bag.WriteProperty(std::string(65535, 'k'), "");
  for (int count = 1; count < 65535; ++count) bag.WriteProperty("k", std::int16_t{0});
  EXPECT_THROW(bag.WriteProperty("k", std::int16_t{0}), Failure);  // 65535 properties at most
  EXPECT_THROW(PlanBlocker(0x80000000u, Sample()), Failure);       // past the trailer's reach
  EXPECT_NO_THROW(PlanBlocker(0x7FFFFFFFu, Sample()));
}

// A file around arbitrary bag contents, consistent in every length.
std::string Wrap(const std::string& contents) {
  return kTemplate.substr(0, kRecord) + "\x11\x20\x01\x00"s + Le(contents.size(), 4) + Le(0, 4) +
         contents + Le(kTemplate.size(), 4);
}

// A file of the 35 flags in bag order (the `at`-th written by `odd` instead),
// an empty password, then `extra` as text properties: name, value, ...
std::string Bag(const std::vector<std::string>& extra, std::size_t at = kEntryCount,
                const std::function<void(PropertyBag&)>& odd = {}) {
  PropertyBag bag;
  for (std::size_t n = 0; n < kEntryCount; ++n)
    n == at ? odd(bag) : bag.WriteProperty(kCatalogue[BagOrder()[n]].bag_key, std::int16_t{0});
  bag.WriteProperty("Encpassword", "");
  for (std::size_t n = 0; n + 1 < extra.size(); n += 2) bag.WriteProperty(extra[n], extra[n + 1]);
  return Wrap(bag.Contents());
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
  const std::size_t trailer_at = WriteBlocker(kTemplate, Sample()).size() - 4;
  // The largest trailer whose record header still fits before the trailer; the
  // password's length field is at trailer_at - 6.
  const std::size_t last_fit = trailer_at - 12 + 1;
  using enum SettingsFault;
  const std::string p = "Program1", f = "Program1File", o = "Program1Original";
  std::vector<std::string> many;  // 31 added programs
  for (int n = 1; n <= 31; ++n)
    for (const char* field : {"", "File", "Original"})
      many.insert(many.end(), {"Program" + std::to_string(n) + field, "x" + std::to_string(n)});
  many.insert(many.end(), {"Common1", "Edge"});  // not read: the list is too long already
  // clang-format off
  // The file, the fault found and its reason, exactly.
  const struct { std::string file; SettingsFault fault; std::string reason; } cases[] = {
      {kTemplate, NoTrailer, "the file is shorter than a trailer"},
      {std::string(4, '\0'), NoTrailer, "the trailer (0) does not point at a settings record in a file of 4 bytes"},
      {Poked(end, 0, 4), NoTrailer, "the trailer (0) does not point at a settings record in a file of 482 bytes"},
      {Poked(end, last_fit + 1, 4), NoTrailer, "the trailer (468) does not point at a settings record in a file of 482 bytes"},
      {Poked(end, last_fit, 4), RecordHeader, "no byte-array record at offset 466"}, {Poked(kRecord, 0x2008, 2), RecordHeader, "no byte-array record at offset 2"},
      {Poked(kRecord + 2, 2, 2), RecordHeader, "no byte-array record at offset 2"}, {Poked(kRecord + 8, 1, 4), RecordHeader, "no byte-array record at offset 2"},
      {Poked(kRecord + 4, 0, 4), RecordEnd, "the settings record of 0 bytes ends at offset 14, but the trailer begins at 478"},
      {Poked(kRecord + 4, 0xFFFFFFFFu, 4), RecordEnd, "the settings record of 4294967295 bytes ends at offset 4294967309, but the trailer begins at 478"},
      {Wrap(std::string(kMaxBagContents + 1, '\0')), RecordEnd, "the settings record is implausibly large (16777217 bytes)"},
      {Wrap(std::string(kMaxBagContents, '\0')), Magic, "the settings bag does not begin with \"QXPB\""}, {Poked(kBag, 'X', 1), Magic, "the settings bag does not begin with \"QXPB\""},
      {Poked(kBag + 4, 2, 2), Version, "the bag's version is 2, not 1"}, {Wrap("QXPB\x01"), Truncated, "the bag ends inside its version"},
      {Wrap("QXPB\x01\0\x24"s), Truncated, "the bag ends inside its count"}, {Poked(kazaa, 0xFFFF, 2), Truncated, "the bag ends inside the name of property 1"},
      {Poked(kBag + 6, 37, 2), Truncated, "the bag ends inside the name of property 37"}, {Poked(trailer_at - 6, 3, 4), Truncated, "the bag ends inside the value of property 36"},
      {Poked(kazaa, 0, 2), UnexpectedProperty, "property 1 has an empty name"},
      {Poked(kazaa + 7, 3, 2), UnknownType, "property 1 has the unknown type 3 at contents offset 15"},
      {Poked(kazaa + 9, 1, 2), BadBoolean, "property 1 (\"Kazaa\") holds the Boolean 1 at contents offset 17"},
      {Poked(kBag + 6, 35, 2), TrailingBytes, "21 bytes follow the last property at contents offset 443"},
      {Bag({}, 5, [](PropertyBag&) {}), UnexpectedProperty, "the bag holds 35 properties, not 36"},
      {Bag({}, 33, [](PropertyBag& b) { b.WriteProperty("RemoteDesktop", std::int16_t{0}); }), UnexpectedProperty, "property 34 is \"RemoteDesktop\" of type 11, expected \"Run\" of type 11"},
      {Bag({}, 2, [](PropertyBag& b) { b.WriteProperty("Edonkey", "True"); }), UnexpectedProperty, "property 3 is \"Edonkey\" of type 8, expected \"Edonkey\" of type 11"},
      {Bag({"Common1", "Nope"}), BadExtension, "the common program \"Nope\" is unknown"},
      {Bag({"Common1", "Edge", "Common2", "Edge"}), BadExtension, "common program \"Edge\" is chosen twice"},
      {Bag({"Common2", "Edge"}), BadExtension, "property 37 is \"Common2\", expected text \"Program1\""},
      {Bag({p, "A", f, "a.exe"}), BadExtension, "property 39 is missing, expected text \"Program1Original\""},
      {Bag({p, "", f, "a.exe", o, ""}), BadExtension, "added program 1's name is empty"},
      {Bag({p, "A", f, "", o, ""}), BadExtension, "added program 1's file name is empty"},
      {Bag({p, "A\x7f", f, "a.exe", o, ""}), BadExtension, "added program 1's name holds a control character"},
      {Bag({p, "A", f, "a\x01.exe", o, ""}), BadExtension, "added program 1's file name holds a control character"},
      {Bag({p, "A/B", f, "c:a.exe", o, ""}), BadExtension, "added program 1's file name holds a path separator"},
      {Bag({p, "A", f, "a.exe", o, "x\\a.exe"}), BadExtension, "added program 1's original name holds a path separator"},
      {Bag({p, "A", f, std::string(257, 'a') + ".exe", o, ""}), BadExtension, "added program 1's file name is longer than 260 bytes"},
      {Bag({p, "A", f, "\xED\xA0\x80", o, ""}), BadExtension, "Program1File is not UTF-8 text"},
      {Bag({p, "A", f, "a.exe", o, "", "Program2", "B", "Program2File", "A.EXE", "Program2Original", ""}), BadExtension, "added program 2 repeats the file name of added program 1"},
      {Bag({p, "A", f, "a.exe", o, "", "Common1", "Edge"}), BadExtension, "property 40 is \"Common1\", expected text \"Program2\""},
      {Bag(many), BadExtension, "31 programs are added, more than 30"},
  };
  // clang-format on
  for (const auto& c : cases) {
    const SettingsResult r = ReadSettings(c.file);
    EXPECT_EQ(r.fault, c.fault) << c.reason;
    EXPECT_EQ(r.reason, c.reason);
  }
  // What the reader refuses, the writer will not write.
  BlockerSettings s;
  s.more.added = {{L"A", L"a.exe", L""}, {L"B", L"A.exe", L""}};
  EXPECT_THROW(WriteBlocker(kTemplate, s), Failure);
  EXPECT_EQ(MoreProblem({{kCommonCount}, {}}), "common program 1 is unknown");
  EXPECT_TRUE(ReadSettings(Bag({many.begin(), many.begin() + 180})).ok());  // 30 programs
}

TEST(SettingsJson, HoldsTheSettingsReadInBagOrderAndEscapesTheAddedPrograms) {
  SettingsResult read = ReadSettings(WriteBlocker(kTemplate, Sample()));
  const std::string out = SettingsJson(read);
  EXPECT_TRUE(
      out.starts_with("{\n  \"template_length\": 3,\n  \"block\": {\n    \"Kazaa\": true,\n    "
                      "\"Emule\": false,\n"))
      << out;
  EXPECT_TRUE(out.ends_with(
      "    \"Run\": false,\n    \"RemoteDesktop\": true\n  },\n  \"password_set\": true\n}\n"));
  // Programs beyond the catalogue follow, escaped (even what no reader lets
  // through); a common one by its caption.
  read.settings.more = {{0}, {{L"Say \"hi\" \\\x1f", L"a.exe", L""}}};
  EXPECT_TRUE(SettingsJson(read).ends_with(R"("password_set": true,
  "more": {
    "common": ["Microsoft Edge"],
    "added": [
      {"name": "Say \"hi\" \\\u001f", "file": "a.exe", "original": ""}
    ]
  }
}
)"));
  read.settings.more.added.clear();  // common programs alone are written too
  EXPECT_NE(SettingsJson(read).find(R"("common": ["Microsoft Edge"],)"), std::string::npos);
}

}  // namespace
}  // namespace qx
