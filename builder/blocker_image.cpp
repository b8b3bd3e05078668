#include "builder/blocker_image.h"

#include <limits>

#include "builder/bag_format.h"
#include "builder/little_endian.h"
#include "runtime/failure.h"

namespace qx {

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

BlockerTail PlanBlocker(std::uint64_t template_length, std::string_view contents) {
  if (template_length == 0) {
    throw Failure(L"Could not read the blocker template.", L"The template file is empty.");
  }
  if (template_length > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
    throw Failure(L"Could not read the blocker template.",
                  L"The template is larger than 2 GB, which the blocker's trailer cannot locate.");
  }
  BlockerTail tail{template_length - 1, BagRecord(contents)};
  le::Append(tail.bytes, static_cast<std::int32_t>(template_length));
  return tail;
}

}  // namespace qx
