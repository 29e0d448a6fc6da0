#include "qt/qt_tooltips.h"

#include <QApplication>
#include <QHelpEvent>
#include <QProxyStyle>
#include <QToolTip>
#include <QWidget>

namespace wh {
namespace {

// The wait before a tip, and how long after one showed the next comes at
// once: as long as a tip stays up.
class TooltipStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_ToolTip_WakeUpDelay) return kTooltipWakeUpMs;
    if (hint == SH_ToolTip_FallAsleepDelay) return kTooltipShownMs;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

}  // namespace

bool TooltipTimes::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ToolTip || !watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  if (widget->toolTip().isEmpty()) return false;
  // Qt's own time grows with the text's length; the Windows tip's does not.
  QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), widget->toolTip(), widget,
                     QRect(), kTooltipShownMs);
  return true;
}

void UseWindowsTooltipTimes(QApplication& app) {
  QApplication::setStyle(new TooltipStyle(QApplication::style()->name()));
  app.installEventFilter(new TooltipTimes(&app));
}

}  // namespace wh
