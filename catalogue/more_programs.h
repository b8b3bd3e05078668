#pragma once
// Programs beyond the 35: today's common programs, a second table beside the
// catalogue, and the rules for a program file the parent adds by hand.
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace qx {

enum class MoreGroup { Browsers, Chat, GamesAndStores };

struct CommonProgram {
  std::wstring_view caption;  // text beside the box
  MoreGroup group;
  std::string_view key;                      // stored in a blocker's settings
  std::span<const std::wstring_view> names;  // its executables, lower case
};

struct MoreGroupHeader {
  MoreGroup group;
  std::wstring_view caption;
};

inline constexpr std::size_t kCommonCount = 15;
inline constexpr std::size_t kMoreGroupCount = 3;
// The most programs a parent may add: a blocker checks every new process
// against each of them.
inline constexpr std::size_t kMaxAddedPrograms = 30;
// The longest caption or file name a blocker carries, in UTF-8 bytes.
inline constexpr std::size_t kMaxProgramText = 260;

// In the dialog's order; a group's first member decides its header's click.
extern const std::array<CommonProgram, kCommonCount> kCommonPrograms;
extern const std::array<MoreGroupHeader, kMoreGroupCount> kMoreGroupHeaders;

std::optional<std::size_t> CommonIndexOfKey(std::string_view key);

enum class Refusal {
  None,
  GenericHost,  // runs many programs: blocking it stops more than was chosen
  Windows,      // part of the desktop or session: the child's desktop breaks
  Quellanix,    // the configurator, its template or a compiled blocker
};

// Whether a program may be added, by its file name and its OriginalFilename
// (empty when it has none), letter case aside. A generic original (below) does
// not make a host of a program that has a file name of its own.
Refusal RefusalOf(std::wstring_view file_name, std::wstring_view original_name);

// An OriginalFilename shared by many programs (runtimes that apps are built
// on): such a program is matched by its file name only.
bool IsGenericOriginal(std::wstring_view original_name);

}  // namespace qx
