#pragma once
// The small notice shown when the blocker stops a program: on top, never
// taking the focus, gone by itself after a few seconds, on the monitor the
// child is using. One at a time: a new notice replaces the text of the one
// showing and starts its time again.
#include <windows.h>

#include <memory>
#include <string_view>

#include "blocker/notice_place.h"
#include "runtime/dialogs.h"

namespace qx::blocker::win {

inline constexpr wchar_t kNoticeWindowClass[] = L"QuellanixBlockerNotice";

class Notice {
 public:
  Notice(HINSTANCE instance, Dialogs& dialogs);
  ~Notice();
  Notice(const Notice&) = delete;
  Notice& operator=(const Notice&) = delete;

  // Notes where the child is looking. Called before programs are ended: the
  // window in the foreground may be one of theirs.
  void NoteWhereTheChildLooks();

  // A notice is a courtesy: when it cannot be shown, blocking goes on.
  void Show(std::wstring_view text);

 private:
  class Window;
  HINSTANCE instance_;
  Dialogs& dialogs_;
  LookPoint look_{};
  std::unique_ptr<Window> window_;
};

}  // namespace qx::blocker::win
