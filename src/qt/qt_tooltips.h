// The program's tooltips keep the Windows program's times: a tip comes after
// the pointer rests 1000 ms on a control, goes after 2500 ms, and the next
// control's tip follows at once while one is up.
#pragma once

#include <QObject>

class QApplication;

namespace wh {

inline constexpr int kTooltipWakeUpMs = 1000;
inline constexpr int kTooltipShownMs = 2500;

// Gives `app` these times, for every window it has now or later.
void UseWindowsTooltipTimes(QApplication& app);

// Shows a widget's tip for kTooltipShownMs, whatever the widget's own
// duration; installed on the application by UseWindowsTooltipTimes.
class TooltipTimes : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace wh
