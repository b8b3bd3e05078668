#pragma once
// Buffers that held a typed password are cleared as soon as they have served,
// so that no copy lingers in memory a reader of the process might see.
#include <windows.h>

namespace qx::win {

// Zeroes every character `text` (a string or a byte vector) has room for, then empties it.
template <typename Text>
void Wipe(Text& text) {
  text.resize(text.capacity());
  SecureZeroMemory(text.data(), text.size() * sizeof(typename Text::value_type));
  text.clear();
}

}  // namespace qx::win
