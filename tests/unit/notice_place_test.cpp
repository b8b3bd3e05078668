// Where the blocker's notice appears, on a desk of three monitors: the
// primary, a larger one at 150 % to its right and one at 125 % to its left.
#include "blocker/notice_place.h"

#include <gtest/gtest.h>

#include <array>

namespace qx::blocker {
namespace {

constexpr std::array<MonitorArea, 3> kDesk{{
    {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96},
    {{1920, 0, 4480, 1440}, {1920, 0, 4480, 1400}, 144},
    {{-1280, 0, 0, 1024}, {-1220, 30, 0, 1024}, 120},  // bars on the left and at the top
}};

TEST(NoticePlace, TheMonitorInUseIsTheForegroundWindowsMostThenTheCursors) {
  const ScreenPoint on_left{-400, 500};
  // clang-format off
  const struct { std::optional<ScreenRect> foreground; ScreenPoint cursor; std::size_t want; } cases[] = {
      {ScreenRect{2000, 100, 2800, 700}, on_left, 1},       // wherever the cursor is
      {ScreenRect{1500, 100, 2400, 700}, {10, 10}, 1},      // straddling: the larger part
      {ScreenRect{1400, 100, 2300, 700}, {3000, 10}, 0},
      {ScreenRect{-100, 100, 200, 700}, {3000, 10}, 0},     // negative coordinates
      {std::nullopt, on_left, 2},                           // none in the foreground
      {std::nullopt, {1920, 0}, 1},                         // a monitor's edge is its own
      {std::nullopt, {1919, 1079}, 0},
      {std::nullopt, {2000, 1440}, 0},                      // just below the right one
      {ScreenRect{1720, 100, 2120, 700}, {3000, 10}, 0},    // halves: the first
      {ScreenRect{-32000, -32000, -31840, -31970}, {3000, 10}, 1},  // minimised: off every screen
      {std::nullopt, {9000, 9000}, 0},                      // off every screen: the primary
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(MonitorInUse(kDesk, {c.foreground, c.cursor}), c.want)
        << c.cursor.x << "," << c.cursor.y;
  }
  EXPECT_EQ(MonitorInUse({}, {std::nullopt, on_left}), 0u);
}

TEST(NoticePlace, TheNoticeSitsInTheBottomRightOfTheWorkAreaAtItsDpiAndNeverOutside) {
  // clang-format off
  const struct { MonitorArea monitor; int width, height; ScreenPoint want; } cases[] = {
      {kDesk[0], 440, 66, {1920 - 440 - 16, 1040 - 66 - 16}},
      {kDesk[1], 660, 99, {4480 - 660 - 24, 1400 - 99 - 24}},   // the margin at 144 DPI
      {kDesk[2], 550, 83, {0 - 550 - 20, 1024 - 83 - 20}},
      {kDesk[2], 1300, 1100, {-1220, 30}},                       // too large: from the top left
      {{{0, 0, 800, 600}, {0, 0, 800, 600}, 96}, 784, 584, {0, 0}},  // exactly room for the margin
      {{{0, 0, 800, 600}, {0, 0, 800, 600}, 96}, 785, 585, {0, 0}},
  };
  // clang-format on
  for (const auto& c : cases) {
    const ScreenPoint at = NoticeOrigin(c.monitor, c.width, c.height, 16);
    EXPECT_EQ(at.x, c.want.x) << c.width;
    EXPECT_EQ(at.y, c.want.y) << c.width;
  }
}

}  // namespace
}  // namespace qx::blocker
