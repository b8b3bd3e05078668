#include "ui/top_windows.h"

#include <algorithm>
#include <vector>

namespace qx::win {
namespace {

struct TopWindow {
  HWND hwnd;
  bool dialog_navigation;
};

// One user-interface thread, so plain state is enough.
std::vector<TopWindow>& Windows() {
  static std::vector<TopWindow> windows;
  return windows;
}

bool quitting = false;

}  // namespace

void TopLevelOpened(HWND hwnd, bool dialog_navigation) {
  Windows().push_back({hwnd, dialog_navigation});
}

void TopLevelClosed(HWND hwnd) {
  auto& w = Windows();
  w.erase(std::remove_if(w.begin(), w.end(), [hwnd](const TopWindow& t) { return t.hwnd == hwnd; }),
          w.end());
  if (w.empty() && !quitting) {
    quitting = true;
    PostQuitMessage(0);
  }
}

void CloseAllAndQuit() {
  quitting = true;
  // Copy: each DestroyWindow removes its entry.
  const std::vector<TopWindow> copy = Windows();
  for (auto it = copy.rbegin(); it != copy.rend(); ++it) DestroyWindow(it->hwnd);
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
  for (const TopWindow& t : Windows()) {
    if (t.dialog_navigation && (t.hwnd == msg.hwnd || IsChild(t.hwnd, msg.hwnd))) {
      return IsDialogMessageW(t.hwnd, &msg) != FALSE;
    }
  }
  return false;
}

}  // namespace qx::win
