// libFuzzer target for the settings reader. Besides never reading outside the
// input, a file the reader accepts must be exactly what the builder would write
// for the settings it read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "builder/bag_format.h"
#include "builder/blocker_image.h"
#include "builder/property_bag.h"
#include "builder/settings_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  qx::SettingsFault fault = qx::SettingsFault::None;
  std::string reason;
  (void)qx::ParseBagContents(input, fault, reason);

  const qx::SettingsResult r = qx::ReadSettings(input);
  if (!r.ok()) {
    if (r.reason.empty()) std::abort();
    return 0;
  }
  qx::PropertyBag bag;
  for (std::size_t i : qx::BagOrder())
    bag.WriteProperty(qx::kCatalogue[i].bag_key, r.settings.block[i]);
  bag.WriteProperty(qx::bag::kPasswordKey, r.settings.encrypted_password);
  const qx::BlockerTail tail = qx::PlanBlocker(r.settings.template_length, bag.Contents());
  const std::string rebuilt = std::string(input.substr(0, tail.template_prefix)) + tail.bytes;
  if (rebuilt != input) std::abort();
  return 0;
}
