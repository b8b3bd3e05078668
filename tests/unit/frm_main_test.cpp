#include "app/frm_main.h"

#include <gtest/gtest.h>

#include "tests/support/fake_runtime.h"

namespace qx {
namespace {

std::size_t IndexOf(std::string_view control) {
  for (std::size_t i = 0; i < kEntryCount; ++i) {
    if (kCatalogue[i].control == control) return i;
  }
  ADD_FAILURE() << control;
  return 0;
}

struct MainFixture : ::testing::Test {
  test::FakeRuntime fake;
  PublicValues values;
  test::FakeView view;
  frmMain form{fake.rt, values, view};
};

TEST_F(MainFixture, LoadSetsTheCipherKeyAndNothingElse) {
  form.Form_Load();
  EXPECT_EQ(values.CipherKey, L"*#tkqa71wzrvo#*");
  EXPECT_TRUE(view.set_order.empty());
  EXPECT_TRUE(fake.dialogs.boxes.empty());
}

TEST_F(MainFixture, DecidingBoxAloneDecides) {
  const auto p2p = MembersOf(Group::P2P);
  // Only Kazaa ticked: a click clears it and the rest stay clear.
  view.values[IndexOf("chkKazaa")] = 1;
  form.HeaderClick(Group::P2P);
  for (std::size_t i : p2p) EXPECT_EQ(view.values[i], 0);
  // Everything but Kazaa ticked: a click ticks Kazaa and the rest stay ticked.
  for (std::size_t i : p2p) view.values[i] = 1;
  view.values[IndexOf("chkKazaa")] = 0;
  view.set_order.clear();
  form.HeaderClick(Group::P2P);
  for (std::size_t i : p2p) EXPECT_EQ(view.values[i], 1);
  // Members are set top to bottom: Ares last.
  ASSERT_EQ(view.set_order.size(), 11u);
  EXPECT_EQ(view.set_order.front(), IndexOf("chkKazaa"));
  EXPECT_EQ(view.set_order.back(), IndexOf("chkAres"));
}

TEST_F(MainFixture, TwoClicksClearTheGroupAndNoOtherBoxMoves) {
  view.values[IndexOf("chkRemoteDesktop")] = 1;
  view.values[IndexOf("chkIE")] = 1;
  for (const auto& h : kGroupHeaders) {
    if (h.group == Group::Internet) continue;
    auto before = view.values;
    form.HeaderClick(h.group);
    for (std::size_t i = 0; i < kEntryCount; ++i) {
      if (kCatalogue[i].group == h.group) {
        EXPECT_EQ(view.values[i], 1) << kCatalogue[i].control;
      } else {
        EXPECT_EQ(view.values[i], before[i]) << kCatalogue[i].control;
      }
    }
    form.HeaderClick(h.group);
    for (std::size_t i : MembersOf(h.group)) EXPECT_EQ(view.values[i], 0);
  }
  EXPECT_EQ(view.values[IndexOf("chkRemoteDesktop")], 1);
  EXPECT_EQ(view.values[IndexOf("chkIE")], 1);
}

TEST_F(MainFixture, DefineVariablesTreatsAnyNonZeroValueAsTrue) {
  view.values[IndexOf("chkAres")] = 1;
  view.values[IndexOf("chkRemoteDesktop")] = 2;  // grey
  form.DefineVariables();
  for (std::size_t i = 0; i < kEntryCount; ++i) {
    const bool on = kCatalogue[i].control == "chkAres" || kCatalogue[i].control == "chkRemoteDesktop";
    EXPECT_EQ(values.block[i], on ? vbTrue : vbFalse) << kCatalogue[i].control;
  }
  EXPECT_TRUE(view.set_order.empty());
  // The flags do not follow the boxes until the next call.
  view.values[IndexOf("chkAres")] = 0;
  EXPECT_EQ(values.block[IndexOf("chkAres")], vbTrue);
}

TEST_F(MainFixture, MenuActionsUseTheApplicationFolderUnquoted) {
  form.mnuOpenApp_Click();
  form.mnuIndex_Click();
  ASSERT_EQ(fake.processes.shell_calls.size(), 1u);
  EXPECT_EQ(fake.processes.shell_calls[0], L"explorer.exe C:\\Program Files\\Quellanix");
  ASSERT_EQ(fake.processes.opened_documents.size(), 1u);
  EXPECT_EQ(fake.processes.opened_documents[0], L"C:\\Program Files\\Quellanix\\quellanix.chm");
  form.mnuExit_Click();
  form.mnuAbout_Click();
  EXPECT_EQ(view.ended, 1);
  EXPECT_EQ(view.about_shown, 1);
}

}  // namespace
}  // namespace qx
