#pragma once
#include "runtime/app_facts.h"

namespace qx::win {

// Facts of the running exe: its folder, title and version.
AppFacts ReadAppFacts();

}  // namespace qx::win
