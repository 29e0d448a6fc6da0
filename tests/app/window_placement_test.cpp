#include "app/window_placement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wh {
namespace {

// The main screen, the task bar at its bottom; one to its left, at negative
// coordinates, and one to its right.
const Monitor kMain{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}};
const Monitor kLeft{{-1280, 0, 0, 1024}, {-1280, 0, 0, 984}};
const Monitor kRight{{1920, 0, 3840, 1080}, {1920, 0, 3840, 1040}};

TEST(WindowPlacementTest, OnScreenStaysExactlyOffScreenGoesToTheNearestWorkArea) {
  const struct {
    const char* what;
    std::vector<Monitor> monitors;
    int left, top, width, height;
    int placedLeft, placedTop;
  } cases[] = {
      {"on screen", {kMain}, 100, 200, 471, 109, 100, 200},
      {"partly over the right edge, most of it on", {kMain}, 1600, 200, 471, 109, 1600, 200},
      {"exactly half on", {kMain}, -200, 200, 400, 100, -200, 200},
      {"over the task bar", {kMain}, 100, 1000, 471, 109, 100, 1000},
      {"wholly off to the right", {kMain}, 5000, 200, 471, 109, 1449, 200},
      {"wholly off to the left", {kMain}, -5000, 200, 471, 109, 0, 200},
      {"wholly below", {kMain}, 100, 3000, 471, 109, 100, 931},
      {"wholly above", {kMain}, 100, -5000, 471, 109, 100, 0},
      {"off both ways", {kMain}, 5000, -5000, 471, 109, 1449, 0},
      {"mostly off to the left", {kMain}, -300, 200, 471, 109, 0, 200},
      {"a little less than half on", {kMain}, -201, 200, 400, 100, 0, 200},
      {"on the monitor at negative x", {kMain, kLeft}, -1000, 300, 471, 109, -1000, 300},
      {"across two monitors, neither holding half",
       {kMain, kRight},
       1700,
       -40,
       471,
       109,
       1700,
       -40},
      {"off to the left: the monitor at negative x",
       {kMain, kLeft},
       -5000,
       300,
       471,
       109,
       -1280,
       300},
      {"off to the right: the main one", {kMain, kLeft}, 5000, 300, 471, 109, 1449, 300},
      {"below the left one", {kMain, kLeft}, -1000, 3000, 471, 109, -1000, 875},
      {"mostly off, the monitor it overlaps", {kMain, kLeft}, -1300, -100, 471, 109, -1280, 0},
      {"between two monitors: the nearer", {kLeft, kRight}, 200, 300, 471, 109, -471, 300},
      {"halfway between two: the first", {kLeft, kRight}, 724, 300, 472, 109, -472, 300},
      {"mirrored monitors count their pixels once", {kMain, kMain}, -250, 200, 400, 100, 0, 200},
      {"larger than the work area, on screen", {kMain}, 0, 0, 2000, 1200, 0, 0},
      {"larger than the work area, off screen", {kMain}, 5000, 5000, 2000, 1200, 0, 0},
      {"no monitors known", {}, 5000, 200, 471, 109, 5000, 200},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const ScreenRect window{c.left, c.top, c.left + c.width, c.top + c.height};
    const ScreenRect placed = PlaceOnMonitors(window, c.monitors);
    EXPECT_EQ(placed, (ScreenRect{c.placedLeft, c.placedTop, c.placedLeft + c.width,
                                  c.placedTop + c.height}));
  }
}

}  // namespace
}  // namespace wh
