#pragma once
// The More Applications dialog: today's common programs under their group
// headers, and the list of program files the parent added.
#include <windows.h>

#include "app/more_list.h"
#include "runtime/runtime.h"

namespace qx::win {

// Modal over `owner`. OK keeps the changes in `choices`, Cancel drops them.
// Throws Failure when the dialog cannot be made.
void RunMoreDialog(HINSTANCE instance, Runtime& rt, HWND owner, MoreChoices& choices);

}  // namespace qx::win
