#include "blocker/win32/logon_start.h"

#include "blocker/win32/logon.h"
#include "common/text.h"

namespace qx::blocker::win {

LogonStart::LogonStart(const std::wstring& title, const std::wstring& final_path,
                       const FileId& self, LogonReport& report) {
  starts_.command = qx::Quoted(final_path);
  try {
    const qx::win::RegKey run = OpenUserKey(kRunKey, KEY_QUERY_VALUE | KEY_SET_VALUE,
                                            L"Could not register the blocker to start at logon.");
    starts_.run_name = RegisterAtLogon(run.get(), title, starts_.command, self);
  } catch (const Failure& run_failed) {
    try {
      starts_.shortcut = AddStartupShortcut(title, final_path, self);
      report.Mended(Mend::kFromFolder, starts_.shortcut->path);
    } catch (const Failure&) {
      nowhere_ = true;
      report.Failed(run_failed);  // the first cause
      return;
    }
  }
  try {
    watch_.emplace(starts_, title, final_path, self, report);
  } catch (const Failure& f) {
    report.Failed(f);
  }
}

std::intptr_t LogonStart::State() const {
  const bool from_folder = watch_ ? watch_->from_startup_folder() : starts_.shortcut.has_value();
  return (from_folder ? kFromStartupFolder : 0) | (nowhere_ ? kNotAtLogon : 0);
}

void LogonStart::Remove(const FileId& self) const {
  const OwnStarts& starts = watch_ ? watch_->starts() : starts_;  // the watch's, once stopped
  if (starts.shortcut) RemoveShortcut(*starts.shortcut);
  if (!starts.run_name.empty()) UnregisterAtLogon(starts.run_name, self);
}

}  // namespace qx::blocker::win
