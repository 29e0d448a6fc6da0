#include "app/settings_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace wh {
namespace {

using namespace settings_layout;

int ScaledTo(int pixels, int dpi) { return (pixels * dpi + 48) / 96; }

// The settings window as laid out at the chosen DPI fits the room, and one
// more dot per inch would not, unless the monitor's own DPI already fits.
TEST(SettingsLayoutTest, FittingDpiIsTheLargestThatFits) {
  for (int dpi : {96, 120, 144, 192}) {
    for (int roomHeight = 400; roomHeight <= 1400; roomHeight += 7) {
      const int roomWidth = roomHeight * 16 / 10;
      SCOPED_TRACE(std::to_string(dpi) + " dpi, room " + std::to_string(roomWidth) + " x " +
                   std::to_string(roomHeight));
      const int fit = FittingDpi(dpi, roomWidth, roomHeight);
      ASSERT_LE(fit, dpi);
      EXPECT_LE(ScaledTo(kClientWidth, fit), roomWidth);
      EXPECT_LE(ScaledTo(kClientHeight, fit), roomHeight);
      if (fit < dpi) {
        EXPECT_TRUE(ScaledTo(kClientWidth, fit + 1) > roomWidth ||
                    ScaledTo(kClientHeight, fit + 1) > roomHeight);
      }
    }
  }
  // 150 % on a 1280 x 800 screen, the frame's caption and borders taken off.
  EXPECT_EQ(FittingDpi(144, 1272, 762), 123);
  EXPECT_EQ(FittingDpi(120, 1272, 762), 120);
  // A room too small for any readable text keeps half the design's DPI.
  EXPECT_EQ(FittingDpi(96, 100, 100), 48);
}

TEST(SettingsLayoutTest, LinuxCaptionsNameLauncherEntriesAndTheLinuxDesktop) {
  std::vector<std::pair<std::string, std::string>> changed;
  for (const OptionRow& row : kOptions) {
    const std::string windows = Caption(row, Wording::Windows);
    EXPECT_EQ(windows, row.caption);
    const std::string onLinux = Caption(row, Wording::Linux);
    if (onLinux != windows) changed.emplace_back(windows, onLinux);
  }
  EXPECT_EQ(changed,
            (std::vector<std::pair<std::string, std::string>>{
                {"User start menu (*.lnk)", "User start menu (*.desktop)"},
                {"All users start menu (*.lnk)", "All users start menu (*.desktop)"},
                {"Recent files (*.lnk)", "Recent files"},
                {"User desktop (*.lnk)", "User desktop (*.desktop)"},
                {"All users desktop (*.lnk)", "All users desktop (*.desktop)"},
                {"Favorites (*.*)", "Favorites (bookmarked folders)"},
                {"Start Wordhopper with windows.", "Start Wordhopper when you log in."},
                {"Show Windows find dialog when a keyword pattern does not match any item.",
                 "Open the file manager when a keyword pattern does not match any item."}}));
}

}  // namespace
}  // namespace wh
