#include "blocker/notice_place.h"

#include <algorithm>

namespace qx::blocker {
namespace {

constexpr int kReferenceDpi = 96;

// Wide enough for any frame another program gives its window.
long long Extent(long long low_a, long long high_a, long long low_b, long long high_b) {
  return std::max(0LL, std::min(high_a, high_b) - std::max(low_a, low_b));
}

long long OverlapArea(const ScreenRect& a, const ScreenRect& b) {
  return Extent(a.left, a.right, b.left, b.right) * Extent(a.top, a.bottom, b.top, b.bottom);
}

bool Holds(const ScreenRect& r, ScreenPoint p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace

std::size_t MonitorInUse(std::span<const MonitorArea> monitors, const LookPoint& look) {
  if (look.foreground) {
    const auto covered = [&](const MonitorArea& m) {
      return OverlapArea(m.bounds, *look.foreground);
    };
    // The first of equals, as the system chooses.
    const auto most =
        std::max_element(monitors.begin(), monitors.end(),
                         [&](const auto& a, const auto& b) { return covered(a) < covered(b); });
    if (most != monitors.end() && covered(*most) > 0) {
      return static_cast<std::size_t>(most - monitors.begin());
    }
  }
  const auto under = std::find_if(monitors.begin(), monitors.end(), [&](const MonitorArea& m) {
    return Holds(m.bounds, look.cursor);
  });
  return under != monitors.end() ? static_cast<std::size_t>(under - monitors.begin()) : 0;
}

ScreenPoint NoticeOrigin(const MonitorArea& monitor, int width, int height, int margin96) {
  const int margin = margin96 * monitor.dpi / kReferenceDpi;
  const ScreenRect& work = monitor.work;
  return {std::max(work.left, work.right - width - margin),
          std::max(work.top, work.bottom - height - margin)};
}

}  // namespace qx::blocker
