#pragma once
// The blocker's own file, which holds its settings, held open while it runs:
// others may read it but not rename, delete or write it, so it is still in
// place at the next logon. And a file's identity, which a path's spelling
// (short names, letter case, another drive letter for the same folder) does
// not change.
#include <windows.h>

#include <optional>
#include <string>

#include "blocker/stop_protocol.h"
#include "format/settings_reader.h"
#include "runtime/win32/handles.h"

namespace qx::blocker::win {

std::optional<FileId> FileIdOf(HANDLE file);
std::optional<FileId> FileIdOf(const std::wstring& path);

class FileHold {
 public:
  // False from `held()` when the file cannot be opened; GetLastError says why.
  explicit FileHold(const std::wstring& path);
  bool held() const { return file_ && id_.has_value(); }
  HANDLE get() const { return file_.get(); }
  const FileId& id() const { return *id_; }
  // Its path as the system resolves it (a substituted drive's folder, long
  // names); nothing when the system cannot tell.
  std::optional<std::wstring> FinalPath() const;
  // The settings appended to the file; nothing when its size cannot be read
  // (GetLastError says why).
  std::optional<SettingsResult> ReadSettings() const;

 private:
  qx::win::FileHandle file_;
  std::optional<FileId> id_;
};

}  // namespace qx::blocker::win
