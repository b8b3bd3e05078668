#include "format/settings_json.h"

#include "catalogue/more_programs.h"
#include "common/utf8.h"

namespace qx {
namespace {

// A JSON string of wide text, in UTF-8.
std::string Quoted(std::wstring_view text) {
  std::string utf8;
  AppendUtf8(utf8, text);
  std::string out = "\"";
  for (char c : utf8) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      constexpr char kHex[] = "0123456789abcdef";
      out += "\\u00";
      out += kHex[(c >> 4) & 0xF];
      out += kHex[c & 0xF];
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// ,\n  "more": {"common": [captions], "added": [{"name", "file", "original"}]}
std::string MoreJson(const MoreSettings& more) {
  std::string out = ",\n  \"more\": {\n    \"common\": [";
  for (std::size_t n = 0; n < more.common.size(); ++n) {
    out += (n ? ", " : "") + Quoted(kCommonPrograms[more.common[n]].caption);
  }
  out += "],\n    \"added\": [";
  for (std::size_t n = 0; n < more.added.size(); ++n) {
    const AddedProgram& p = more.added[n];
    out += std::string(n ? "," : "") + "\n      {\"name\": " + Quoted(p.caption) +
           ", \"file\": " + Quoted(p.file_name) + ", \"original\": " + Quoted(p.original_name) +
           "}";
  }
  out += more.added.empty() ? "]\n  }" : "\n    ]\n  }";
  return out;
}

}  // namespace

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
  if (s.more.any()) out += MoreJson(s.more);
  out += "\n}\n";
  return out;
}

}  // namespace qx
