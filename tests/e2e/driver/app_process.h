#pragma once
// A fresh copy of the program in a folder of its own, started for one test and
// ended after it. Only what the test started is ended: the process and anything
// it started in turn (a job object holds them all).
#include <windows.h>

#include <chrono>
#include <string>
#include <string_view>
#include <utility>

#include "runtime/win32/handles.h"
#include "tests/e2e/driver/wait.h"

namespace qx::e2e {

// The folder that holds the built program and what ships beside it:
// %QX_DIST_DIR% when set, else the build's own dist folder.
std::wstring DistDir();

// Where the run keeps its screenshots: %QX_SCREENSHOT_DIR% when set, else the
// build's screenshots folder. Created on first use.
std::wstring ScreenshotDir();

// A temporary application folder, removed with everything in it at the end.
// Its name holds spaces, as many real install paths do.
class AppFolder {
 public:
  // A new empty folder.
  AppFolder();
  // A new folder holding a copy of every file in `source` (subfolders too).
  static AppFolder CopyOf(const std::wstring& source);

  AppFolder(AppFolder&& other) noexcept;
  AppFolder& operator=(AppFolder&&) = delete;
  AppFolder(const AppFolder&) = delete;
  AppFolder& operator=(const AppFolder&) = delete;
  ~AppFolder();

  const std::wstring& path() const { return path_; }  // without a trailing backslash
  std::wstring File(std::wstring_view name) const { return path_ + L"\\" + std::wstring(name); }
  bool Exists(std::wstring_view name) const;
  void Remove(std::wstring_view name) const;

 private:
  std::wstring path_;
};

class AppProcess {
 public:
  // Starts `exe` (a full path) with its folder as the working directory.
  static AppProcess Start(const std::wstring& exe);

  AppProcess(AppProcess&&) noexcept = default;
  AppProcess& operator=(AppProcess&&) = delete;
  ~AppProcess();  // ends the process and whatever it started, if still running

  DWORD pid() const { return pid_; }
  bool Running() const;
  // True when the process ends before the timeout.
  bool WaitForExit(std::chrono::milliseconds timeout = kDefaultTimeout) const;
  DWORD ExitCode() const;

 private:
  using JobHandle = win::UniqueHandle<win::NullableHandleTraits>;
  AppProcess(win::ProcessHandle process, JobHandle job, DWORD pid)
      : job_(std::move(job)), process_(std::move(process)), pid_(pid) {}

  JobHandle job_;  // ended first, with everything in it
  win::ProcessHandle process_;
  DWORD pid_ = 0;
};

}  // namespace qx::e2e
