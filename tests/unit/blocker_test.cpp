// What the blocker recognises, stops and records.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "blocker/notice_throttle.h"
#include "blocker/process_watch.h"
#include "blocker/session.h"
#include "blocker/signatures.h"
#include "catalogue/more_programs.h"

namespace qx::blocker {
namespace {

TEST(Signatures, EveryProgramHasNamesAndNoNameBelongsToTwoKeys) {
  std::set<std::string_view> keys;
  std::set<std::wstring_view> names;
  std::size_t count = 0;
  for (const Signature& s : Signatures()) {
    ASSERT_TRUE(IndexOfKey(s.key) && !s.names.empty()) << s.key;
    keys.insert(s.key);
    count += s.names.size();
    names.insert(s.names.begin(), s.names.end());
  }
  EXPECT_EQ(keys.size(), kEntryCount - 1);  // all but the Run dialog
  EXPECT_FALSE(keys.count("Run"));
  EXPECT_EQ(names.size(), count);
  for (const CommonProgram& p : kCommonPrograms) EXPECT_FALSE(p.names.empty()) << p.key;
}

// A ticked entry, a common program or an added one, by its file name or the
// original name of a renamed copy, letter case aside; no partial or fuzzy
// match, never this process (self), the configurator or a blocker.
TEST(Signatures, AProcessIsStoppedByAnExactNameOrOriginalNameOfAChosenProgram) {
  BlockerSettings s;
  for (const char* key : {"Notepad", "Command"}) s.block[*IndexOfKey(key)] = true;
  s.more.common = {*CommonIndexOfKey("Roblox")};
  s.more.added = {{L"Fortnite", L"Fortnite.exe", L"FortniteClient.exe"},
                  {L"Chat", L"chat.exe", L""}};
  // Steam is not chosen; Chat's empty original matches nothing.
  const std::optional<std::wstring> none;
  // clang-format off
  const struct { std::wstring_view image, original; bool self; std::optional<std::wstring> stopped; } cases[] = {
      {L"notepad.exe", L"", false, L"Notepad"}, {L"pwsh.EXE", L"", false, L"Command Prompt"},
      {L"homework.exe", L"NOTEPAD.EXE", false, L"Notepad"}, {L"wordpad.exe", L"", false, none},
      {L"motepad.exe", L"", false, none}, {L"notepad.exe.exe", L"", false, none},
      {L"mynotepad.exe", L"notepad.ex", false, none}, {L"explorer.exe", L"EXPLORER.EXE", false, none},
      {L"cmd.exe", L"Quellanix.exe", false, none}, {L"RobloxPlayerLauncher.exe", L"", false, L"Roblox"},
      {L"game.exe", L"robloxplayerbeta.exe", false, L"Roblox"}, {L"steam.exe", L"", false, none},
      {L"FORTNITE.EXE", L"", false, L"Fortnite"},
      {L"homework.exe", L"FortniteClient.EXE", false, L"Fortnite"},
      {L"Chat.EXE", L"electron.exe", false, L"Chat"}, {L"other.exe", L"", false, none},
      {L"Fortnite.exe", L"", true, none}, {L"chat.exe", L"quellanix.ext", false, none},
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(ProgramToStop(s, {c.image, c.original, c.self}), c.stopped)
        << testing::PrintToString(std::wstring(c.image));
  }
}

TEST(NoticeThrottle, OneNoticeAProgramWithinTheQuietTime) {
  NoticeThrottle t;
  // clang-format off
  const struct { std::wstring_view program; std::uint64_t at; bool shown; } steps[] = {
      {L"Steam", 1000, true}, {L"Steam", 30'999, false}, {L"Roblox", 1500, true},  // 30 s quiet
      {L"Steam", 31'000, true}, {L"Steam", 60'999, false},
  };
  // clang-format on
  for (const auto& s : steps) EXPECT_EQ(t.ShouldShow(s.program, s.at), s.shown) << s.at;
}

// One process (id 7) that a test changes between two looks at it, beside this
// one (3), the console hosts 7 started after it (9) and before it (10, an
// earlier process of its id), a program it started and a console host of 3.
struct FakeSystem : ProcessSource {
  struct Now {
    std::uint64_t listed, opened;  // creation times: in the list, and of what opening it finds
    std::optional<std::wstring> path, original, in_memory = std::nullopt;
  } now;
  bool opens = true, ends = true;
  std::uint32_t session = 1;
  Owner owner = Owner::kThisUser;
  int windows = 0;
  bool ended = false;
  int tries = 0;                                                    // to end it
  std::vector<std::pair<std::vector<std::uint32_t>, bool>> closes;  // pids, insist

  struct Opened : OpenedProcess {
    FakeSystem& system;
    explicit Opened(FakeSystem& s) : system(s) {}
    std::uint64_t Created() const override { return system.now.opened; }
    std::optional<std::wstring> ImagePath() const override { return system.now.path; }
    std::optional<std::wstring> OriginalNameInMemory() const override {
      return system.now.in_memory;
    }
    bool End() override {
      ++system.tries;
      return system.ended = system.ends;
    }
  };
  std::vector<ListedProcess> List() override {
    return {{0, 0},
            {3, 1, 0, 1},
            {7, now.listed, 3, session, L"Notepad.exe"},
            {9, now.listed, 7, session, L"ConHost.exe"},
            {10, 0, 7, session, L"conhost.exe"},
            {11, now.listed, 7, session, L"cmd.exe"},
            {12, now.listed, 3, session, L"conhost.exe"}};
  }
  std::unique_ptr<OpenedProcess> Open(std::uint32_t pid) override {
    return pid == 7 && opens ? std::make_unique<Opened>(*this) : nullptr;
  }
  std::optional<std::wstring> OriginalName(const std::wstring& path) override {
    return path == now.path ? now.original : std::nullopt;
  }
  Owner OwnerOf(std::uint32_t) override { return owner; }
  int CloseWindows(std::span<const std::uint32_t> pids, bool insist) override {
    closes.emplace_back(std::vector<std::uint32_t>(pids.begin(), pids.end()), insist);
    return windows;
  }
};

TEST(ProcessWatch, AProcessIsEndedOnlyOnceJudgedOnItsOwnFileAndJudgedAgainUntilThen) {
  BlockerSettings s;
  s.block[*IndexOfKey("Notepad")] = true;
  const std::wstring n = L"C:\\w\\notepad.exe", w = L"C:\\w\\wordpad.exe", e;
  const std::optional<std::wstring> u;  // unreadable
  // clang-format off
  // window_first: the first look comes from a window, the second from the list.
  const struct { const char* what; bool window_first; FakeSystem::Now first; bool ended_first, waiting;
                 FakeSystem::Now second; bool ended_second; } cases[] = {
      {"its id reused between list and open", false, {1, 2, n, e}, false, true, {2, 2, n, e}, true},
      {"a new process under a judged id", false, {1, 1, w, e}, false, false, {2, 2, n, e}, true},
      {"its image unreadable, then read", false, {1, 1, u, e}, false, true, {1, 1, n, e}, true},
      {"a window's unreadable, then listed", true, {1, 1, u, e}, false, true, {1, 1, n, e}, true},
      {"a blocker named so", false, {1, 1, n, L"quellanix.ext"}, false, false, {1, 1, n, e}, false},
      {"judged once, from a window", true, {1, 1, w, e}, false, false, {1, 1, n, e}, false},
      {"a renamed copy", true, {1, 1, w, L"Notepad.exe"}, true, false, {1, 1, w, e}, false},
      {"its file unreadable, its image read", false, {1, 1, w, u, L"NOTEPAD.EXE"}, true, false, {1, 1, w, e}, false},
      {"a blocker's image read", false, {1, 1, n, u, L"quellanix.ext"}, false, false, {1, 1, n, e}, false},
      {"no version at all: the name decides", false, {1, 1, n, u, u}, true, false, {1, 1, n, e}, false},
  };
  // clang-format on
  for (const auto& c : cases) {
    FakeSystem system;
    ProcessWatch watch(s, system, 3);
    system.now = c.first;
    const auto stopped = c.window_first ? watch.Check(7) : watch.Scan();
    EXPECT_EQ(system.ended, c.ended_first) << c.what;
    EXPECT_EQ(stopped.size(), c.ended_first ? 1u : 0u) << c.what;
    EXPECT_FALSE(!stopped.empty() && stopped[0].windows_closed) << c.what;
    EXPECT_EQ(watch.Waiting(), c.waiting) << c.what;
    system.now = c.second;
    system.ended = false;
    EXPECT_EQ(watch.Scan().size(), c.ended_second ? 1u : 0u) << c.what;
    EXPECT_EQ(system.ended, c.ended_second) << c.what;
    EXPECT_TRUE(watch.Scan().empty() && watch.Check(7).empty()) << c.what;  // judged for good
    EXPECT_TRUE(watch.Check(8).empty());  // gone, or not ours to open
  }
}

TEST(ProcessWatch, OneThatStaysUnreadableIsLookedAtSoonTenTimesThenOnlyOnTime) {
  BlockerSettings s;
  FakeSystem system;
  system.now = {1, 1, std::nullopt, L""};
  ProcessWatch watch(s, system, 3);
  watch.Check(7);  // a window first
  for (int look = 2; look <= 11; ++look) {
    watch.Scan();
    if (look == 5) watch.Check(7);  // another window: no new count
    EXPECT_EQ(watch.Waiting(), look <= 10) << look;
  }
}

TEST(ProcessWatch, OneThatCannotBeEndedHasItsWindowsClosedWhileItRunsIfItIsThisUsers) {
  BlockerSettings s;
  s.block[*IndexOfKey("Notepad")] = true;
  // clang-format off
  const struct { const char* what; bool opens, ends; std::uint32_t session; Owner owner;
                 std::wstring held; } cases[] = {
      {"shielded: by its listed name", false, false, 1, Owner::kThisUser, L"Notepad.exe"},
      {"shielded, its owner unreadable", false, false, 1, Owner::kUnknown, L"Notepad.exe"},
      {"read, but not to be ended", true, false, 1, Owner::kThisUser, L"C:\\w\\notepad.exe"},
      {"another session's", false, false, 2, Owner::kThisUser, L""},
      {"another user's", true, false, 1, Owner::kOtherUser, L""},
      {"gone meanwhile", false, false, 1, Owner::kGone, L""},
  };
  // clang-format on
  for (const auto& c : cases) {
    FakeSystem system;
    system.now = {1, 1, L"C:\\w\\notepad.exe", L""};
    std::tie(system.opens, system.ends, system.session, system.owner) =
        std::tie(c.opens, c.ends, c.session, c.owner);
    ProcessWatch watch(s, system, 3);
    EXPECT_TRUE(watch.Scan().empty()) << c.what;  // no window yet: nothing said
    system.windows = 2;
    const auto first = watch.Scan();
    EXPECT_TRUE(watch.Scan().empty() && !watch.Waiting()) << c.what;  // said once, closed again
    EXPECT_EQ(first.empty() ? L"" : first[0].path, c.held) << c.what;
    EXPECT_TRUE(first.empty() || first[0].windows_closed) << c.what;
    EXPECT_LE(system.tries, 1) << c.what;  // ended once at most, then held
    // Its own windows and those of the console it started, WM_CLOSE first, then the close box too.
    const std::vector<std::uint32_t> w{7, 9};
    const decltype(system.closes) closes{{w, false}, {w, false}, {w, true}};
    EXPECT_EQ(system.closes, c.held.empty() ? decltype(closes){} : closes) << c.what;
  }
  EXPECT_EQ(NoticeText({L"Notepad", L"", true}), L"Notepad is blocked; its windows are closed.");
}

TEST(Lockout, TheDelayDoublesFromOneSecondUpToAMinute) {
  const int expected[] = {0, 1, 2, 4, 8, 16, 32, 60, 60, 60};
  for (int n = 0; n < 10; ++n) EXPECT_EQ(DelayAfterFailures(n).count(), expected[n]) << n;
}

}  // namespace
}  // namespace qx::blocker
