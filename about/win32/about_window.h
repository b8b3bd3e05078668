#pragma once
#include <windows.h>

#include "runtime/runtime.h"

namespace qx::win {

// Shows the About dialog modeless and without owner: created on first use,
// brought to the front when already open.
void ShowAboutDialog(HINSTANCE instance, Runtime& rt);

}  // namespace qx::win
