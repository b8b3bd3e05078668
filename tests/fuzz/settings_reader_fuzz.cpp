// libFuzzer target for the settings reader. Besides never reading outside the
// input, a file the reader accepts must be exactly what the writer makes of the
// settings it read.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "format/blocker_writer.h"
#include "format/settings_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const qx::SettingsResult r = qx::ReadSettings(input);
  if (r.ok() ? qx::WriteBlocker(input.substr(0, r.template_length), r.settings) != input
             : r.reason.empty()) {
    std::abort();
  }
  return 0;
}
