#include "blocker/process_watch.h"

#include <algorithm>
#include <utility>

#include "blocker/signatures.h"
#include "common/path_parts.h"
#include "common/text.h"

namespace qx::blocker {
namespace {

// A console program's window belongs to the console host it started.
constexpr std::wstring_view kConsoleHost = L"conhost.exe";

}  // namespace

std::wstring NoticeText(const StoppedProgram& program) {
  // One line of the notice: the log says why.
  return program.name + (program.windows_closed ? L" is blocked; its windows are closed."
                                                : L" is blocked on this computer.");
}

std::wstring LogDetail(const StoppedProgram& program) {
  return program.windows_closed ? program.path + L"  (could not be ended: its windows were closed)"
                                : program.path;
}

std::vector<StoppedProgram> ProcessWatch::Scan() {
  std::vector<StoppedProgram> stopped;
  std::set<ListedProcess> judged;
  std::map<ListedProcess, Held> held;
  bool unjudged = false;
  const std::vector<ListedProcess> list = source_.List();
  for (const ListedProcess& p : list) {
    if (p.pid == self_) session_ = p.session;
  }
  for (const ListedProcess& p : list) {
    if (seen_.count(p)) {
      judged.insert(p);
      continue;
    }
    if (auto h = held_.find(p); h != held_.end()) {
      held.insert(held_.extract(h));
      continue;
    }
    StoppedProgram program{};
    const Verdict verdict = JudgeListed(p, program);
    if (verdict == Verdict::kStopped) stopped.push_back(program);
    if (verdict == Verdict::kStopped || verdict == Verdict::kJudged) judged.insert(p);
    if (verdict == Verdict::kHold) held.emplace(p, Held{program});
    unjudged = unjudged || verdict == Verdict::kUnjudged;
  }
  for (auto& [p, h] : held) CloseWindows(p, h, list, stopped);
  held_ = std::move(held);  // what has ended is forgotten
  waiting_ = unjudged ? waiting_ + 1 : 0;
  seen_ = std::move(judged);
  return stopped;
}

std::vector<StoppedProgram> ProcessWatch::Check(std::uint32_t pid) {
  std::vector<StoppedProgram> stopped;
  const auto process = source_.Open(pid);
  // A window's process is usually one judged already: only its creation time
  // is read then. One that cannot be opened or ended waits for the list.
  if (!process) return stopped;
  const ListedProcess p{pid, process->Created()};
  if (seen_.count(p)) return stopped;
  StoppedProgram program{};
  const Verdict verdict = Judge(p, *process, program);
  if (verdict == Verdict::kStopped) stopped.push_back(program);
  if (verdict == Verdict::kStopped || verdict == Verdict::kJudged) {
    seen_.insert(p);
  } else if (waiting_ == 0) {
    waiting_ = 1;
  }
  return stopped;
}

ProcessWatch::Verdict ProcessWatch::JudgeListed(const ListedProcess& listed,
                                                StoppedProgram& stopped) {
  if (const auto process = source_.Open(listed.pid)) {
    // The listed process has ended and its id was given to a new one since:
    // that one is judged from the next list, not ended under the old entry.
    if (process->Created() != listed.created) return Verdict::kUnjudged;
    const Verdict verdict = Judge(listed, *process, stopped);
    return verdict == Verdict::kCannotEnd ? Hold(listed) : verdict;
  }
  // Hidden from being opened, it cannot hide the name it runs under.
  auto name = ProgramToStop(settings_, {listed.name, L"", listed.pid == self_});
  if (!name) return Verdict::kJudged;
  stopped = {std::move(*name), listed.name, true};
  return Hold(listed);
}

ProcessWatch::Verdict ProcessWatch::Judge(const ListedProcess& listed, OpenedProcess& process,
                                          StoppedProgram& stopped) {
  // Judged on the file it runs from: a program that merely carries a blocked
  // name may be a blocker, which its version resource tells. Only when that
  // cannot be read at all, from the file or from the image in memory, does
  // the name decide, failing closed.
  const auto path = process.ImagePath();
  if (!path) return Verdict::kUnjudged;
  auto original = source_.OriginalName(*path);
  if (!original) original = process.OriginalNameInMemory();
  auto name =
      ProgramToStop(settings_, {FileNameOf(*path), original.value_or(L""), listed.pid == self_});
  if (!name) return Verdict::kJudged;
  stopped = {std::move(*name), *path, false};
  if (process.End()) return Verdict::kStopped;
  stopped.windows_closed = true;
  return Verdict::kCannotEnd;
}

ProcessWatch::Verdict ProcessWatch::Hold(const ListedProcess& listed) {
  // Never another session's, a service's or another user's, an
  // administrator's elevated programs included: they are left alone.
  if (!session_ || listed.session != *session_) return Verdict::kJudged;
  switch (source_.OwnerOf(listed.pid)) {
    case Owner::kGone:
      return Verdict::kGone;
    case Owner::kOtherUser:
      return Verdict::kJudged;
    default:
      // Its owner unreadable: a window of an elevated program refuses a
      // lesser program's messages, so only this user's close.
      return Verdict::kHold;
  }
}

void ProcessWatch::CloseWindows(const ListedProcess& listed, Held& held,
                                const std::vector<ListedProcess>& list,
                                std::vector<StoppedProgram>& stopped) {
  // Its own windows, and those of the consoles it started.
  held.pids = {listed.pid};
  for (const ListedProcess& c : list) {
    if (c.parent == listed.pid && c.created >= listed.created &&
        EqualsIgnoringAsciiCase(c.name, kConsoleHost)) {
      held.pids.push_back(c.pid);
    }
  }
  // Said once its first window was asked to close, never before.
  if (source_.CloseWindows(held.pids, held.rounds > 0) == 0) return;
  ++held.rounds;
  if (!std::exchange(held.reported, true)) stopped.push_back(held.program);
}

}  // namespace qx::blocker
