#include "qt/qt_message_box.h"

#include <QMessageBox>

namespace wh {

QString MessageBoxText(const std::string& text) {
  constexpr QChar kWordJoiner(0x2060);
  const QString plain = QString::fromStdString(text);
  QString shown;
  shown.reserve(plain.size() + 32);
  qsizetype from = 0;
  for (;;) {
    const qsizetype open = plain.indexOf(u'"', from);
    const qsizetype close = open < 0 ? -1 : plain.indexOf(u'"', open + 1);
    if (close < 0) break;
    shown += plain.mid(from, open + 1 - from);
    const QString inside = plain.mid(open + 1, close - open - 1);
    if (inside.contains(u' ') || inside.contains(u'\n')) {
      shown += inside;
    } else {
      for (qsizetype i = 0; i < inside.size(); ++i) {
        if (i > 0) shown += kWordJoiner;
        shown += inside[i];
      }
    }
    shown += u'"';
    from = close + 1;
  }
  shown += plain.mid(from);
  return shown;
}

void ShowMessageBox(const std::string& text, QWidget* owner, bool onTop) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Wordhopper"), MessageBoxText(text),
                  QMessageBox::Ok, owner);
  if (owner == nullptr && onTop) box.setWindowFlag(Qt::WindowStaysOnTopHint);
  box.exec();
}

}  // namespace wh
