#include "format/blocker_writer.h"

#include <limits>

#include "common/failure.h"
#include "format/bag_format.h"
#include "format/little_endian.h"
#include "format/more_extension.h"
#include "format/property_bag.h"

namespace qx {

namespace {

// The bag's contents wrapped as a one-dimensional byte array record.
std::string BagRecord(std::string_view contents) {
  if (contents.size() > std::numeric_limits<std::uint32_t>::max()) {
    throw Failure(L"Could not build the settings bag.", L"The settings bag is too large.");
  }
  std::string out;
  out.reserve(bag::kRecordHeaderSize + contents.size());
  le::Append(out, bag::kRecordType);
  le::Append(out, bag::kRecordDimensions);
  le::Append(out, static_cast<std::uint32_t>(contents.size()));
  le::Append(out, std::int32_t{0});
  out.append(contents);
  return out;
}

}  // namespace

std::string BagContents(const BlockerSettings& settings) {
  PropertyBag bag;
  for (std::size_t i : BagOrder()) {
    bag.WriteProperty(kCatalogue[i].bag_key, static_cast<std::int16_t>(settings.block[i]));
  }
  bag.WriteProperty(bag::kPasswordKey, settings.encrypted_password);
  WriteMore(bag, settings.more);
  return bag.Contents();
}

BlockerTail PlanBlocker(std::uint64_t template_length, const BlockerSettings& settings) {
  if (template_length == 0) {
    throw Failure(L"Could not read the blocker template.", L"The template file is empty.");
  }
  if (template_length > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
    throw Failure(L"Could not read the blocker template.",
                  L"The template is larger than 2 GB, which the blocker's trailer cannot locate.");
  }
  BlockerTail tail{template_length - 1, BagRecord(BagContents(settings))};
  le::Append(tail.bytes, static_cast<std::int32_t>(template_length));
  return tail;
}

std::string WriteBlocker(std::string_view template_bytes, const BlockerSettings& settings) {
  const BlockerTail tail = PlanBlocker(template_bytes.size(), settings);
  return std::string(template_bytes.substr(0, tail.template_prefix)) + tail.bytes;
}

}  // namespace qx
