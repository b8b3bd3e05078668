#pragma once
// The About dialog's layout, in twips within the client area.
#include <array>

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

enum class AboutKind { Button, Label, Icon };

struct AboutControl {
  int id;
  AboutKind kind;
  TwipsRect rect;
  bool black_text;
};

// In tab-index order, which is also the creation order.
inline constexpr std::array<AboutControl, 7> kAboutControls{{
    {kAboutOkId, AboutKind::Button, {4245, 2625, 1260, 345}, false},          // cmdOK 0
    {kAboutIconId, AboutKind::Icon, {120, 240, 795, 705}, false},             // picIcon 1
    {kAboutSysInfoId, AboutKind::Button, {4260, 3075, 1245, 345}, false},     // cmdSysInfo 2
    {kAboutDescriptionId, AboutKind::Label, {1050, 1125, 3885, 1170}, true},  // 3
    {kAboutDisclaimerId, AboutKind::Label, {255, 2625, 3870, 825}, true},     // 4
    {kAboutTitleId, AboutKind::Label, {1050, 240, 3885, 480}, true},          // 5
    {kAboutVersionId, AboutKind::Label, {1050, 780, 3885, 225}, false},       // 6
}};

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
