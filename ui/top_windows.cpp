#include "ui/top_windows.h"

#include <algorithm>
#include <vector>

namespace qx::win {
namespace {

struct TopWindow {
  HWND hwnd;
  bool holds_program;
};

// One user-interface thread, so plain state is enough.
std::vector<TopWindow>& Windows() {
  static std::vector<TopWindow> windows;
  return windows;
}

bool closing_all = false;

}  // namespace

void TopLevelOpened(HWND hwnd, bool holds_program) { Windows().push_back({hwnd, holds_program}); }

void TopLevelClosed(HWND hwnd) {
  auto& w = Windows();
  const auto it =
      std::find_if(w.begin(), w.end(), [&](const TopWindow& t) { return t.hwnd == hwnd; });
  if (it == w.end()) return;  // never opened: its failure must not end the program
  const bool held = it->holds_program;
  w.erase(it);
  const bool still_held =
      std::any_of(w.begin(), w.end(), [](const TopWindow& t) { return t.holds_program; });
  if (held && !still_held && !closing_all) PostQuitMessage(0);
}

void CloseAllAndQuit() {
  closing_all = true;  // one WM_QUIT, not one per window
  // Copy: each DestroyWindow removes its entry.
  const std::vector<TopWindow> copy = Windows();
  for (auto it = copy.rbegin(); it != copy.rend(); ++it) DestroyWindow(it->hwnd);
  closing_all = false;
  PostQuitMessage(0);
}

HWND ModalOwner() {
  HWND active = GetActiveWindow();
  if (active && IsWindowEnabled(active)) return active;
  // Not active (another program has the foreground): the box must still be
  // owned, or our window could cover it while it waits for an answer.
  const auto& w = Windows();
  for (auto it = w.rbegin(); it != w.rend(); ++it) {
    if (IsWindowVisible(it->hwnd) && IsWindowEnabled(it->hwnd)) return it->hwnd;
  }
  return nullptr;
}

bool RouteDialogMessage(MSG& msg) {
  for (const TopWindow& top : Windows()) {
    if (top.hwnd == msg.hwnd || IsChild(top.hwnd, msg.hwnd)) {
      return IsDialogMessageW(top.hwnd, &msg) != FALSE;
    }
  }
  return false;
}

}  // namespace qx::win
