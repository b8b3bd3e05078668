#include "blocker/process_watch.h"

#include "blocker/signatures.h"
#include "common/path_parts.h"

namespace qx::blocker {
std::vector<StoppedProgram> ProcessWatch::Scan() {
  std::vector<StoppedProgram> stopped;
  std::set<ListedProcess> judged;
  bool unjudged = false;
  for (const ListedProcess& p : source_.List()) {
    if (seen_.count(p)) {
      judged.insert(p);
      continue;
    }
    const auto process = source_.Open(p.pid);
    // One that may not be opened could not be ended either: it is left alone.
    if (!process) {
      judged.insert(p);
      continue;
    }
    // The listed process has ended and its id was given to a new one since:
    // that one is judged from the next list, not ended under the old entry.
    if (process->Created() == p.created && Judge(p.pid, *process, stopped)) {
      judged.insert(p);
    } else {
      unjudged = true;
    }
  }
  waiting_ = unjudged ? waiting_ + 1 : 0;
  seen_ = std::move(judged);  // what has ended is forgotten: the set stays small
  return stopped;
}

std::vector<StoppedProgram> ProcessWatch::Check(std::uint32_t pid) {
  std::vector<StoppedProgram> stopped;
  const auto process = source_.Open(pid);
  // A window's process is usually one judged already: only its creation time is read then.
  if (!process) return stopped;
  const ListedProcess p{pid, process->Created()};
  if (seen_.count(p)) return stopped;
  if (Judge(pid, *process, stopped)) {
    seen_.insert(p);
  } else if (waiting_ == 0) {
    waiting_ = 1;
  }
  return stopped;
}

bool ProcessWatch::Judge(std::uint32_t pid, OpenedProcess& process,
                         std::vector<StoppedProgram>& stopped) {
  // Judged on the file it runs from, never on a name alone: a program that
  // merely carries a blocked name may be a blocker, which its version
  // resource tells.
  const auto path = process.ImagePath();
  if (!path) return false;
  const auto original = source_.OriginalName(*path);
  if (!original) return false;
  auto name = ProgramToStop(settings_, {FileNameOf(*path), *original, pid == self_});
  if (name && process.End()) stopped.push_back({std::move(*name), *path});
  return true;
}

}  // namespace qx::blocker
