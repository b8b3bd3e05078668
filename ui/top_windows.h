#pragma once
// The program's top-level windows: the message loop routes keyboard navigation
// (Tab, Enter, Escape) to them, and the program ends when the last one that
// holds it is gone.
#include <windows.h>

namespace qx::win {

// Called by the window base for every modeless top-level window it builds.
void TopLevelOpened(HWND hwnd, bool holds_program);
void TopLevelClosed(HWND hwnd);  // posts WM_QUIT when the last holding one closes

// Exit: destroys every top-level window at once and ends the message loop.
void CloseAllAndQuit();

// The window a modal box should belong to: the active one of this thread, or
// else the most recently opened of our windows that still takes input.
HWND ModalOwner();

// True when the message was a dialog-navigation message and has been handled.
bool RouteDialogMessage(MSG& msg);

}  // namespace qx::win
