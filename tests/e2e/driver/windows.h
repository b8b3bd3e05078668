#pragma once
// Finding and reading windows of another process.
#include <windows.h>

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "tests/e2e/driver/wait.h"

namespace qx::e2e {

// Visible top-level windows of a process (pid 0: of every process).
std::vector<HWND> TopWindows(DWORD pid);

// First visible top-level window of `pid` whose class and title match (an
// empty filter matches anything); throws when none shows before the timeout.
HWND WaitForTopWindow(DWORD pid, std::wstring_view window_class, std::wstring_view title,
                      std::chrono::milliseconds timeout = kDefaultTimeout);

// Same, without waiting; nullptr when there is none.
HWND FindTopWindow(DWORD pid, std::wstring_view window_class, std::wstring_view title);

// Child controls.
HWND ChildById(HWND parent, int id);  // throws when missing
HWND ChildByText(HWND parent, std::wstring_view window_class, std::wstring_view text);
std::vector<HWND> Children(HWND parent);  // direct children, in Z order

// WM_GETTEXT (GetWindowText does not reach another process's controls).
std::wstring Text(HWND hwnd);
std::wstring ClassOf(HWND hwnd);
bool HasStyle(HWND hwnd, LONG style_bits);

// The control's rectangle in its parent's client coordinates.
RECT RectInParent(HWND child);
SIZE ClientSize(HWND hwnd);

// BM_GETCHECK: 0 clear, 1 ticked, 2 grey.
int CheckState(HWND check_box);

// The control that has the keyboard focus on the window's thread.
HWND FocusedControl(HWND top);

// A sent-message round trip: returns once the window's thread has answered;
// Answers says whether it did, RoundTrip throws when it did not.
bool Answers(HWND hwnd);
void RoundTrip(HWND hwnd);

}  // namespace qx::e2e
