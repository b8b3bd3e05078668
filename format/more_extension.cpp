#include "format/more_extension.h"

#include <algorithm>

#include "catalogue/more_programs.h"
#include "common/failure.h"
#include "common/text.h"
#include "common/utf8.h"
#include "format/bag_format.h"

namespace qx {
namespace {

std::string Utf8(std::wstring_view text) {
  std::string out;
  AppendUtf8(out, text);
  return out;
}

std::string Numbered(std::string_view stem, std::size_t n, std::string_view suffix = {}) {
  return std::string(stem) + std::to_string(n) + std::string(suffix);
}

enum class TextKind { Caption, FileName, Original };

std::optional<std::string> TextProblem(std::wstring_view text, TextKind kind) {
  if (text.empty() && kind != TextKind::Original) return "is empty";
  if (Utf8(text).size() > kMaxProgramText) {
    return "is longer than " + std::to_string(kMaxProgramText) + " bytes";
  }
  for (wchar_t c : text) {
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) return "holds a control character";
    if (kind != TextKind::Caption && (c == L'\\' || c == L'/' || c == L':')) {
      return "holds a path separator";
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> MoreProblem(const MoreSettings& more) {
  for (std::size_t i = 0; i < more.common.size(); ++i) {
    if (more.common[i] >= kCommonCount)
      return "common program " + std::to_string(i + 1) + " is unknown";
    if (std::count(more.common.begin(), more.common.end(), more.common[i]) > 1) {
      return "common program \"" + std::string(kCommonPrograms[more.common[i]].key) +
             "\" is chosen twice";
    }
  }
  if (more.added.size() > kMaxAddedPrograms) {
    return std::to_string(more.added.size()) + " programs are added, more than " +
           std::to_string(kMaxAddedPrograms);
  }
  for (std::size_t i = 0; i < more.added.size(); ++i) {
    const AddedProgram& p = more.added[i];
    const std::string which = "added program " + std::to_string(i + 1);
    struct Field {
      const std::wstring& text;
      TextKind kind;
      const char* what;
    };
    for (const Field& f : {Field{p.caption, TextKind::Caption, "name"},
                           Field{p.file_name, TextKind::FileName, "file name"},
                           Field{p.original_name, TextKind::Original, "original name"}}) {
      if (auto problem = TextProblem(f.text, f.kind))
        return which + "'s " + f.what + " " + *problem;
    }
    for (std::size_t k = 0; k < i; ++k) {
      if (EqualsIgnoringAsciiCase(more.added[k].file_name, p.file_name)) {
        return which + " repeats the file name of added program " + std::to_string(k + 1);
      }
    }
  }
  return std::nullopt;
}

void WriteMore(PropertyBag& bag, const MoreSettings& more) {
  if (auto problem = MoreProblem(more)) {
    throw Failure(L"Could not build the settings bag.",
                  std::wstring(problem->begin(), problem->end()) + L".");
  }
  for (std::size_t i = 0; i < more.common.size(); ++i) {
    bag.WriteProperty(Numbered("Common", i + 1), kCommonPrograms[more.common[i]].key);
  }
  for (std::size_t i = 0; i < more.added.size(); ++i) {
    const AddedProgram& p = more.added[i];
    bag.WriteProperty(Numbered("Program", i + 1), Utf8(p.caption));
    bag.WriteProperty(Numbered("Program", i + 1, "File"), Utf8(p.file_name));
    bag.WriteProperty(Numbered("Program", i + 1, "Original"), Utf8(p.original_name));
  }
}

std::optional<std::string> ReadMore(std::span<const BagProperty> properties,
                                    std::size_t first_number, MoreSettings& more) {
  std::size_t at = 0;
  // The next property's text, when it has this name and is text.
  auto take = [&](const std::string& name) -> const std::string* {
    if (at >= properties.size() || properties[at].name != name ||
        properties[at].type != bag::kTypeString) {
      return nullptr;
    }
    return &properties[at++].text;
  };
  auto unexpected = [&](const std::string& expected) {
    const std::string found =
        at < properties.size() ? "\"" + properties[at].name + "\"" : "missing";
    return "property " + std::to_string(first_number + at + 1) + " is " + found +
           ", expected text \"" + expected + "\"";
  };
  for (std::size_t n = 1;; ++n) {
    const std::string* key = take(Numbered("Common", n));
    if (!key) break;
    const auto index = CommonIndexOfKey(*key);
    if (!index) return "the common program \"" + *key + "\" is unknown";
    more.common.push_back(*index);
  }
  for (std::size_t n = 1; at < properties.size(); ++n) {
    AddedProgram p;
    for (auto [suffix, out] : {std::pair{"", &p.caption}, std::pair{"File", &p.file_name},
                               std::pair{"Original", &p.original_name}}) {
      const std::string name = Numbered("Program", n, suffix);
      const std::string* text = take(name);
      if (!text) return unexpected(name);
      auto wide = DecodeUtf8(*text);
      if (!wide) return name + " is not UTF-8 text";
      *out = std::move(*wide);
    }
    more.added.push_back(std::move(p));
    if (more.added.size() > kMaxAddedPrograms) break;  // said below, without reading on
  }
  return MoreProblem(more);
}

}  // namespace qx
