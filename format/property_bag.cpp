#include "format/property_bag.h"

#include <limits>

#include "common/failure.h"
#include "format/bag_format.h"
#include "format/little_endian.h"

namespace qx {

void PropertyBag::WriteName(std::string_view name, std::uint16_t type) {
  if (name.empty() || name.size() > std::numeric_limits<std::uint16_t>::max()) {
    throw Failure(L"Could not build the settings bag.", L"A property name is empty or too long.");
  }
  if (count_ == std::numeric_limits<std::uint16_t>::max()) {
    throw Failure(L"Could not build the settings bag.", L"The bag holds too many properties.");
  }
  ++count_;
  le::Append(properties_, static_cast<std::uint16_t>(name.size()));
  properties_.append(name);
  le::Append(properties_, type);
}

void PropertyBag::WriteProperty(std::string_view name, std::int16_t boolean) {
  WriteName(name, bag::kTypeBoolean);
  le::Append(properties_, static_cast<std::int16_t>(boolean != 0 ? -1 : 0));
}

void PropertyBag::WriteProperty(std::string_view name, std::string_view ansi) {
  if (ansi.size() > std::numeric_limits<std::uint32_t>::max()) {
    throw Failure(L"Could not build the settings bag.", L"A text property is too long.");
  }
  WriteName(name, bag::kTypeString);
  le::Append(properties_, static_cast<std::uint32_t>(ansi.size()));
  properties_.append(ansi);
}

std::string PropertyBag::Contents() const {
  std::string out(bag::kMagic);
  le::Append(out, bag::kVersion);
  le::Append(out, count_);
  out += properties_;
  return out;
}

}  // namespace qx
