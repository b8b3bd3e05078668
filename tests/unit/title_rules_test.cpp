// Which program titles may name the compiled blocker, and the reason shown
// for those that may not.
#include "builder/title_rules.h"

#include <gtest/gtest.h>

#include <vector>

namespace qx {
namespace {

constexpr wchar_t kFolder[] = L"C:\\Program Files\\Quellanix";

TEST(TitleRules, AcceptedTitlesAndTheReasonForEachRefusal) {
  const std::size_t fits = kMaxBlockerPath - std::size(kFolder) + 1 - 1 - 4;
  // clang-format off
  // A part of the reason; nullptr: accepted.
  const struct { const wchar_t* reason; std::vector<std::wstring> titles; } cases[] = {
      {nullptr, {L"Brindlecor", L"My Blocker", L"   ", L"a.exe", L"sub\\Blocker", L"x.y.z", L"dir\\"}},
      {nullptr, {L"CONSOLE", L"COM10", L"LPT0", L"BON", L"\u00fcber", std::wstring(fits, L'a')}},
      {L"would be 260 characters", {std::wstring(fits + 1, L'a')}},
      {L"the character \"?\"", {L"a?b"}}, {L"the character \"*\"", {L"*"}},
      {L"the character \"", {L"a<b", L"a|b", L"a/b", L"a:b"}},
      {L"control character", {std::wstring(L"nul\0x", 5), L"unit\x1Fsep", L"tab\there", L"\x7f"}},
      {L"reserves for a device", {L"con", L"NUL.txt", L"CON .x", L"sub\\aux", L"COM\u00B9"}},
      {L"reserves for a device", {L"com9.exe", L"LPT9", L"lpt1", L"conout$", L"Prn", L"conin$"}},
      {L"ends in a dot or a space", {L"dir.\\x", L"  \\x"}}, {L"empty folder name", {L"a\\\\b"}},
      {L"leave the application folder", {L"..\\x"}}, {L"may not begin with", {L"\\Windows\\x"}},
  };
  // clang-format on
  for (const auto& c : cases) {
    for (const std::wstring& title : c.titles) {
      const auto why = TitleProblem(kFolder, title);
      const std::string shown = testing::PrintToString(title) + ": " + testing::PrintToString(why);
      EXPECT_TRUE(c.reason ? why && why->find(c.reason) != std::wstring::npos : !why) << shown;
    }
  }
}

}  // namespace
}  // namespace qx
