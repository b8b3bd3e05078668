#pragma once
// Where the blocker's notice appears: on the monitor the child is using, at
// the bottom right of its work area, never outside it. Plain data, so that the
// choice holds without a second monitor to try it on.
#include <cstddef>
#include <optional>
#include <span>

namespace qx::blocker {

struct ScreenRect {
  int left;
  int top;
  int right;
  int bottom;
};

struct ScreenPoint {
  int x;
  int y;
};

struct MonitorArea {
  ScreenRect bounds;
  ScreenRect work;  // less the taskbar and other docked bars
  int dpi;
};

// What shows where the child looks, taken before a program is ended: the
// foreground window's frame (none when no window is in the foreground), and
// the cursor.
struct LookPoint {
  std::optional<ScreenRect> foreground;
  ScreenPoint cursor;
};

// The monitor the foreground window covers most; when it covers none (none in
// the foreground, or minimised off every screen), the one under the cursor;
// else the first, which the caller makes the primary.
std::size_t MonitorInUse(std::span<const MonitorArea> monitors, const LookPoint& look);

// The top-left corner of a notice of `width` by `height` pixels: `margin96`
// (pixels at 96 DPI, scaled to the monitor's) in from the bottom right of the
// work area, and kept within it from the top left when it is too small.
ScreenPoint NoticeOrigin(const MonitorArea& monitor, int width, int height, int margin96);

}  // namespace qx::blocker
