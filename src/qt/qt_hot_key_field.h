// The hot-key field of the settings window: pressing a key combination fills
// it, as the Windows hot-key control does. It holds the combination in
// Windows virtual-key numbering, the numbering of the settings file.
#pragma once

#include <QLineEdit>

#include "posix/posix_key_names.h"
#include "settings/hot_key_text.h"

namespace wh {

// The Windows virtual-key code for a Qt key, 0 when there is none. The
// keypad's digits and operators have codes of their own.
int VirtualKeyFromQtKey(int qtKey, Qt::KeyboardModifiers modifiers);

class QtHotKeyField : public QLineEdit {
  Q_OBJECT

 public:
  explicit QtHotKeyField(QWidget* parent = nullptr);

  // Shows `hotKey` as it comes; the typing rules apply to typed keys only.
  void SetHotKey(const HotKeyCombo& hotKey);
  HotKeyCombo HotKey() const { return hotKey_; }

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void ShowHotKey();

  HotKeyCombo hotKey_;
  PosixKeyNames keyNames_;
};

}  // namespace wh
