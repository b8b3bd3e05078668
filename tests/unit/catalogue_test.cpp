#include "app/catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace qx {
namespace {

TEST(Catalogue, BagOrderDiffersFromCatalogueOrderOnlyInRemoteDesktop) {
  const auto& bag = BagOrder();
  std::vector<std::string> in_bag;
  for (std::size_t i : bag) in_bag.emplace_back(kCatalogue[i].bag_key);
  // Remote Desktop is read 24th and written 35th; everything else keeps its place.
  EXPECT_EQ(kCatalogue[23].control, "chkRemoteDesktop");
  EXPECT_EQ(in_bag.back(), "RemoteDesktop");
  EXPECT_EQ(in_bag[22], "Wordpad");
  EXPECT_EQ(in_bag[23], "Freecell");
  EXPECT_EQ(in_bag[33], "Run");
  std::vector<std::string> expected;
  for (std::size_t i = 0; i < kEntryCount; ++i) {
    if (i != 23) expected.emplace_back(kCatalogue[i].bag_key);
  }
  expected.emplace_back("RemoteDesktop");
  EXPECT_EQ(in_bag, expected);
}

TEST(Catalogue, KeysControlsAndPositionsAreUniqueAndSpelledAsStored) {
  std::set<std::string_view> keys, controls;
  std::set<int> positions, tabs;
  for (const auto& e : kCatalogue) {
    keys.insert(e.bag_key);
    controls.insert(e.control);
    positions.insert(e.bag_position);
    tabs.insert(e.tab_order);
  }
  for (const auto& h : kGroupHeaders) {
    controls.insert(h.control);
    tabs.insert(h.tab_order);
  }
  EXPECT_EQ(keys.size(), kEntryCount);
  EXPECT_EQ(controls.size(), kEntryCount + kGroupCount);
  EXPECT_EQ(positions.size(), kEntryCount);
  EXPECT_EQ(*positions.begin(), 1);
  EXPECT_EQ(*positions.rbegin(), 35);
  EXPECT_EQ(tabs.size(), kEntryCount + kGroupCount);
  // Keys do not follow the captions or control names.
  const std::set<std::string_view> odd{"Aim",        "Ie",  "TaskManager", "MSConfig", "Spider",
                                       "Bittorrent", "Msn", "Icq",         "RegEdit",  "Limewire"};
  for (auto k : odd) EXPECT_TRUE(keys.count(k)) << k;
  EXPECT_TRUE(controls.count("ChkLimewire"));
}

TEST(Catalogue, GroupsPartitionTheCatalogueWithRemoteDesktopAlone) {
  const std::pair<Group, std::vector<std::string_view>> groups[] = {
      {Group::P2P,
       {"chkKazaa", "chkEmule", "chkEdonkey", "ChkLimewire", "chkOvernet", "chkAzureus", "chkBurst",
        "chkBitTorrent", "chkAbc", "chkBitComet", "chkAres"}},
      {Group::Messenger,
       {"chkMirc", "chkMSN", "chkWindows", "chkYahoo", "chkICQ", "chkAol", "chkTrillian"}},
      {Group::Internet, {"chkIE", "chkFirefox"}},
      {Group::Burning, {"chkNero"}},
      {Group::Misc, {"chkNotepad", "chkWordpad"}},
      {Group::Games,
       {"chkFreecell", "chkHearts", "chkMinesweeper", "chkPinball", "chkSolitaire", "chkSpider"}},
      {Group::System, {"chkRegedit", "chkTask", "chkMsconfig", "chkCommand", "chkRun"}},
  };
  std::size_t total = 0;
  for (const auto& [group, names] : groups) {
    std::vector<std::string_view> got;
    for (std::size_t i : MembersOf(group)) got.push_back(kCatalogue[i].control);
    EXPECT_EQ(got, names);  // window order: chkAres last in P2P
    total += got.size();
  }
  EXPECT_EQ(total, kEntryCount - 1);
  EXPECT_EQ(MembersOf(Group::None).count, 1u);
  EXPECT_EQ(kCatalogue[*MembersOf(Group::None).begin()].control, "chkRemoteDesktop");
}

}  // namespace
}  // namespace qx

namespace qx {
namespace {

TEST(Layout, EveryRectangleIsWholePixelsAt96DpiAndScalesWithTheDpi) {
  auto check = [](const TwipsRect& r) {
    for (int v : {r.left, r.top, r.width, r.height}) {
      EXPECT_EQ(v % 15, 0) << v;
      EXPECT_EQ(TwipsToPixels(v, 96), v / 15);
      EXPECT_EQ(TwipsToPixels(v, 192), 2 * (v / 15));
    }
  };
  for (const auto& e : kCatalogue) check(e.rect);
  for (const auto& h : kGroupHeaders) check(h.rect);
  EXPECT_EQ(TwipsToPixels(375, 144), 38);  // 37.5 rounds up
  EXPECT_EQ(TwipsToPixels(9780, 96), 652);
  EXPECT_EQ(TwipsToPixels(8070, 96), 538);
}

}  // namespace
}  // namespace qx
