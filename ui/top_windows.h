#pragma once
// The program's top-level windows: the message loop routes keyboard navigation
// to modeless dialogs, and the program ends when the last window is gone.
#include <windows.h>

namespace qx::win {

// Call from WM_CREATE / WM_INITDIALOG and WM_DESTROY of every top-level window.
// `dialog_navigation`: the loop runs IsDialogMessage for it (Tab, Enter, Escape).
void TopLevelOpened(HWND hwnd, bool dialog_navigation);
void TopLevelClosed(HWND hwnd);  // posts WM_QUIT when none is left

// Exit: destroys every top-level window at once and ends the message loop.
void CloseAllAndQuit();

// The window a modal box should belong to: the active one of this thread, or
// else the most recently opened of our windows that still takes input.
HWND ModalOwner();

// True when the message was a dialog-navigation message and has been handled.
bool RouteDialogMessage(MSG& msg);

}  // namespace qx::win
