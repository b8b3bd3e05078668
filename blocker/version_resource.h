#pragma once
// The version resource of a program, found in its bytes and read without the
// system's version library: in its file, read through a handle, so a path of
// any length works and nothing is loaded; or in its image in memory.
#include <optional>
#include <string>
#include <string_view>

#include "format/settings_reader.h"

namespace qx::blocker {

// How the image's sections lie: as in its file, or where the loader mapped them.
enum class ImageLayout { kFile, kLoaded };

// The raw version resource (a VS_VERSIONINFO block) of a PE image; empty when
// the image is no PE image or has none; nothing when it could not be read.
std::optional<std::string> VersionResource(const ByteSource& image,
                                           ImageLayout layout = ImageLayout::kFile);

// The value named `key` (for example OriginalFilename) in a version resource:
// the first that is not empty in its string tables; empty when there is none.
std::wstring VersionString(std::string_view block, std::wstring_view key);

}  // namespace qx::blocker
