#pragma once
// The small notice shown when the blocker stops a program: on top, never
// taking the focus, gone by itself after a few seconds. One at a time: a new
// notice replaces the text of the one showing and starts its time again.
#include <windows.h>

#include <memory>
#include <string_view>

#include "runtime/dialogs.h"

namespace qx::blocker::win {

inline constexpr wchar_t kNoticeWindowClass[] = L"QuellanixBlockerNotice";

class Notice {
 public:
  Notice(HINSTANCE instance, Dialogs& dialogs);
  ~Notice();
  Notice(const Notice&) = delete;
  Notice& operator=(const Notice&) = delete;

  // A notice is a courtesy: when it cannot be shown, blocking goes on.
  void Show(std::wstring_view text);

 private:
  class Window;
  HINSTANCE instance_;
  Dialogs& dialogs_;
  std::unique_ptr<Window> window_;
};

}  // namespace qx::blocker::win
