#pragma once
// The programs chosen beyond the catalogue, stored after the password as text
// properties in UTF-8: "Common1".."CommonN" hold common programs' keys, then
// "ProgramN", "ProgramNFile" and "ProgramNOriginal" each added program's
// caption, file name and OriginalFilename. Nothing chosen, nothing written.
#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "format/blocker_settings.h"
#include "format/property_bag.h"

namespace qx {

// What is wrong with the choices, or nothing: an unknown or repeated common
// program, too many or repeated added ones, a text empty where it may not be,
// too long, or holding a control character (a file name also a path separator).
std::optional<std::string> MoreProblem(const MoreSettings& more);

// Throws Failure when MoreProblem finds one.
void WriteMore(PropertyBag& bag, const MoreSettings& more);

// Fills `more` from the properties after the password; the damage, with
// property numbers counted from `first_number` - 1, or nothing.
std::optional<std::string> ReadMore(std::span<const BagProperty> properties,
                                    std::size_t first_number, MoreSettings& more);

}  // namespace qx
