// The tips the program shows itself, for its own display time.
#include "qt/qt_tooltips.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QToolTip>

namespace wh {
namespace {

TEST(TooltipTimesTest, ShowsTheWidgetsOwnTipAndLeavesOthersAlone) {
  QLineEdit withTip, withoutTip;
  withTip.setToolTip(QStringLiteral("Type a folder"));
  TooltipTimes times;
  withTip.show();
  // Taken by the filter (Qt's own showing would time the tip by its length).
  QHelpEvent help(QEvent::ToolTip, QPoint(1, 1), withTip.mapToGlobal(QPoint(1, 1)));
  EXPECT_TRUE(times.eventFilter(&withTip, &help));
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(), QStringLiteral("Type a folder"));
  QHelpEvent plain(QEvent::ToolTip, QPoint(1, 1), QPoint(1, 1));
  EXPECT_FALSE(times.eventFilter(&withoutTip, &plain));
  QEvent other(QEvent::Show);
  EXPECT_FALSE(times.eventFilter(&withTip, &other));
  QToolTip::hideText();
}

}  // namespace
}  // namespace wh
