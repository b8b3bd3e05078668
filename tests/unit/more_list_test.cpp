// The More Applications dialog's choices: what is added and how it is shown,
// what is refused and why, and what a compile writes.
#include "app/more_list.h"

#include <gtest/gtest.h>

#include <string>

namespace qx {
namespace {

ProgramFile File(std::wstring name, std::wstring description = L"", std::wstring product = L"",
                 std::wstring original = L"", bool is_program = true) {
  return {name, is_program, description, product, original};
}

TEST(MoreList, AddsShownByDescriptionProductOrNameAndRefusesWithTheReason) {
  MoreChoices c;
  // clang-format off
  const struct { ProgramFile file; std::wstring refusal; AddedProgram added; } cases[] = {
      {File(L"fn.exe", L" Fortnite ", L"Epic", L"FortniteClient.exe"), L"", {L"Fortnite", L"fn.exe", L"FortniteClient.exe"}},
      {File(L"Chat.exe", L"", L"Chatty", L"electron.exe"), L"", {L"Chatty", L"Chat.exe", L""}},
      {File(L"x.exe"), L"", {L"x.exe", L"x.exe", L""}},
      {File(L"FN.EXE"), L"Fortnite (fn.exe) is already in the list.", {}},
      {File(L"copy.exe", L"", L"", L"fortniteclient.EXE"), L"Fortnite (fn.exe) is already in the list.", {}},
      {File(L"X.exe", L"Other"), L"x.exe is already in the list.", {}},
      {File(L"notes.txt", L"", L"", L"", false), L"\"notes.txt\" is not a Windows program, so it cannot be blocked. Choose a program file (.exe).", {}},
      {File(L"mc.exe", L"Minecraft", L"", L"javaw.exe"), L"", {L"Minecraft", L"mc.exe", L""}},
      {File(L"host.exe", L"", L"", L"RunDll32.exe"), L"host.exe runs many different programs, so blocking it would stop more than you chose. Add the program itself instead.", {}},
      {File(L"javaw.exe"), L"javaw.exe runs many different programs, so blocking it would stop more than you chose. Add the program itself instead.", {}},
      {File(L"explorer.exe"), L"explorer.exe is part of Windows: stopping it would break the child's desktop, so Quellanix does not block it.", {}},
      {File(L"Guard.exe", L"", L"", L"quellanix.ext"), L"Guard.exe is Quellanix, its blocker template or a blocker compiled with it, which cannot block itself.", {}},
  };
  // clang-format on
  std::vector<ListedProgram> expected;
  for (const auto& k : cases) {
    const auto refusal = AddProgram(c, k.file);
    EXPECT_EQ(refusal.value_or(L""), k.refusal);
    if (!refusal) expected.push_back({k.added, true});
    EXPECT_EQ(c.added, expected) << testing::PrintToString(k.file.file_name);
  }
  // Up to the limit, then refused; the unticked are not chosen.
  while (c.added.size() < kMaxAddedPrograms)
    ASSERT_FALSE(AddProgram(c, File(std::to_wstring(c.added.size()) + L".exe")));
  EXPECT_TRUE(AddProgram(c, File(L"1.exe"))->starts_with(L"The list already holds 30 programs"));
  c.added[1].ticked = false;
  c.common[0] = c.common[14] = true;
  const MoreSettings chosen = c.Chosen();
  EXPECT_EQ(chosen.common, (std::vector<std::size_t>{0, 14}));
  ASSERT_EQ(chosen.added.size(), kMaxAddedPrograms - 1);
  EXPECT_EQ(chosen.added[1].file_name, L"x.exe");
}

TEST(MoreList, ATypedNameIsAPlainProgramFileName) {
  // clang-format off
  const struct { std::wstring_view typed, file; } cases[] = {
      {L" Fortnite ", L"Fortnite.exe"}, {L"Game.EXE", L"Game.EXE"}, {L"a.b.exe", L"a.b.exe"},
      {L"notes.txt", L""}, {L".exe", L""}, {L"C:\\Games\\x.exe", L""}, {L"a/b.exe", L""},
      {L"a?.exe", L""}, {L"a\tb.exe", L""}, {L"", L""}, {L"My Game", L"My Game.exe"},
  };
  // clang-format on
  for (const auto& c : cases)
    EXPECT_EQ(TypedProgram(c.typed).value_or(ProgramFile{}).file_name, c.file) << c.file.size();
  EXPECT_TRUE(TypedProgram(L"Game")->is_program);  // added as it is, not refused as no program
}

TEST(MoreList, AHeaderTicksOrClearsItsGroupAsItsFirstBoxDecides) {
  MoreChoices c;
  c.common[1] = true;  // Chrome; Edge, the first of the browsers, is clear
  ToggleGroup(c, MoreGroup::Browsers);
  EXPECT_TRUE(c.common[0] && c.common[1] && c.common[4] && !c.common[5]);
  c.common[1] = false;
  ToggleGroup(c, MoreGroup::Browsers);
  EXPECT_TRUE(c.Chosen().common.empty());
}

TEST(MoreList, OnlyAnExecutableImageIsAProgram) {
  // "MZ", the PE header's offset at 0x3C, "PE\0\0" there and 0x0002 (executable) 22 bytes on.
  const std::string exe = "MZ" + std::string(0x3A, '\0') + "\x80" + std::string(0x43, '\0') +
                          std::string("PE\0\0", 4) + std::string(18, '\0') + "\x02" + '\0';
  auto with = [&](std::size_t at, std::string bytes) {
    return std::string(exe).replace(at, bytes.size(), bytes);
  };
  // Relocations stripped; a DLL, not executable, no "MZ", no "PE", the header
  // elsewhere or running past the end, a file cut short.
  // clang-format off
  const struct { std::string bytes; bool program; } cases[] = {
      {exe, true}, {with(0x80 + 22, "\x03"), true}, {with(0x80 + 23, "\x20"), false},
      {with(0x80 + 22, "\x01"), false}, {with(0, "ZM"), false}, {with(0x80, "PF"), false},
      {with(0x3C, "\x70"), false}, {with(0x3C, "\x81"), false}, {exe.substr(0, 63), false},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(IsWindowsProgram(MemorySource(c.bytes)), c.program);
}

}  // namespace
}  // namespace qx
