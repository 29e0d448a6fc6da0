#include "app/window_placement.h"

#include <algorithm>
#include <cstdint>

namespace wh {
namespace {

// Coordinates as 64-bit numbers: a position read from a settings file may be
// anywhere in the 32-bit range, and its window's far edge past it.
struct Box {
  std::int64_t left, top, right, bottom;

  bool Empty() const { return left >= right || top >= bottom; }
  std::int64_t Area() const { return Empty() ? 0 : (right - left) * (bottom - top); }
};

Box BoxOf(const ScreenRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

Box Overlap(const Box& a, const Box& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

// The area of the union of `boxes`: monitors that mirror each other cover the
// same pixels, which count once.
std::int64_t UnionArea(const std::vector<Box>& boxes) {
  std::vector<std::int64_t> xs, ys;
  for (const Box& box : boxes) {
    xs.insert(xs.end(), {box.left, box.right});
    ys.insert(ys.end(), {box.top, box.bottom});
  }
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  std::int64_t area = 0;
  for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
    for (std::size_t j = 0; j + 1 < ys.size(); ++j) {
      const Box cell{xs[i], ys[j], xs[i + 1], ys[j + 1]};
      const bool covered = std::any_of(boxes.begin(), boxes.end(), [&](const Box& box) {
        return box.left <= cell.left && cell.right <= box.right && box.top <= cell.top &&
               cell.bottom <= box.bottom;
      });
      if (covered) area += cell.Area();
    }
  }
  return area;
}

// The gap between two boxes, squared; 0 when they touch or overlap. As a
// double: the gap may be wider than a 32-bit number, its square than 64 bits.
double GapSquared(const Box& a, const Box& b) {
  const double dx =
      static_cast<double>(std::max<std::int64_t>({0, b.left - a.right, a.left - b.right}));
  const double dy =
      static_cast<double>(std::max<std::int64_t>({0, b.top - a.bottom, a.top - b.bottom}));
  return dx * dx + dy * dy;
}

// `start` moved no further than it takes for [start, start + length) to lie
// in [low, high); `low` when it is longer.
std::int64_t Fit(std::int64_t start, std::int64_t length, std::int64_t low, std::int64_t high) {
  return std::max(low, std::min(start, high - length));
}

}  // namespace

ScreenRect PlaceOnMonitors(const ScreenRect& window, const std::vector<Monitor>& monitors) {
  if (monitors.empty()) return window;
  const Box frame = BoxOf(window);
  std::vector<Box> onScreen;
  for (const Monitor& monitor : monitors) {
    const Box part = Overlap(frame, BoxOf(monitor.bounds));
    if (!part.Empty()) onScreen.push_back(part);
  }
  // Exactly half on screen still counts as on screen.
  if (2 * UnionArea(onScreen) >= frame.Area()) return window;

  const auto nearest =
      std::min_element(monitors.begin(), monitors.end(), [&](const Monitor& a, const Monitor& b) {
        const Box boundsA = BoxOf(a.bounds), boundsB = BoxOf(b.bounds);
        const std::int64_t overlapA = Overlap(frame, boundsA).Area();
        const std::int64_t overlapB = Overlap(frame, boundsB).Area();
        if (overlapA != overlapB) return overlapA > overlapB;
        return GapSquared(frame, boundsA) < GapSquared(frame, boundsB);
      });
  const Box area = BoxOf(nearest->workArea);
  const std::int64_t width = frame.right - frame.left;
  const std::int64_t height = frame.bottom - frame.top;
  const std::int64_t left = Fit(frame.left, width, area.left, area.right);
  const std::int64_t top = Fit(frame.top, height, area.top, area.bottom);
  // Inside a work area, which 32 bits hold, or on its left and top edges.
  return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(left + width),
          static_cast<int>(top + height)};
}

}  // namespace wh
