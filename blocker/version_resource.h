#pragma once
// The version resource of a program file, found in its bytes: the file is read
// through a handle, so a path of any length works and nothing is loaded.
#include <optional>
#include <string>

#include "format/settings_reader.h"

namespace qx::blocker {

// The raw version resource (a VS_VERSIONINFO block) of a PE file; empty when
// the file is no PE file or has none; nothing when the file could not be read.
std::optional<std::string> VersionResource(const ByteSource& file);

}  // namespace qx::blocker
