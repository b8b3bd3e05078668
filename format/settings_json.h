#pragma once
// The inspect tool's output: a compiled blocker's settings as JSON.
#include <string>

#include "format/settings_reader.h"

namespace qx {

// {"template_length": L, "block": {35 keys in bag order}, "password_set": b},
// then "more" with the programs chosen beyond the catalogue, when there are any.
std::string SettingsJson(const SettingsResult& read);

}  // namespace qx
