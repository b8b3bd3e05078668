#pragma once
// Control and menu identifiers of the main window, shared with the tests that
// drive it.
#include <cstddef>

namespace qx::win {

inline constexpr wchar_t kMainWindowClass[] = L"QuellanixMainWindow";

// Check boxes: kFirstBoxId + catalogue index; group headers: kFirstHeaderId +
// index in kGroupHeaders.
inline constexpr int kFirstBoxId = 1000;
inline constexpr int kFirstHeaderId = 1100;
inline constexpr int kInstructionsId = 1200;
inline constexpr int kLogoId = 1201;
inline constexpr int kPasswordButtonId = 1202;
inline constexpr int kCompileButtonId = 1203;

constexpr int BoxId(std::size_t catalogue_index) {
  return kFirstBoxId + static_cast<int>(catalogue_index);
}
constexpr int HeaderId(std::size_t header_index) {
  return kFirstHeaderId + static_cast<int>(header_index);
}

// The More Applications dialog: a box per common program (kFirstMoreBoxId +
// index in kCommonPrograms), a header per group, the list of added programs.
inline constexpr int kFirstMoreBoxId = 3000;
inline constexpr int kFirstMoreHeaderId = 3100;
inline constexpr int kMoreListLabelId = 3200;
inline constexpr int kMoreListId = 3201;
inline constexpr int kMoreNoteId = 3202;
inline constexpr int kMoreAddId = 3203;
inline constexpr int kMoreAddNameId = 3204;
inline constexpr int kMoreRemoveId = 3205;

constexpr int MoreBoxId(std::size_t common_index) {
  return kFirstMoreBoxId + static_cast<int>(common_index);
}
constexpr int MoreHeaderId(std::size_t header_index) {
  return kFirstMoreHeaderId + static_cast<int>(header_index);
}

// Menu items.
inline constexpr int kMenuPassword = 2001;
inline constexpr int kMenuCompile = 2002;
inline constexpr int kMenuOpenApp = 2003;
inline constexpr int kMenuExit = 2004;
inline constexpr int kMenuAbout = 2005;
inline constexpr int kMenuIndex = 2006;
inline constexpr int kMenuMore = 2007;

}  // namespace qx::win
