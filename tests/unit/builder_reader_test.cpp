// The settings reader turns away every kind of damage with a reason.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "builder/blocker_image.h"
#include "builder/property_bag.h"
#include "builder/settings_reader.h"

namespace qx {
namespace {

const std::string kTemplate = "MZ\x90\x00template-body";

// The 36 properties as the builder writes them; `edit` may change the bag.
std::string Contents(const std::function<void(PropertyBag&, std::size_t)>& edit = {}) {
  PropertyBag bag;
  for (std::size_t n = 0; n < kEntryCount; ++n) {
    if (edit) {
      edit(bag, n);
    } else {
      bag.WriteProperty(kCatalogue[BagOrder()[n]].bag_key, vbTrue);
    }
  }
  bag.WriteProperty("Encpassword", "cipher");
  return bag.Contents();
}

std::string FileWith(const std::string& contents) {
  const BlockerTail tail = PlanBlocker(kTemplate.size(), contents);
  return kTemplate.substr(0, tail.template_prefix) + tail.bytes;
}

void Poke16(std::string& s, std::size_t at, std::uint16_t v) {
  s[at] = static_cast<char>(v & 0xFF);
  s[at + 1] = static_cast<char>(v >> 8);
}
void Poke32(std::string& s, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

SettingsFault FaultOf(const std::string& file) {
  const SettingsResult r = ReadSettings(file);
  if (!r.ok()) {
    EXPECT_FALSE(r.reason.empty());
  }
  return r.fault;
}

const std::size_t kRecord = kTemplate.size() - 1;  // record offset
const std::size_t kBag = kRecord + 12;             // contents offset

TEST(SettingsReader, ReadsWhatTheBuilderWrites) {
  const SettingsResult r = ReadSettings(FileWith(Contents()));
  ASSERT_TRUE(r.ok()) << r.reason;
  EXPECT_EQ(r.settings.encrypted_password, "cipher");
  EXPECT_EQ(r.settings.template_length, kTemplate.size());
}

TEST(SettingsReader, TrailerOutOfRangeMeansNoSettings) {
  const std::string good = FileWith(Contents());
  EXPECT_EQ(FaultOf(""), SettingsFault::NoTrailer);
  EXPECT_EQ(FaultOf("abc"), SettingsFault::NoTrailer);
  EXPECT_EQ(FaultOf(kTemplate), SettingsFault::NoTrailer);  // a bare template
  for (std::uint32_t bad : {0u, 0x80000000u, 0xFFFFFFFFu, static_cast<std::uint32_t>(good.size()),
                            static_cast<std::uint32_t>(good.size() - 4 - 12 + 2)}) {
    std::string f = good;
    Poke32(f, f.size() - 4, bad);
    const SettingsResult r = ReadSettings(f);
    EXPECT_EQ(r.fault, SettingsFault::NoTrailer) << bad;
    EXPECT_TRUE(r.no_settings());
  }
}

TEST(SettingsReader, WrongRecordHeaderOrEnd) {
  const std::string good = FileWith(Contents());
  std::string f = good;
  Poke16(f, kRecord, 0x2008);  // a string, not a byte array
  EXPECT_EQ(FaultOf(f), SettingsFault::RecordHeader);
  f = good;
  Poke16(f, kRecord + 2, 2);  // two dimensions
  EXPECT_EQ(FaultOf(f), SettingsFault::RecordHeader);
  f = good;
  Poke32(f, kRecord + 8, 1);  // lower bound 1
  EXPECT_EQ(FaultOf(f), SettingsFault::RecordHeader);
  // Element counts that end before or after the trailer, including one that
  // would run far past the end of the file.
  for (std::uint32_t count : {0u, 1u, 0xFFFFFFFFu}) {
    f = good;
    Poke32(f, kRecord + 4, count);
    EXPECT_EQ(FaultOf(f), SettingsFault::RecordEnd) << count;
  }
  // Bytes slipped in between the record and the trailer.
  f = good;
  f.insert(f.size() - 4, "xx");
  EXPECT_EQ(FaultOf(f), SettingsFault::RecordEnd);
}

TEST(SettingsReader, BadMagicOrVersion) {
  std::string f = FileWith(Contents());
  f[kBag] = 'X';
  EXPECT_EQ(FaultOf(f), SettingsFault::Magic);
  f = FileWith(Contents());
  Poke16(f, kBag + 4, 2);
  EXPECT_EQ(FaultOf(f), SettingsFault::Version);
  EXPECT_EQ(FaultOf(FileWith("QX")), SettingsFault::Magic);
  EXPECT_EQ(FaultOf(FileWith("QXPB\x01")), SettingsFault::Truncated);
}

TEST(SettingsReader, TruncatedAndOverlongFields) {
  const std::string contents = Contents();
  // Every cut of the contents is caught (and never read past).
  for (std::size_t cut = 8; cut < contents.size(); ++cut) {
    const SettingsFault fault = FaultOf(FileWith(contents.substr(0, cut)));
    EXPECT_TRUE(fault == SettingsFault::Truncated || fault == SettingsFault::UnexpectedProperty)
        << cut;
  }
  // A name or text length past the end.
  std::string c = contents;
  Poke16(c, 8, 0xFFFF);
  EXPECT_EQ(FaultOf(FileWith(c)), SettingsFault::Truncated);
  c = contents;
  Poke32(c, c.size() - 6 - 4, 0x7FFFFFFF);  // the password's length
  EXPECT_EQ(FaultOf(FileWith(c)), SettingsFault::Truncated);
  // A count larger than what follows.
  c = contents;
  Poke16(c, 6, 37);
  EXPECT_EQ(FaultOf(FileWith(c)), SettingsFault::Truncated);
}

TEST(SettingsReader, UnknownTypesAndBadBooleans) {
  std::string c = Contents();
  Poke16(c, 8 + 2 + 5, 3);  // Kazaa as a Long
  EXPECT_EQ(FaultOf(FileWith(c)), SettingsFault::UnknownType);
  c = Contents();
  Poke16(c, 8 + 2 + 5 + 2, 1);  // a Boolean of 1
  EXPECT_EQ(FaultOf(FileWith(c)), SettingsFault::BadBoolean);
}

TEST(SettingsReader, NamesCountAndOrderMustBeTheBuildersOwn) {
  // A missing, a renamed and a swapped key; a flag written as text.
  const auto key = [](std::size_t n) { return kCatalogue[BagOrder()[n]].bag_key; };
  EXPECT_EQ(FaultOf(FileWith(Contents([&](PropertyBag& b, std::size_t n) {
              if (n != 5) b.WriteProperty(key(n), vbFalse);
            }))),
            SettingsFault::UnexpectedProperty);
  EXPECT_EQ(FaultOf(FileWith(Contents([&](PropertyBag& b, std::size_t n) {
              b.WriteProperty(n == 0 ? "kazaa" : key(n), vbFalse);
            }))),
            SettingsFault::UnexpectedProperty);
  EXPECT_EQ(FaultOf(FileWith(Contents([&](PropertyBag& b, std::size_t n) {
              b.WriteProperty(key(n == 34 ? 33 : n == 33 ? 34 : n), vbFalse);
            }))),
            SettingsFault::UnexpectedProperty);
  EXPECT_EQ(FaultOf(FileWith(Contents([&](PropertyBag& b, std::size_t n) {
              if (n == 2) {
                b.WriteProperty(key(n), "True");
              } else {
                b.WriteProperty(key(n), vbFalse);
              }
            }))),
            SettingsFault::UnexpectedProperty);
  // An extra property after the password.
  PropertyBag extra;
  for (std::size_t n = 0; n < kEntryCount; ++n) extra.WriteProperty(key(n), vbFalse);
  extra.WriteProperty("Encpassword", "");
  extra.WriteProperty("Extra", vbTrue);
  EXPECT_EQ(FaultOf(FileWith(extra.Contents())), SettingsFault::UnexpectedProperty);
}

TEST(SettingsReader, TrailingBytesInsideTheBag) {
  EXPECT_EQ(FaultOf(FileWith(Contents() + "!")), SettingsFault::TrailingBytes);
}

}  // namespace
}  // namespace qx
