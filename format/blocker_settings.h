#pragma once
// What a compiled blocker carries: the writer takes it, the reader gives it back.
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"

namespace qx {

// A program file the parent added: stopped by its file name, or by its
// OriginalFilename so that a renamed copy is stopped too.
struct AddedProgram {
  std::wstring caption;        // its description, product or file name
  std::wstring file_name;      // e.g. "Fortnite.exe"
  std::wstring original_name;  // empty: matched by the file name only
  bool operator==(const AddedProgram&) const = default;
};

// The programs chosen beyond the catalogue; written only when there are some.
struct MoreSettings {
  std::vector<std::size_t> common;  // indexes into kCommonPrograms, each once
  std::vector<AddedProgram> added;
  bool any() const { return !common.empty() || !added.empty(); }
  bool operator==(const MoreSettings&) const = default;
};

struct BlockerSettings {
  std::array<bool, kEntryCount> block{};  // catalogue order
  std::string encrypted_password;         // ANSI bytes, empty when none was set
  MoreSettings more;
  bool operator==(const BlockerSettings&) const = default;
};

}  // namespace qx
