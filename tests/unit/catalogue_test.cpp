#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include "catalogue/more_programs.h"

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

// By file name and by original name, letter case aside; only whole names (the
// add tests of the More list decide the rest).
TEST(MorePrograms, RefusesHostsWindowsItselfAndQuellanixByEitherName) {
  using enum Refusal;
  // clang-format off
  const struct { std::wstring_view file, original; Refusal refusal; } cases[] = {
      {L"game.exe", L"Game.exe", None},        {L"javaw.exe", L"", GenericHost},
      {L"shell.exe", L"Explorer.exe", Windows}, {L"Quellanix.EXE", L"", Quellanix},
      {L"xexplorer.exe", L"explorer.ex", None},
  };
  // clang-format on
  for (const auto& c : cases)
    EXPECT_EQ(RefusalOf(c.file, c.original), c.refusal) << testing::PrintToString(c.file);
}

}  // namespace
}  // namespace qx
