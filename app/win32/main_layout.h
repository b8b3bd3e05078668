#pragma once
// The main window as data: its size, where the catalogue's boxes and headers
// sit, the controls that are not catalogue entries, and the menu tree.
#include <array>
#include <span>
#include <string_view>

#include "catalogue/catalogue.h"
#include "ui/layout.h"

namespace qx::win {

inline constexpr wchar_t kMainCaption[] = L"Quellanix V2.1 by Brindlecor";
inline constexpr int kClientWidthTwips = 9780;
inline constexpr int kClientHeightTwips = 8070;

// Where a catalogue entry's box sits: one row per entry, in catalogue order.
struct BoxPlace {
  std::string_view control;  // the entry's control name, as a check
  TwipsRect rect;
  int tab_order;
  FontSpec font;
};
extern const std::array<BoxPlace, kEntryCount> kBoxPlaces;

// Where a group header sits: one row per header, in kGroupHeaders order.
struct HeaderPlace {
  std::string_view control;
  TwipsRect rect;
  int tab_order;
};
extern const std::array<HeaderPlace, kGroupCount> kHeaderPlaces;
inline constexpr FontSpec kHeaderFont{1200, true};

enum class FixedKind { Label, Image };

struct FixedControl {
  std::string_view name;
  FixedKind kind;
  int id;
  TwipsRect rect;
  int tab_order;
  FontSpec font;
  int image_resource;  // 0 for labels
  std::wstring_view text;
};

std::span<const FixedControl> FixedControls();

// The instruction text, ending with the support address.
std::wstring_view InstructionText();

struct MenuItem {
  std::string_view name;
  std::wstring_view caption;  // empty for a separator
  int id;                     // 0 for a separator
};

struct Menu {
  std::string_view name;
  std::wstring_view caption;
  std::span<const MenuItem> items;
};

std::span<const Menu> MenuTree();

// Every control of the window, in tab order: a box per catalogue entry, a
// header per group, then the fixed controls.
std::span<const ControlSpec> MainControls();

}  // namespace qx::win
