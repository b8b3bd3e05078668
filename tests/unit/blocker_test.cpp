// What the blocker recognises, stops and records.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "blocker/activity_log.h"
#include "blocker/lockout.h"
#include "blocker/password_check.h"
#include "blocker/signatures.h"
#include "cipher/text_cipher.h"

namespace qx::blocker {
namespace {

TEST(Signatures, EveryProgramKeyHasNamesAndNoNameBelongsToTwoKeys) {
  std::set<std::string_view> keys;
  std::set<std::wstring_view> names;
  std::size_t count = 0;
  for (const Signature& s : Signatures()) {
    ASSERT_TRUE(IndexOfKey(s.key)) << s.key;
    keys.insert(s.key);
    EXPECT_FALSE(s.names.empty()) << s.key;
    for (std::wstring_view n : s.names) {
      ++count;
      names.insert(n);
      EXPECT_TRUE(n.ends_with(L".exe")) << s.key;
      for (wchar_t c : n) EXPECT_FALSE(c >= L'A' && c <= L'Z') << s.key;  // listed in lower case
    }
  }
  EXPECT_EQ(keys.size(), kEntryCount - 1);  // all but the Run dialog
  EXPECT_FALSE(keys.count("Run"));
  EXPECT_EQ(names.size(), count);
}

TEST(Signatures, AProcessIsStoppedByAnExactNameOfATickedEntryOnly) {
  BlockerSettings s;
  for (const char* key : {"Notepad", "RegEdit", "Command", "Solitaire", "Kazaa"})
    s.block[*IndexOfKey(key)] = true;
  const auto notepad = IndexOfKey("Notepad"), regedit = IndexOfKey("RegEdit");
  // clang-format off
  const struct {
    std::wstring_view image, original;
    bool self;
    std::optional<std::size_t> stopped;
  } cases[] = {
      {L"notepad.exe", L"", false, notepad},
      {L"NOTEPAD.EXE", L"", false, notepad},                     // letter case aside
      {L"KAZAA.EXE", L"", false, IndexOfKey("Kazaa")},         // to the end of the alphabet
      {L"motepad.exe", L"", false, std::nullopt},                // every letter counts
      {L"homework.exe", L"NOTEPAD.EXE", false, notepad},         // a renamed copy
      {L"regedt32.exe", L"", false, regedit},                    // an older name
      {L"C.exe", L"regedit.exe", false, regedit},
      {L"sol.exe", L"", false, IndexOfKey("Solitaire")},
      {L"cmd.exe", L"", false, IndexOfKey("Command")},
      {L"wordpad.exe", L"", false, std::nullopt},                // not ticked
      {L"notepad.exe.exe", L"", false, std::nullopt},            // no partial or fuzzy match
      {L"notepad", L"", false, std::nullopt},
      {L"mynotepad.exe", L"notepad.ex", false, std::nullopt},
      {L"explorer.exe", L"EXPLORER.EXE", false, std::nullopt},
      {L"conhost.exe", L"conhost.exe", false, std::nullopt},
      {L"notepad.exe", L"", true, std::nullopt},                 // never this process
      {L"notepad.exe", L"Quellanix.exe", false, std::nullopt},   // never the configurator
      {L"cmd.exe", L"QUELLANIX.EXT", false, std::nullopt},       // never a blocker
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(EntryToStop(s, {c.image, c.original, c.self}), c.stopped)
        << testing::PrintToString(std::wstring(c.image)) << " / "
        << testing::PrintToString(std::wstring(c.original));
  }
  EXPECT_EQ(EntryToStop(BlockerSettings{}, {L"notepad.exe", L"", false}), std::nullopt);
}

TEST(Lockout, TheDelayDoublesFromOneSecondUpToAMinute) {
  const int expected[] = {0, 1, 2, 4, 8, 16, 32, 60, 60, 60};
  for (int failures = 0; failures < 10; ++failures) {
    EXPECT_EQ(DelayAfterFailures(failures).count(), expected[failures]) << failures;
  }
  EXPECT_EQ(DelayAfterFailures(1000).count(), 60);
}

TEST(PasswordCheck, OnlyTheConfiguratorsPasswordInItsCodePageMatches) {
  for (const std::string& password : {std::string("secret"), std::string("p\xE9\xFF w"),
                                      std::string(40, 'x'), std::string("Secret 42")}) {
    const std::string stored = EncryptText(kCipherKey, password);
    EXPECT_TRUE(PasswordMatches(stored, password)) << password;
    EXPECT_FALSE(PasswordMatches(stored, password + " ")) << password;
    EXPECT_FALSE(PasswordMatches(stored, password.substr(1))) << password;
    EXPECT_FALSE(PasswordMatches(stored, std::nullopt)) << password;  // not typeable
  }
  EXPECT_FALSE(PasswordMatches(EncryptText(kCipherKey, "secret"), std::string("Secret")));
  EXPECT_FALSE(PasswordMatches("", std::string()));  // no password stored: no match either
}

TEST(ActivityLog, OneLinePerProgramAndTheOlderHalfDroppedAtTheCap) {
  EXPECT_EQ(LogLine({2026, 12, 7, 9, 3, 5}, L"Notepad", L"C:\\windows\\n\u00f6tepad.exe"),
            "2026-12-07 09:03:05  Notepad  C:\\windows\\n\xC3\xB6tepad.exe\r\n");
  std::string log;
  const std::string line(100, 'x');
  for (int i = 0; i < 100; ++i) log = AppendToLog(log, std::to_string(i) + line + "\r\n", 2000);
  EXPECT_LT(log.size(), 2000u);
  EXPECT_EQ(log.substr(log.find_first_not_of("0123456789"), 102), line + "\r\n");  // whole lines
  EXPECT_TRUE(log.ends_with("99" + line + "\r\n"));  // the newest kept
  EXPECT_GT(log.size(), 900u);                       // only about half dropped
}

}  // namespace
}  // namespace qx::blocker
