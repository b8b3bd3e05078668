#pragma once
// The About dialog's layout, in twips within the client area.
#include <windows.h>

#include <array>

#include "about/about_texts.h"
#include "ui/layout.h"

namespace qx::win {

inline constexpr int kAboutClientWidthTwips = 5730;
inline constexpr int kAboutClientHeightTwips = 3555;
// The dialog is not centred: its client area starts here, from the screen's corner.
inline constexpr int kAboutLeftTwips = 2340;
inline constexpr int kAboutTopTwips = 1935;

// Control identifiers. OK answers to IDOK, so Enter reaches it like a dialog's.
inline constexpr int kAboutOkId = 1;  // IDOK
inline constexpr int kAboutSysInfoId = 1001;
inline constexpr int kAboutIconId = 1002;
inline constexpr int kAboutTitleId = 1003;
inline constexpr int kAboutVersionId = 1004;
inline constexpr int kAboutDescriptionId = 1005;
inline constexpr int kAboutDisclaimerId = 1006;

// Labels wrap at word breaks; the icon is centred at its own size, never
// stretched. The title and version texts come from the load step.
inline constexpr DWORD kAboutLabel = SS_LEFT | SS_NOPREFIX;

// In tab-index order, which is also the creation order. The dialog's own font.
// clang-format off
inline constexpr std::array<ControlSpec, 7> kAboutControls{{
    {L"BUTTON", BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, L"OK",              kAboutOkId,          {4245, 2625, 1260, 345},  kNoFont},  // cmdOK
    {L"STATIC", SS_ICON | SS_CENTERIMAGE,                 L"",                kAboutIconId,        {120, 240, 795, 705},     kNoFont},  // picIcon
    {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP,               L"&System Info...", kAboutSysInfoId,     {4260, 3075, 1245, 345},  kNoFont},  // cmdSysInfo
    {L"STATIC", kAboutLabel,                              kAboutDescription,  kAboutDescriptionId, {1050, 1125, 3885, 1170}, kNoFont},
    {L"STATIC", kAboutLabel,                              kAboutDisclaimer,   kAboutDisclaimerId,  {255, 2625, 3870, 825},   kNoFont},
    {L"STATIC", kAboutLabel,                              L"",                kAboutTitleId,       {1050, 240, 3885, 480},   kNoFont},
    {L"STATIC", kAboutLabel,                              L"",                kAboutVersionId,     {1050, 780, 3885, 225},   kNoFont},
}};
// clang-format on

// Labels in black; the others in the button-text colour.
inline constexpr std::array<int, 3> kAboutBlackText{kAboutDescriptionId, kAboutDisclaimerId,
                                                    kAboutTitleId};

// The etched separator (Line1): a grey line with a white one just below it.
struct AboutLine {
  int x1;
  int x2;
  int y;
  int width_pixels;  // at 96 DPI
  unsigned char grey;
};
inline constexpr std::array<AboutLine, 2> kAboutSeparator{{
    {90, 5654, 2445, 1, 128},   // Line1(1)
    {105, 5654, 2460, 2, 255},  // Line1(0)
}};

}  // namespace qx::win
