#pragma once
// File names and other fixed names the program uses, in one place.

namespace qx {

inline constexpr wchar_t kCipherKey[] = L"*#tkqa71wzrvo#*";
inline constexpr wchar_t kTemplateFileName[] = L"quellanix.ext";
inline constexpr wchar_t kHelpFileName[] = L"quellanix.chm";
inline constexpr wchar_t kExplorerCommand[] = L"explorer.exe ";
inline constexpr wchar_t kExeSuffix[] = L".exe";
inline constexpr wchar_t kDefaultProgramTitle[] = L"Brindlecor";

// Where the About dialog looks for the system information tool (below
// HKEY_LOCAL_MACHINE): the tool's full path, else the folder that holds it.
inline constexpr wchar_t kSysInfoPathKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr wchar_t kSysInfoPathValue[] = L"PATH";
inline constexpr wchar_t kSysInfoFolderKey[] = L"SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr wchar_t kSysInfoFolderValue[] = L"MSINFO";
inline constexpr wchar_t kSysInfoFileName[] = L"MSINFO32.EXE";

}  // namespace qx
