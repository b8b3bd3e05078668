#pragma once
#include <windows.h>

#include "runtime/runtime.h"

namespace qx::win {

// Shows the About dialog modeless and without owner: created on first use,
// brought to the front when already open. It opens on the monitor of
// `beside`, the main window (the primary's when null).
void ShowAboutDialog(HINSTANCE instance, Runtime& rt, HWND beside = nullptr);

}  // namespace qx::win
