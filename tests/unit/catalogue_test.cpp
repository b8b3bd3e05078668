#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

// What the bag order, the group toggles and key look-ups rely on.
TEST(Catalogue, KeysArePositionedOnceAndEveryGroupDecidesByOneOfItsOwnMembers) {
  for (std::size_t i = 0; i < kEntryCount; ++i) {
    const CatalogueEntry& e = kCatalogue[i];
    EXPECT_EQ(BagOrder().at(e.bag_position - 1), i) << e.bag_key;  // positions 1 to 35, once each
    EXPECT_EQ(IndexOfKey(e.bag_key), i) << e.bag_key;              // unique keys
  }
  for (const GroupHeader& h : kGroupHeaders) {
    const auto deciding = IndexOfKey(h.deciding_key);
    ASSERT_TRUE(deciding) << h.control;
    EXPECT_EQ(kCatalogue[*deciding].group, h.group) << h.control;
  }
  EXPECT_FALSE(IndexOfKey("notepad"));  // keys are exact
}

}  // namespace
}  // namespace qx
