// What the blocker decides about stop requests, its start at logon and its log.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "blocker/activity_log.h"
#include "blocker/logon_name.h"
#include "blocker/session.h"
#include "blocker/stop_protocol.h"
#include "cipher/text_cipher.h"
#include "common/failure.h"

namespace qx::blocker {
namespace {

const LocalTime kWhen{2026, 12, 7, 9, 3, 5};  // of every line logged here

TEST(StopPayload, OnlyAWholePayloadIsReadAndEveryPasswordComesBack) {
  for (const std::string& password :
       {std::string(), std::string("secret"), std::string("a\0b", 3), std::string(300, 'x')}) {
    const std::vector<unsigned char> payload = StopPayload(password);
    EXPECT_EQ(ReadStopPayload(payload.data(), payload.size()), password) << password.size();
  }
  const unsigned char six[] = {6, 0, 0, 0, 's', 'e', 'c', 'r', 'e', 't'};
  // clang-format off
  const struct { const void* data; std::size_t size; } refused[] = {
      {nullptr, 0}, {nullptr, 10}, {six, 0}, {six, 3},  // missing or short
      {six, 9},                                         // shorter than it says
      {"\x06\0\0\0secrets", 11},                        // longer than it says
      {"\xff\xff\xff\xff", 4},
  };
  // clang-format on
  for (const auto& r : refused) EXPECT_EQ(ReadStopPayload(r.data, r.size), std::nullopt) << r.size;
  EXPECT_EQ(ReadStopPayload(six, sizeof six), "secret");  // four bytes of length, then the text
  // A reply to the second start, as a window's answer carries it.
  for (const StopReply r : {StopReply{StopAnswer::Wrong, 2}, {StopAnswer::Wait, 59}})
    EXPECT_TRUE(Decode(Encode(r)).answer == r.answer && Decode(Encode(r)).seconds == r.seconds);
}

TEST(StopRequest, GoesOnlyToAWindowWhoseProcessRunsThisFile) {
  const FileId self{1, 10}, other{1, 11}, same_index_elsewhere{2, 10};
  using C = StartChoice;
  // clang-format off
  const struct { std::vector<std::optional<FileId>> windows; bool other_process, late; decltype(C::step) step; std::size_t window; } cases[] = {
      {{}, false, false, C::kBlock, 0},                  // a squatted mutex, nothing of this file
      {{}, true, false, C::kLookAgain, 0},               // a blocker still starting
      {{}, true, true, C::kBlock, 0},                    // ... or a box left open
      {{other, same_index_elsewhere}, false, false, C::kBlock, 0},  // posers
      {{other, std::nullopt}, true, false, C::kLookAgain, 0}, {{self, self}, true, true, C::kAsk, 0},
      {{other, std::nullopt, self}, false, false, C::kAsk, 2},
  };
  // clang-format on
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    const StartChoice got = ChooseStart(self, c.windows, c.other_process, c.late);
    EXPECT_EQ(got.step, c.step) << i;
    EXPECT_EQ(got.step == C::kAsk ? got.window : 0, c.window) << i;
  }
}

TEST(LogonName, NeverTakesAnotherProgramsValueAndKeepsItsOwn) {
  using V = ValueOwner;
  // The values named, every other name owned by `rest`.
  // clang-format off
  const struct { std::map<std::wstring, V> values; V rest; std::optional<std::wstring> name; } cases[] = {
      {{}, V::kNone, L"Guard"},
      {{{L"Guard", V::kOurs}}, V::kNone, L"Guard"},
      {{{L"Guard", V::kOther}}, V::kNone, L"Guard (2)"},
      {{{L"Guard", V::kOther}, {L"Guard (2)", V::kOther}}, V::kNone, L"Guard (3)"},
      {{{L"Guard (2)", V::kOurs}}, V::kNone, L"Guard (2)"},  // not a second start at logon
      {{{L"Guard", V::kOther}, {L"Guard (3)", V::kOurs}}, V::kNone, L"Guard (3)"},
      {{{L"Guard (10)", V::kNone}}, V::kOther, L"Guard (10)"},  // up to the tenth choice
      {{{L"Guard (11)", V::kNone}}, V::kOther, std::nullopt},   // and no further
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(ChooseLogonName(L"Guard",
                              [&](const std::wstring& n) {
                                const auto it = c.values.find(n);
                                return it == c.values.end() ? c.rest : it->second;
                              }),
              c.name);
  }
}

// Records what the session asks for, in order.
struct Host : SessionHost {
  std::string calls;
  bool removal_fails = false;
  void StopWatches() override { calls += "watches off|"; }
  void RemoveLogonValues() override {
    if (removal_fails) throw Failure(L"Could not remove", L"denied");
    calls += "logon removed|";
  }
  void Log(const std::string& line) override { calls += line.substr(21) + "|"; }
};

TEST(Session, WrongPasswordsHoldTheNextAttemptBackAndTheRightOneLetsGoInOrder) {
  Session session(EncryptText(kCipherKey, "secret"));
  Host host;
  using A = StopAnswer;
  // clang-format off
  const struct { Millis now; const char* typed; A answer; int seconds; } steps[] = {
      {0, "x", A::Wrong, 1},
      {1, "secret", A::Wait, 1}, {999, "secret", A::Wait, 1},  // the right one waits too
      {1000, "y", A::Wrong, 2}, {1001, "y", A::Wait, 2}, {2000, "y", A::Wait, 1},
      {3000, "Secret", A::Wrong, 4},
      {7000, "secret", A::Stopped, 0},
  };
  // clang-format on
  for (const auto& s : steps) {
    const StopReply reply = session.Answer(s.typed, s.now, kWhen, host);
    EXPECT_EQ(reply.answer, s.answer) << s.now;
    EXPECT_EQ(reply.seconds, s.seconds) << s.now;
    EXPECT_EQ(session.stopping(), s.answer == A::Stopped) << s.now;
  }
  EXPECT_EQ(host.calls,
            "Wrong password  1 in a row\r\n|Wrong password  2 in a row\r\n|Wrong password  3 in a "
            "row\r\n|watches off|logon removed|Stopped with the password\r\n|");
  // Without a password any answer stops it; a failed removal is kept to say.
  Session open("");
  host.removal_fails = true;
  EXPECT_EQ(open.Answer("", 5, kWhen, host).answer, A::Stopped);
  EXPECT_EQ(open.still_at_logon(), L"Could not remove\n\ndenied");
}

TEST(Session, AWindowBringsOneListCheckAtMostAndNoSoonerThanTheLeastGap) {
  Session session("");
  EXPECT_EQ(Session("").CheckSoon(30), Millis{70});  // the clock's start counts as a check
  session.Checked(1000);
  EXPECT_EQ(session.CheckSoon(1030), Millis{70});
  EXPECT_EQ(session.CheckSoon(1040), std::nullopt);  // one pending
  session.SoonDone();
  session.Checked(1100);
  EXPECT_EQ(session.CheckSoon(1250), Millis{0});
}

TEST(Session, EachDutysFailureIsSaidOnceWithWhatStillHolds) {
  Session session("");
  EXPECT_EQ(session.FirstFailure(Duty::kListCheck, L"R"),
            L"R\n\nPrograms are still stopped when their windows appear.");
  EXPECT_EQ(session.FirstFailure(Duty::kLog, L"L"), L"L");
  EXPECT_EQ(session.FirstFailure(Duty::kListCheck, L"R"), std::nullopt);
}

// What weakens it is told in the password box, from the running blocker's
// answer: this account's rights on its file and folder, its start at logon.
TEST(Session, ThePasswordBoxSaysWhatWeakensIt) {
  using namespace rights;
  // clang-format off
  const struct { std::uint32_t file, folder; bool changeable; } cases[] = {
      {0x1200a9, 0x1200a9, false},  // read and run only
      {kWriteData, 0, true}, {kAppendData, 0, true}, {kDelete, 0, true},
      {kWriteDac, 0, true}, {kWriteOwner, 0, true},
      {0, kDeleteChild, true}, {0, kWriteDac, true}, {0, kWriteOwner, true},
      {0, kWriteData | kAppendData | kDelete, false},  // adding files beside it; its own DELETE
  };
  // clang-format on
  for (const auto& c : cases)
    EXPECT_EQ(AccountCanChange(c.file, c.folder), c.changeable) << c.file << " " << c.folder;
  EXPECT_EQ(StateNotes(kFileChangeable | kNotAtLogon), L"");
  EXPECT_EQ(StateNotes(kStateAnswered | kFromStartupFolder | kFileChangeable),
            L"\nIt starts from the Startup folder: the Run key refused it.\nThis account can "
            L"change its file.");
  EXPECT_EQ(StateNotes(kStateAnswered | kNotAtLogon), L"\nNothing starts it at logon.");
}

TEST(LogonMend, OffSwitchesElevationMarksAndVerbatimPathsAreRecognised) {
  EXPECT_FALSE(SwitchedOff({}));  // no value: on
  for (unsigned char on : {2, 6}) EXPECT_FALSE(SwitchedOff(std::vector<unsigned char>{on, 1}));
  for (unsigned char off : {3, 7}) EXPECT_TRUE(SwitchedOff(std::vector<unsigned char>{off, 0}));
  using Kept = std::optional<std::wstring>;
  // clang-format off
  const struct { const wchar_t* marks; Kept kept; } layers[] = {
      {L"~ RUNASADMIN", L""}, {L"RUNASADMIN", L""}, {L"~ RUNASHIGHEST", L""},
      {L"~ HIGHDPIAWARE RUNASADMIN  WIN7RTM", L"~ HIGHDPIAWARE WIN7RTM"},
      {L"~ HIGHDPIAWARE", std::nullopt}, {L"~ RunAsAdmin", L""}, {L"", std::nullopt},
      {L"~ RUNASADMINX", std::nullopt},
  };
  // clang-format on
  for (const auto& l : layers) EXPECT_EQ(WithoutElevation(l.marks), l.kept) << l.marks;
  for (const wchar_t* path : {L"\\\\?\\C:\\a.exe", L"C:\\a.exe"})
    EXPECT_EQ(WithoutVerbatimPrefix(path), L"C:\\a.exe");
  EXPECT_EQ(WithoutVerbatimPrefix(L"\\\\?\\UNC\\srv\\a.exe"), L"\\\\srv\\a.exe");
  // A shortcut's mends name its file; a switch its key and value.
  EXPECT_EQ(MendLine(kWhen, Mend::kShortcutRestored, L"C:\\S\\Guard.lnk"),
            "2026-12-07 09:03:05  Start at logon restored  C:\\S\\Guard.lnk\r\n");
  EXPECT_EQ(MendLine(kWhen, Mend::kFolderSwitchedOn, L"Guard.lnk").substr(21),
            "Start at logon switched back on  HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\"
            "Explorer\\StartupApproved\\StartupFolder\\Guard.lnk\r\n");
}

TEST(ActivityLog, OneLinePerEventAndTrimmingReadsOnlyTheKeptHalf) {
  EXPECT_EQ(LogLine(kWhen, L"Notepad", L"C:\\windows\\n\u00f6tepad.exe"),
            "2026-12-07 09:03:05  Notepad  C:\\windows\\n\xC3\xB6tepad.exe\r\n");
  // The new lines are read whole by the end-to-end tests.
  const std::uint64_t five_gb = 5ull << 30;
  // clang-format off
  for (const auto& [size, from] : {std::pair<std::uint64_t, std::uint64_t>{1000, 0}, {1001, 0},
                                   {1002, 1}, {five_gb, five_gb - 1001}})
    EXPECT_EQ(KeptFrom(size, 2000), from) << size;
  // clang-format on
  EXPECT_EQ(KeptFrom(five_gb), five_gb - 512 * 1024 - 1);              // a cap of 1 MiB
  EXPECT_EQ(TrimmedLog("a\r\nb\r\n", 0, "c\r\n"), "a\r\nb\r\nc\r\n");  // from the start: whole
  EXPECT_EQ(TrimmedLog("\nb\r\n", 1, "c\r\n"), "b\r\nc\r\n");     // a line begins the half: kept
  EXPECT_EQ(TrimmedLog("a\r\nb\r\n", 1, "c\r\n"), "b\r\nc\r\n");  // mid-line: cut there
  EXPECT_EQ(TrimmedLog("abc", 7, "c\r\n"), "c\r\n");              // no line end at all
}

}  // namespace
}  // namespace qx::blocker
