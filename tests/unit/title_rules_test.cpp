// Which program titles may name the compiled blocker, and the reason shown
// for those that may not.
#include "builder/title_rules.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

constexpr wchar_t kFolder[] = L"C:\\Program Files\\Quellanix";

TEST(TitleRules, AcceptedTitlesAndTheReasonForEachRefusal) {
  const std::size_t fits = kMaxBlockerPath - std::size(kFolder) + 1 - 1 - 4;
  // clang-format off
  const struct {
    std::wstring title;
    const wchar_t* reason;  // a part of the reason; nullptr: accepted
  } cases[] = {
      {L"Brindlecor", nullptr},
      {L"My Blocker", nullptr},
      {L"   ", nullptr},
      {L"a.exe", nullptr},
      {L"sub\\Blocker", nullptr},
      {L"x.y.z", nullptr},
      {L"CONSOLE", nullptr},
      {L"COM10", nullptr},
      {L"LPT0", nullptr},
      {L"\u00fcber", nullptr},
      {L"dir\\", nullptr},
      {std::wstring(fits, L'a'), nullptr},
      {std::wstring(fits + 1, L'a'), L"would be 260 characters"},
      {L"a?b", L"the character \"?\""},
      {L"a<b", L"the character \"<\""},
      {L"a|b", L"the character \"|\""},
      {L"a/b", L"the character \"/\""},
      {L"a:b", L"the character \":\""},
      {std::wstring(L"nul\0x", 5), L"control character"},
      {L"unit\x1Fsep", L"control character"},
      {L"tab\there", L"control character"},
      {L"\x7f", L"control character"},
      {L"con", L"reserves for a device"},
      {L"NUL.txt", L"reserves for a device"},
      {L"CON .x", L"reserves for a device"},
      {L"sub\\aux", L"reserves for a device"},
      {L"COM\u00B9", L"reserves for a device"},
      {L"com9.exe", L"reserves for a device"},
      {L"LPT9", L"reserves for a device"},
      {L"conout$", L"reserves for a device"},
      {L"dir.\\x", L"ends in a dot or a space"},
      {L"  \\x", L"ends in a dot or a space"},
      {L"..\\x", L"leave the application folder"},
      {L"\\Windows\\x", L"may not begin with"},
      {L"a\\\\b", L"empty folder name"},
  };
  // clang-format on
  for (const auto& c : cases) {
    const auto why = TitleProblem(kFolder, c.title);
    if (!c.reason) {
      EXPECT_FALSE(why) << testing::PrintToString(c.title) << ": " << testing::PrintToString(*why);
    } else {
      ASSERT_TRUE(why) << testing::PrintToString(c.title);
      EXPECT_NE(why->find(c.reason), std::wstring::npos)
          << testing::PrintToString(c.title) << ": " << testing::PrintToString(*why);
    }
  }
}

}  // namespace
}  // namespace qx
