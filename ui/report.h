#pragma once
// Where errors that a handler lets go end up: a message box that says what
// failed and why, after which the program goes on.
#include <exception>
#include <string>

#include "runtime/dialogs.h"

namespace qx::win {

// What the user reads for the error.
std::wstring FailureText(const std::exception& e);

void Report(Dialogs& dialogs, const std::exception& e);

}  // namespace qx::win
