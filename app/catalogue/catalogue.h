#pragma once
// The fixed catalogue of the 35 applications a blocker can be told to block, and
// the seven group headers that toggle them. Everything else (the window, the
// block flags, the toggles, the settings-bag order) derives from these tables.
#include <array>
#include <cstddef>
#include <string_view>

#include "app/layout.h"

namespace qx {

enum class Group { P2P, Messenger, Internet, Burning, Misc, Games, System, None };

struct CatalogueEntry {
  std::string_view control;   // check-box control name
  std::wstring_view caption;  // text beside the box
  Group group;
  std::string_view bag_key;  // Boolean property name in the settings bag
  int bag_position;          // 1..35: where it is written in the bag
  TwipsRect rect;            // in the main window's client area
  int tab_order;
  FontSpec font;
};

struct GroupHeader {
  Group group;
  std::string_view control;
  std::wstring_view caption;
  TwipsRect rect;
  int tab_order;
};

inline constexpr FontSpec kHeaderFont{1200, true};

inline constexpr std::size_t kEntryCount = 35;
inline constexpr std::size_t kGroupCount = 7;

// Catalogue order: the order the boxes are read into the block flags.
extern const std::array<CatalogueEntry, kEntryCount> kCatalogue;
extern const std::array<GroupHeader, kGroupCount> kGroupHeaders;

// Catalogue indexes (0-based) in settings-bag order.
const std::array<std::size_t, kEntryCount>& BagOrder();

// Members of a group, in the order a header click sets them (top to bottom in
// the window). The first member is the deciding box.
struct GroupMembers {
  std::array<std::size_t, kEntryCount> index;
  std::size_t count;
  const std::size_t* begin() const { return index.data(); }
  const std::size_t* end() const { return index.data() + count; }
};
GroupMembers MembersOf(Group group);

}  // namespace qx
