#include "ui/top_windows.h"

#include <algorithm>
#include <vector>

namespace qx::win {
namespace {

// One user-interface thread, so plain state is enough.
std::vector<HWND>& Windows() {
  static std::vector<HWND> windows;
  return windows;
}

bool closing_all = false;

}  // namespace

void TopLevelOpened(HWND hwnd) { Windows().push_back(hwnd); }

void TopLevelClosed(HWND hwnd) {
  auto& w = Windows();
  const auto it = std::find(w.begin(), w.end(), hwnd);
  if (it == w.end()) return;  // never opened: its failure must not end the program
  w.erase(it);
  if (w.empty() && !closing_all) PostQuitMessage(0);
}

void CloseAllAndQuit() {
  closing_all = true;  // one WM_QUIT, not one per window
  // Copy: each DestroyWindow removes its entry.
  const std::vector<HWND> copy = Windows();
  for (auto it = copy.rbegin(); it != copy.rend(); ++it) DestroyWindow(*it);
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
    if (IsWindowVisible(*it) && IsWindowEnabled(*it)) return *it;
  }
  return nullptr;
}

bool RouteDialogMessage(MSG& msg) {
  for (HWND top : Windows()) {
    if (top == msg.hwnd || IsChild(top, msg.hwnd)) return IsDialogMessageW(top, &msg) != FALSE;
  }
  return false;
}

}  // namespace qx::win
