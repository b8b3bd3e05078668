#pragma once
// The choices of the More Applications dialog: today's common programs and
// the program files the parent added, kept for the run like the ticks of the
// main window, and what may be added.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/more_programs.h"
#include "common/byte_source.h"
#include "format/blocker_settings.h"

namespace qx {

inline constexpr wchar_t kMoreTitle[] = L"More Applications";

struct ListedProgram {
  AddedProgram program;
  bool ticked = true;  // an added program left unticked is not chosen
  bool operator==(const ListedProgram&) const = default;
};

struct MoreChoices {
  std::array<bool, kCommonCount> common{};  // kCommonPrograms order
  std::vector<ListedProgram> added;
  // What a compile writes: the ticked ones.
  MoreSettings Chosen() const;
  bool operator==(const MoreChoices&) const = default;
};

// What is known of a program file the parent picked or named.
struct ProgramFile {
  std::wstring file_name;
  bool is_program = true;  // a Windows program (an executable image, no DLL)
  // From its version resource; empty where it has none.
  std::wstring description, product, original;
};

// Adds the program, ticked, shown by its description, else its product, else
// its file name; matched by its OriginalFilename too unless that is a generic
// one. Or the message that says why it is refused, with nothing changed.
std::optional<std::wstring> AddProgram(MoreChoices& choices, const ProgramFile& file);

// A file name typed by the parent as the program it names ("Fortnite" gets
// ".exe"); nothing when it is no plain program file name.
std::optional<ProgramFile> TypedProgram(std::wstring_view typed);
std::wstring TypedNameRefusal(std::wstring_view typed);

// A group header's click: the group's first box decides, as in the main window.
void ToggleGroup(MoreChoices& choices, MoreGroup group);

// Whether the bytes are a Windows program: an executable image that is no DLL.
bool IsWindowsProgram(const ByteSource& file);

}  // namespace qx
