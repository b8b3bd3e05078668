#pragma once
// The main window as data: its size, the controls that are not catalogue
// entries, and the menu tree.
#include <span>
#include <string_view>

#include "app/layout.h"

namespace qx::win {

inline constexpr wchar_t kMainCaption[] = L"Quellanix V2.1 by Brindlecor";
inline constexpr int kClientWidthTwips = 9780;
inline constexpr int kClientHeightTwips = 8070;

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

}  // namespace qx::win
