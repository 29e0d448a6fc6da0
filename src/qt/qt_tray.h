// The tray icon and its menu. The menu is the same one the boxes' context
// menu shows; its items and captions are the main window's table's.
#pragma once

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <functional>
#include <string>

#include "app/main_layout.h"

namespace wh {

// The program's icon (also the windows' icon).
QIcon ProgramIcon();

class QtTray : public QObject {
  Q_OBJECT

 public:
  explicit QtTray(std::function<void(main_layout::TrayCommand)> onCommand,
                  QObject* parent = nullptr);

  // The tip shows the hint up to its first '|'.
  void SetHint(const std::string& hint);
  // The key text beside the caption of "Show Wordhopper"; "" for none.
  void SetShowShortcut(const std::string& keyText);
  // Opens the menu at `at` (global), the mouse pointer by default.
  void PopUpMenu(QPoint at = QCursor::pos());
  QMenu& Menu() { return menu_; }
  QSystemTrayIcon& Icon() { return icon_; }

 private:
  std::function<void(main_layout::TrayCommand)> onCommand_;
  QMenu menu_;
  QAction* show_ = nullptr;
  QSystemTrayIcon icon_;
};

}  // namespace wh
