#include "format/settings_json.h"

namespace qx {

std::string SettingsJson(const SettingsResult& read) {
  const BlockerSettings& s = read.settings;
  std::string out =
      "{\n  \"template_length\": " + std::to_string(read.template_length) + ",\n  \"block\": {\n";
  const auto& order = BagOrder();
  for (std::size_t n = 0; n < order.size(); ++n) {
    // Keys are plain ASCII letters: nothing to escape.
    out += "    \"" + std::string(kCatalogue[order[n]].bag_key) +
           "\": " + (s.block[order[n]] ? "true" : "false") + (n + 1 < order.size() ? ",\n" : "\n");
  }
  out += "  },\n  \"password_set\": ";
  out += s.encrypted_password.empty() ? "false" : "true";
  out += "\n}\n";
  return out;
}

}  // namespace qx
