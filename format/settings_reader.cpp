#include "format/settings_reader.h"

#include <span>
#include <vector>

#include "format/bag_format.h"
#include "format/little_endian.h"
#include "format/more_extension.h"
#include "format/property_bag.h"

namespace qx {
namespace {

// The flags in bag order, then the password.
constexpr std::size_t kExpectedProperties = kEntryCount + 1;

// Sequential reading of the contents with bounds checks.
class Cursor {
 public:
  explicit Cursor(std::string_view bytes) : bytes_(bytes) {}
  std::size_t left() const { return bytes_.size() - at_; }
  std::size_t at() const { return at_; }
  // Where the value just taken began.
  std::size_t last_value_at() const { return last_at_; }
  template <typename T>
  bool Take(T& value) {
    if (left() < sizeof(T)) return false;
    value = le::Read<T>(bytes_, at_);
    Advance(sizeof(T));
    return true;
  }
  bool Take(std::size_t length, std::string& out) {
    if (left() < length) return false;
    out.assign(bytes_.substr(at_, length));
    Advance(length);
    return true;
  }

 private:
  void Advance(std::size_t length) {
    last_at_ = at_;
    at_ += length;
  }

  std::string_view bytes_;
  std::size_t at_ = 0;
  std::size_t last_at_ = 0;
};

SettingsResult Fail(SettingsFault fault, std::string reason) {
  SettingsResult r;
  r.fault = fault;
  r.reason = std::move(reason);
  return r;
}

std::string At(std::size_t offset) { return " at contents offset " + std::to_string(offset); }

// The name and type each position must hold: the 35 flags in bag order, then
// the password.
std::string_view ExpectedName(std::size_t i) {
  return i < kEntryCount ? kCatalogue[BagOrder()[i]].bag_key : bag::kPasswordKey;
}
std::uint16_t ExpectedType(std::size_t i) {
  return i < kEntryCount ? bag::kTypeBoolean : bag::kTypeString;
}

// Parses the bag's contents into `props`; the fault on anything malformed.
SettingsResult ParseBagContents(std::string_view contents, std::vector<BagProperty>& props) {
  Cursor in(contents);
  std::string magic;
  if (!in.Take(bag::kMagic.size(), magic) || magic != bag::kMagic) {
    return Fail(SettingsFault::Magic,
                "the settings bag does not begin with \"" + std::string(bag::kMagic) + "\"");
  }
  std::uint16_t version = 0, count = 0;
  if (!in.Take(version)) return Fail(SettingsFault::Truncated, "the bag ends inside its version");
  if (version != bag::kVersion) {
    return Fail(SettingsFault::Version, "the bag's version is " + std::to_string(version) +
                                            ", not " + std::to_string(bag::kVersion));
  }
  if (!in.Take(count)) return Fail(SettingsFault::Truncated, "the bag ends inside its count");

  for (std::size_t i = 0; i < count; ++i) {
    const std::string which = "property " + std::to_string(i + 1);
    BagProperty p;
    std::uint16_t name_length = 0;
    if (!in.Take(name_length) || !in.Take(name_length, p.name) || !in.Take(p.type)) {
      return Fail(SettingsFault::Truncated, "the bag ends inside the name of " + which);
    }
    if (name_length == 0) {
      return Fail(SettingsFault::UnexpectedProperty, which + " has an empty name");
    }
    if (p.type == bag::kTypeBoolean) {
      if (!in.Take(p.boolean)) {
        return Fail(SettingsFault::Truncated, "the bag ends inside the value of " + which);
      }
      if (p.boolean != -1 && p.boolean != 0) {
        return Fail(SettingsFault::BadBoolean, which + " (\"" + p.name + "\") holds the Boolean " +
                                                   std::to_string(p.boolean) +
                                                   At(in.last_value_at()));
      }
    } else if (p.type == bag::kTypeString) {
      std::uint32_t length = 0;
      if (!in.Take(length) || !in.Take(length, p.text)) {
        return Fail(SettingsFault::Truncated, "the bag ends inside the value of " + which);
      }
    } else {
      return Fail(SettingsFault::UnknownType, which + " has the unknown type " +
                                                  std::to_string(p.type) + At(in.last_value_at()));
    }
    props.push_back(std::move(p));
  }
  if (in.left() != 0) {
    return Fail(SettingsFault::TrailingBytes,
                std::to_string(in.left()) + " bytes follow the last property" + At(in.at()));
  }
  return {};
}

}  // namespace

SettingsResult ReadSettings(const ByteSource& file) {
  const std::uint64_t size = file.Size();
  if (size < bag::kTrailerSize) {
    return Fail(SettingsFault::NoTrailer, "the file is shorter than a trailer");
  }
  const std::uint64_t trailer_at = size - bag::kTrailerSize;
  std::string trailer(bag::kTrailerSize, '\0');
  if (!file.Read(trailer_at, trailer.size(), trailer.data())) {
    return Fail(SettingsFault::Unreadable, "the trailer could not be read");
  }
  const auto length = le::Read<std::int32_t>(trailer, 0);
  // The record starts at offset L - 1 and needs its header before the trailer.
  if (length < 1 || static_cast<std::uint64_t>(length) - 1 + bag::kRecordHeaderSize > trailer_at) {
    return Fail(SettingsFault::NoTrailer,
                "the trailer (" + std::to_string(length) +
                    ") does not point at a settings record in a file of " + std::to_string(size) +
                    " bytes");
  }
  const std::uint64_t record_at = static_cast<std::uint64_t>(length) - 1;
  std::string header(bag::kRecordHeaderSize, '\0');
  if (!file.Read(record_at, header.size(), header.data())) {
    return Fail(SettingsFault::Unreadable, "the settings record could not be read");
  }
  if (le::Read<std::uint16_t>(header, 0) != bag::kRecordType ||
      le::Read<std::uint16_t>(header, 2) != bag::kRecordDimensions ||
      le::Read<std::int32_t>(header, 8) != 0) {
    return Fail(SettingsFault::RecordHeader,
                "no byte-array record at offset " + std::to_string(record_at));
  }
  const std::uint64_t count = le::Read<std::uint32_t>(header, 4);
  const std::uint64_t contents_at = record_at + bag::kRecordHeaderSize;
  if (contents_at + count != trailer_at) {
    return Fail(SettingsFault::RecordEnd,
                "the settings record of " + std::to_string(count) + " bytes ends at offset " +
                    std::to_string(contents_at + count) + ", but the trailer begins at " +
                    std::to_string(trailer_at));
  }
  if (count > kMaxBagContents) {
    return Fail(SettingsFault::RecordEnd,
                "the settings record is implausibly large (" + std::to_string(count) + " bytes)");
  }
  std::string contents(static_cast<std::size_t>(count), '\0');
  if (!file.Read(contents_at, contents.size(), contents.data())) {
    return Fail(SettingsFault::Unreadable, "the settings bag could not be read");
  }

  std::vector<BagProperty> props;
  SettingsResult result = ParseBagContents(contents, props);
  if (!result.ok()) return result;
  if (props.size() < kExpectedProperties) {
    return Fail(SettingsFault::UnexpectedProperty, "the bag holds " + std::to_string(props.size()) +
                                                       " properties, not " +
                                                       std::to_string(kExpectedProperties));
  }
  for (std::size_t i = 0; i < kExpectedProperties; ++i) {
    const BagProperty& p = props[i];
    if (p.name != ExpectedName(i) || p.type != ExpectedType(i)) {
      return Fail(SettingsFault::UnexpectedProperty,
                  "property " + std::to_string(i + 1) + " is \"" + p.name + "\" of type " +
                      std::to_string(p.type) + ", expected \"" + std::string(ExpectedName(i)) +
                      "\" of type " + std::to_string(ExpectedType(i)));
    }
    if (i < kEntryCount) {
      result.settings.block[BagOrder()[i]] = p.boolean != 0;
    } else {
      result.settings.encrypted_password = p.text;
    }
  }
  const std::span<const BagProperty> extension(props.data() + kExpectedProperties,
                                               props.size() - kExpectedProperties);
  if (auto damage = ReadMore(extension, kExpectedProperties, result.settings.more)) {
    return Fail(SettingsFault::BadExtension, std::move(*damage));
  }
  result.template_length = static_cast<std::uint32_t>(length);
  return result;
}

SettingsResult ReadSettings(std::string_view whole_file) {
  return ReadSettings(MemorySource(whole_file));
}

}  // namespace qx
