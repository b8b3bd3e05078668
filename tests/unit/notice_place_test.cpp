// Where the blocker's notice appears, on a desk of three monitors: the
// primary, a larger one at 150 % to its right and one at 125 % to its left.
#include "blocker/notice_place.h"

#include <gtest/gtest.h>

namespace qx::blocker {
namespace {

constexpr MonitorArea kDesk[] = {
    {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96},
    {{1920, 0, 4480, 1440}, {1920, 0, 4480, 1400}, 144},
    {{-1280, 0, 0, 1024}, {-1220, 30, 0, 1024}, 120},  // bars on the left and at the top
};

TEST(NoticePlace, TheMonitorInUseIsTheForegroundWindowsMostThenTheCursors) {
  // clang-format off
  const struct { std::optional<ScreenRect> foreground; ScreenPoint cursor; std::size_t want; } cases[] = {
      {ScreenRect{1500, 100, 2400, 700}, {10, 10}, 1},     // wherever the cursor; straddling: the larger part
      {ScreenRect{1720, 100, 2120, 700}, {3000, 10}, 0},   // halves: the first
      {ScreenRect{4479, 1439, 4600, 1500}, {10, 10}, 1},   // a single pixel
      {ScreenRect{-32000, -32000, -31840, -31970}, {3000, 10}, 1},  // minimised: off every screen
      {std::nullopt, {1920, 0}, 1},  // none in the foreground; a monitor's left and top edges are its own
      {std::nullopt, {2000, 1440}, 0},                     // its bottom edge is not: off every screen
  };
  // clang-format on
  for (const auto& c : cases)
    EXPECT_EQ(MonitorInUse(kDesk, {c.foreground, c.cursor}), c.want) << c.cursor.x;
}

TEST(NoticePlace, TheNoticeSitsInTheBottomRightOfTheWorkAreaAtItsDpiAndNeverOutside) {
  const ScreenPoint fits = NoticeOrigin(kDesk[1], 660, 99, 16),
                    too_large = NoticeOrigin(kDesk[2], 1300, 1100, 16);
  // The margin at 144 DPI; too large, from the top left.
  EXPECT_EQ(std::pair(fits.x, fits.y), std::pair(4480 - 660 - 24, 1400 - 99 - 24));
  EXPECT_EQ(std::pair(too_large.x, too_large.y), std::pair(-1220, 30));
}

}  // namespace
}  // namespace qx::blocker
