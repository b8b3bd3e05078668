#pragma once
// The version resource of a program file, found in its bytes: the file is read
// through a handle, so a path of any length works and nothing is loaded.
#include <optional>
#include <string>

#include "format/settings_reader.h"

namespace qx::blocker {

// How the image's sections lie: as in its file, or where the loader mapped them.
enum class ImageLayout { kFile, kLoaded };

// The raw version resource (a VS_VERSIONINFO block) of a PE image; empty when
// the image is no PE image or has none; nothing when it could not be read.
std::optional<std::string> VersionResource(const ByteSource& image,
                                           ImageLayout layout = ImageLayout::kFile);

}  // namespace qx::blocker
