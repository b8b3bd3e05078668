#pragma once
#include <string>

#include "runtime/app_facts.h"

namespace qx::win {

// The running exe's full path, however long; empty when the system cannot
// tell (GetLastError says why).
std::wstring ModulePath();

// Facts of the running exe: its folder, title and version.
AppFacts ReadAppFacts();

}  // namespace qx::win
