#include "qt/qt_tray.h"

#include <QCursor>

namespace wh {

QIcon ProgramIcon() {
  // An installed icon theme's picture when there is one, at every size.
  return QIcon::fromTheme(QStringLiteral("wordhopper"), QIcon(QStringLiteral(":/wordhopper.png")));
}

QtTray::QtTray(std::function<void(main_layout::TrayCommand)> onCommand, QObject* parent)
    : QObject(parent), onCommand_(std::move(onCommand)) {
  for (const main_layout::TrayMenuItem& item : main_layout::kTrayMenu) {
    QAction* action = menu_.addAction(QString::fromUtf8(item.caption));
    const main_layout::TrayCommand command = item.command;
    // Queued: the menu closes before a handler opens a window or a message.
    connect(
        action, &QAction::triggered, this,
        [this, command] {
          if (onCommand_) onCommand_(command);
        },
        Qt::QueuedConnection);
    if (command == main_layout::TrayCommand::Show) show_ = action;
  }
  icon_.setIcon(ProgramIcon());
  icon_.setContextMenu(&menu_);
  connect(&icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
    if (why == QSystemTrayIcon::Trigger) PopUpMenu();
  });
  // Without a tray the program goes on through the hot key and a second
  // start; nothing is said about it.
  if (QSystemTrayIcon::isSystemTrayAvailable()) icon_.show();
}

void QtTray::SetHint(const std::string& hint) {
  icon_.setToolTip(QString::fromStdString(hint.substr(0, hint.find('|'))));
}

void QtTray::SetShowShortcut(const std::string& keyText) {
  show_->setText(QString::fromStdString(main_layout::ShowCaption(keyText)));
}

void QtTray::PopUpMenu(QPoint at) { menu_.popup(at); }

}  // namespace wh
