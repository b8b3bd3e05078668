#pragma once
// The program-wide values shared by the main window, the password flow, the
// cipher and the builder. One instance lives for the whole run.
#include <array>
#include <cstdint>
#include <string>

#include "app/more_list.h"
#include "catalogue/catalogue.h"

namespace qx {

// A 16-bit Boolean as the settings bag stores it: all bits set for True.
using VbBool = std::int16_t;
inline constexpr VbBool vbTrue = -1;
inline constexpr VbBool vbFalse = 0;

struct PublicValues {
  std::array<VbBool, kEntryCount> block{};  // catalogue order
  std::wstring PlainPassword;
  std::wstring EncryptedPassword;
  std::wstring CipherKey;
  std::wstring ProgramTitle;
  MoreChoices more;  // beyond the 35, from the More Applications dialog
};

}  // namespace qx
