// Which program titles may name the compiled blocker.
#include <gtest/gtest.h>

#include "builder/title_rules.h"

namespace qx {
namespace {

constexpr wchar_t kFolder[] = L"C:\\Program Files\\Quellanix";

bool Accepted(std::wstring_view title) { return !TitleProblem(kFolder, title).has_value(); }

TEST(TitleRules, OrdinaryTitlesSubfoldersSpacesAndExeAreAccepted) {
  for (const wchar_t* t : {L"Brindlecor", L"svchost", L"My Blocker", L"   ", L" lead", L"a.exe",
                           L"sub\\Blocker", L"a\\b\\c", L"dir\\", L"x.y.z", L"CONSOLE", L"COM10",
                           L"LPT0", L"NULL.txt", L"über", L"con-man"}) {
    EXPECT_TRUE(Accepted(t)) << t;
  }
}

TEST(TitleRules, CharactersWindowsCannotHoldAreRefusedWithTheReason) {
  for (const wchar_t* t : {L"a<b", L"a>b", L"a:b", L"a\"b", L"a/b", L"a|b", L"a?b", L"a*b",
                           L"tab\there", L"new\nline", L"\x7f"}) {
    const auto why = TitleProblem(kFolder, t);
    ASSERT_TRUE(why.has_value()) << t;
    EXPECT_FALSE(why->empty());
  }
  EXPECT_NE(TitleProblem(kFolder, L"a?b")->find(L"\"?\""), std::wstring::npos);
}

TEST(TitleRules, ReservedDeviceNamesAnyCaseWithOrWithoutExtension) {
  for (const wchar_t* t :
       {L"CON", L"con", L"Prn", L"AUX", L"nul", L"COM1", L"com9", L"LPT1", L"lpt9", L"CONIN$",
        L"conout$", L"NUL.txt", L"CON .x", L"sub\\aux", L"COM\u00B9", L"aux\\x"}) {
    const auto why = TitleProblem(kFolder, t);
    ASSERT_TRUE(why.has_value()) << t;
    EXPECT_NE(why->find(L"device"), std::wstring::npos) << t;
  }
}

TEST(TitleRules, FolderSegmentsMayNotEndInDotOrSpaceOrLeaveTheFolder) {
  for (const wchar_t* t : {L"dir.\\x", L"dir \\x", L"  \\x", L".\\x", L"..\\x", L"sub\\..\\..\\x",
                           L"\\Windows\\x", L"\\\\server\\share\\x", L"a\\\\b"}) {
    EXPECT_FALSE(Accepted(t)) << t;
  }
  EXPECT_NE(TitleProblem(kFolder, L"..\\x")->find(L"leave"), std::wstring::npos);
}

TEST(TitleRules, FullPathLongerThan259IsRefused) {
  const std::wstring folder(kFolder);
  const std::size_t fits = kMaxBlockerPath - folder.size() - 1 - 4;
  EXPECT_TRUE(Accepted(std::wstring(fits, L'a')));
  const auto why = TitleProblem(kFolder, std::wstring(fits + 1, L'a'));
  ASSERT_TRUE(why.has_value());
  EXPECT_NE(why->find(L"260"), std::wstring::npos);
}

}  // namespace
}  // namespace qx
