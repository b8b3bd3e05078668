#include "blocker/notice_place.h"

#include <algorithm>

namespace qx::blocker {
namespace {

constexpr int kReferenceDpi = 96;

long long OverlapArea(const ScreenRect& a, const ScreenRect& b) {
  const long long width = std::min(a.right, b.right) - std::max(a.left, b.left);
  const long long height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  return width > 0 && height > 0 ? width * height : 0;
}

bool Holds(const ScreenRect& r, ScreenPoint p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace

std::size_t MonitorInUse(std::span<const MonitorArea> monitors, const LookPoint& look) {
  if (look.foreground) {
    std::size_t best = 0;
    long long best_area = 0;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
      const long long area = OverlapArea(monitors[i].bounds, *look.foreground);
      if (area > best_area) {
        best = i;
        best_area = area;
      }
    }
    if (best_area > 0) return best;
  }
  for (std::size_t i = 0; i < monitors.size(); ++i) {
    if (Holds(monitors[i].bounds, look.cursor)) return i;
  }
  return 0;
}

ScreenPoint NoticeOrigin(const MonitorArea& monitor, int width, int height, int margin96) {
  const int margin = margin96 * monitor.dpi / kReferenceDpi;
  const ScreenRect& work = monitor.work;
  return {std::max(work.left, work.right - width - margin),
          std::max(work.top, work.bottom - height - margin)};
}

}  // namespace qx::blocker
