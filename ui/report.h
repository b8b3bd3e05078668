#pragma once
// Where errors that a handler lets go end up: a message box that says what
// failed and why, after which the program goes on.
#include <functional>

#include "runtime/dialogs.h"

namespace qx::win {

void RunHandler(Dialogs& dialogs, const std::function<void()>& handler);

}  // namespace qx::win
