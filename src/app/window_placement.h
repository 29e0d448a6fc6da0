// Where the main window goes among the monitors there are now: a window
// saved on a monitor since unplugged must not open where nobody can see it.
#pragma once

#include <vector>

namespace wh {

// A rectangle in screen pixels: left and top inside it, right and bottom
// just past it.
struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// One monitor: the whole of it, and its work area (less the task bar or the
// desktop's panels), in the coordinates windows are placed in.
struct Monitor {
  ScreenRect bounds;
  ScreenRect workArea;
};

// Where the window whose rectangle is `window` belongs. It stays exactly
// where it is while at least half of its area is on the monitors, together;
// otherwise it goes into the work area of the nearest monitor (the one it
// overlaps most, else the one at the shortest distance; the first of equals),
// moved no further than it takes to be wholly inside, or to have its left and
// top edges on the work area's when it is larger. No monitors: it stays.
ScreenRect PlaceOnMonitors(const ScreenRect& window, const std::vector<Monitor>& monitors);

}  // namespace wh
