#pragma once
// Which processes belong to which catalogue entry: the executable names each
// application has shipped under, old and current, keyed by its bag key.
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "format/blocker_settings.h"

namespace qx::blocker {

struct Signature {
  std::string_view key;                      // a catalogue bag key
  std::span<const std::wstring_view> names;  // lower case, with ".exe"
};

// Every program key of the catalogue once; the Run dialog is a window, not a
// program, and has no entry.
std::span<const Signature> Signatures();

// What is known of a running process.
struct ProcessFacts {
  std::wstring_view image_name;     // the file name of its image, e.g. "Homework.EXE"
  std::wstring_view original_name;  // OriginalFilename of its version resource, or empty
  bool is_self = false;             // this very process
};

// The catalogue index of the ticked entry whose names the process carries, by
// exact name (letter case aside), or nothing. Never this process, the
// configurator or a blocker: their version resources name them (OriginalFilename
// "Quellanix.exe", "quellanix.ext"), whatever their files are called.
std::optional<std::size_t> EntryToStop(const BlockerSettings& settings,
                                       const ProcessFacts& process);

// The name of the chosen program the process is, by the same rules: a
// catalogue entry's caption, a common program's, or an added program's, whose
// file name or (where kept) OriginalFilename it carries; or nothing.
std::optional<std::wstring> ProgramToStop(const BlockerSettings& settings,
                                          const ProcessFacts& process);

}  // namespace qx::blocker
