#pragma once
// The fixed catalogue of the 35 applications a blocker can be told to block, and
// the seven groups whose headers toggle them. The window, the block flags, the
// toggles, the settings-bag order and the blocker's signatures all derive from
// these tables; where a box sits on screen is the window's business.
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace qx {

enum class Group { P2P, Messenger, Internet, Burning, Misc, Games, System, None };

struct CatalogueEntry {
  std::string_view control;   // check-box control name
  std::wstring_view caption;  // text beside the box
  Group group;
  std::string_view bag_key;  // Boolean property name in the settings bag
  int bag_position;          // 1..35: where it is written in the bag
};

struct GroupHeader {
  Group group;
  std::string_view control;
  std::wstring_view caption;
  std::string_view deciding_key;  // the member whose state a header click reads
};

inline constexpr std::size_t kEntryCount = 35;
inline constexpr std::size_t kGroupCount = 7;

// Catalogue order: the order the boxes are read into the block flags.
extern const std::array<CatalogueEntry, kEntryCount> kCatalogue;
extern const std::array<GroupHeader, kGroupCount> kGroupHeaders;

// Catalogue indexes (0-based) in settings-bag order.
const std::array<std::size_t, kEntryCount>& BagOrder();

// The catalogue index of the entry with this bag key (exact case).
std::optional<std::size_t> IndexOfKey(std::string_view bag_key);

}  // namespace qx
