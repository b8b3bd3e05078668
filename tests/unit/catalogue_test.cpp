#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <set>

namespace qx {
namespace {

// What the bag order, the group toggles and key look-ups rely on.
TEST(Catalogue, KeysArePositionedOnceAndEveryGroupDecidesByOneOfItsOwnMembers) {
  std::set<int> positions;
  for (std::size_t i = 0; i < kEntryCount; ++i) {
    positions.insert(kCatalogue[i].bag_position);
    EXPECT_EQ(IndexOfKey(kCatalogue[i].bag_key), i) << kCatalogue[i].bag_key;  // unique keys
  }
  EXPECT_EQ(positions.size(), kEntryCount);
  EXPECT_EQ(*positions.begin(), 1);
  EXPECT_EQ(*positions.rbegin(), static_cast<int>(kEntryCount));
  for (const GroupHeader& h : kGroupHeaders) {
    const auto deciding = IndexOfKey(h.deciding_key);
    ASSERT_TRUE(deciding) << h.control;
    EXPECT_EQ(kCatalogue[*deciding].group, h.group) << h.control;
  }
  EXPECT_FALSE(IndexOfKey("notepad"));  // keys are exact
  // Remote Desktop is read 24th but written last; the others keep their order.
  EXPECT_EQ(kCatalogue[BagOrder().back()].bag_key, "RemoteDesktop");
  EXPECT_EQ(BagOrder()[23], *IndexOfKey("Freecell"));
}

}  // namespace
}  // namespace qx
