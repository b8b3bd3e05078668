#pragma once
// What the More Applications dialog learns of a program file the parent picked.
#include <string>

#include "app/more_list.h"
#include "runtime/runtime.h"

namespace qx::win {

// Its name, whether it is a Windows program, and its version resource's
// FileDescription, ProductName and OriginalFilename. Throws Failure when the
// file cannot be read.
ProgramFile ReadProgramFile(Runtime& rt, const std::wstring& path);

}  // namespace qx::win
