#include "app/win32/main_layout.h"

#include <array>

#include "app/version_info.h"
#include "app/win32/control_ids.h"
#include "assets/resource.h"

namespace qx::win {
namespace {

// clang-format off
constexpr FixedControl kFixed[] = {
    {"picLogo",         FixedKind::Image, kLogoId,           {120, 120, 2970, 1935},  0,  kNoFont,        IDB_LOGO,     L""},
    {"lblInstructions", FixedKind::Label, kInstructionsId,   {3240, 360, 6375, 1455}, 1,  {1125, false},  0,            L""},
    {"picPassword",     FixedKind::Image, kPasswordButtonId, {7440, 6600, 2160, 690}, 35, kNoFont,        IDB_PASSWORD, L"Password"},
    {"picCompile",      FixedKind::Image, kCompileButtonId,  {7440, 7320, 2160, 690}, 36, kNoFont,        IDB_COMPILE,  L"Compile"},
};

constexpr MenuItem kFileItems[] = {
    {"mnuPassword", L"Set &Password",            kMenuPassword},
    {"mnuCompile",  L"&Compile",                 kMenuCompile},
    {"mnuOpenApp",  L"&Open Application Folder", kMenuOpenApp},
    {"mnuSep",      L"",                         0},
    {"mnuExit",     L"E&xit",                    kMenuExit},
};
constexpr MenuItem kHelpItems[] = {
    {"mnuAbout", L"About Voskrel", kMenuAbout},
    {"mnuIndex", L"&Help Index",   kMenuIndex},
};
constexpr Menu kMenus[] = {
    {"mnuFile", L"&File", kFileItems},
    {"mnuHelp", L"&Help", kHelpItems},
};
// clang-format on

constexpr wchar_t kInstructions[] =
    L"Thank you for choosing Brindlecor's Quellanix software. To get started tick the "
    L"applications that you wish to block and then click the compile button. For more "
    L"detailed instructions see the help file. If you would like to see more applications "
    L"added to Quellanix then email " QX_WIDEN(QX_SUPPORT_EMAIL);

}  // namespace

std::span<const FixedControl> FixedControls() { return kFixed; }
std::wstring_view InstructionText() { return kInstructions; }
std::span<const Menu> MenuTree() { return kMenus; }

}  // namespace qx::win
