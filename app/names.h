#pragma once
// File names and other fixed names the program uses, in one place.

namespace qx {

inline constexpr wchar_t kCipherKey[] = L"*#tkqa71wzrvo#*";
inline constexpr wchar_t kTemplateFileName[] = L"quellanix.ext";
inline constexpr wchar_t kHelpFileName[] = L"quellanix.chm";
inline constexpr wchar_t kExplorerCommand[] = L"explorer.exe ";
inline constexpr wchar_t kExeSuffix[] = L".exe";
inline constexpr wchar_t kDefaultProgramTitle[] = L"Brindlecor";

}  // namespace qx
