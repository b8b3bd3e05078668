#pragma once
// A function of a system library, loaded from the system folder when it is
// first needed rather than at start: a library such as the shell or the
// common dialogs brings others with it, a large part of the program's memory
// for a command that may never be used.
#include <windows.h>

namespace qx::win {

// Null when the library or the function cannot be had (GetLastError says why).
template <typename Function>
Function* SystemFunction(const wchar_t* library, const char* name) {
  const HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  const FARPROC found = module ? GetProcAddress(module, name) : nullptr;
  return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(found));
}

}  // namespace qx::win
