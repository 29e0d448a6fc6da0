#include "qt/qt_hot_key_field.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace wh {
namespace {

constexpr int kVkBack = 0x08, kVkTab = 0x09, kVkReturn = 0x0D, kVkEscape = 0x1B, kVkSpace = 0x20,
              kVkDelete = 0x2E;

struct KeyCode {
  int qtKey;
  int virtualKey;
};

// Keys off the keypad. The shifted symbols of the top row and of the
// punctuation keys name the key they sit on in the US layout, since the
// combination is stored by key, not by character.
constexpr KeyCode kMainKeys[] = {
    {Qt::Key_Backspace, kVkBack}, {Qt::Key_Tab, kVkTab},       {Qt::Key_Backtab, kVkTab},
    {Qt::Key_Clear, 0x0C},        {Qt::Key_Return, kVkReturn}, {Qt::Key_Enter, kVkReturn},
    {Qt::Key_Pause, 0x13},        {Qt::Key_Escape, kVkEscape}, {Qt::Key_Space, kVkSpace},
    {Qt::Key_PageUp, 0x21},       {Qt::Key_PageDown, 0x22},    {Qt::Key_End, 0x23},
    {Qt::Key_Home, 0x24},         {Qt::Key_Left, 0x25},        {Qt::Key_Up, 0x26},
    {Qt::Key_Right, 0x27},        {Qt::Key_Down, 0x28},        {Qt::Key_Print, 0x2C},
    {Qt::Key_Insert, 0x2D},       {Qt::Key_Delete, kVkDelete}, {Qt::Key_Help, 0x2F},
    {Qt::Key_Menu, 0x5D},         {Qt::Key_ScrollLock, 0x91},  {Qt::Key_ParenRight, 0x30},
    {Qt::Key_Exclam, 0x31},       {Qt::Key_At, 0x32},          {Qt::Key_NumberSign, 0x33},
    {Qt::Key_Dollar, 0x34},       {Qt::Key_Percent, 0x35},     {Qt::Key_AsciiCircum, 0x36},
    {Qt::Key_Ampersand, 0x37},    {Qt::Key_Asterisk, 0x38},    {Qt::Key_ParenLeft, 0x39},
    {Qt::Key_Semicolon, 0xBA},    {Qt::Key_Colon, 0xBA},       {Qt::Key_Equal, 0xBB},
    {Qt::Key_Plus, 0xBB},         {Qt::Key_Comma, 0xBC},       {Qt::Key_Less, 0xBC},
    {Qt::Key_Minus, 0xBD},        {Qt::Key_Underscore, 0xBD},  {Qt::Key_Period, 0xBE},
    {Qt::Key_Greater, 0xBE},      {Qt::Key_Slash, 0xBF},       {Qt::Key_Question, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0},    {Qt::Key_AsciiTilde, 0xC0},  {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_BraceLeft, 0xDB},    {Qt::Key_Backslash, 0xDC},   {Qt::Key_Bar, 0xDC},
    {Qt::Key_BracketRight, 0xDD}, {Qt::Key_BraceRight, 0xDD},  {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_QuoteDbl, 0xDE},
};

// The keypad's own codes; its navigation keys (Num Lock off) and Enter are
// those of the main block.
constexpr KeyCode kKeypadKeys[] = {
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B},  {Qt::Key_Minus, 0x6D},
    {Qt::Key_Period, 0x6E},   {Qt::Key_Comma, 0x6E}, {Qt::Key_Slash, 0x6F},
};

bool IsModifierKey(int key) {
  switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
      return true;
    default:
      return false;
  }
}

// The modifiers held once `event`'s own key is down: X11 reports a
// modifier key's press with the state from before it.
Qt::KeyboardModifiers HeldModifiers(const QKeyEvent& event) {
  Qt::KeyboardModifiers modifiers = event.modifiers();
  if (event.key() == Qt::Key_Shift) modifiers |= Qt::ShiftModifier;
  if (event.key() == Qt::Key_Control) modifiers |= Qt::ControlModifier;
  if (event.key() == Qt::Key_Alt) modifiers |= Qt::AltModifier;
  return modifiers;
}

}  // namespace

int VirtualKeyFromQtKey(int qtKey, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::KeypadModifier) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 0x60 + (qtKey - Qt::Key_0);
    for (const KeyCode& code : kKeypadKeys) {
      if (code.qtKey == qtKey) return code.virtualKey;
    }
  }
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 0x30 + (qtKey - Qt::Key_0);
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 0x41 + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 0x70 + (qtKey - Qt::Key_F1);
  for (const KeyCode& code : kMainKeys) {
    if (code.qtKey == qtKey) return code.virtualKey;
  }
  return 0;
}

QtHotKeyField::QtHotKeyField(QWidget* parent) : QLineEdit(parent) {
  // Typing records keys; nothing else may change the text.
  setReadOnly(true);
  setContextMenuPolicy(Qt::NoContextMenu);
  setAcceptDrops(false);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  setFocusPolicy(Qt::StrongFocus);
  ShowHotKey();
}

void QtHotKeyField::SetHotKey(const HotKeyCombo& hotKey) {
  hotKey_ = hotKey;
  ShowHotKey();
}

void QtHotKeyField::ShowHotKey() {
  setText(QString::fromStdString(FormatHotKeyText(hotKey_, keyNames_)));
}

bool QtHotKeyField::event(QEvent* event) {
  // Keys pressed here are for recording: the window's shortcuts must not
  // take them first.
  if (event->type() == QEvent::ShortcutOverride) {
    event->accept();
    return true;
  }
  return QLineEdit::event(event);
}

void QtHotKeyField::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (IsModifierKey(key)) {
    // While only modifiers are down, show them waiting for their key.
    const Qt::KeyboardModifiers held = HeldModifiers(*event);
    QString pending;
    if (held & Qt::ShiftModifier) pending += QStringLiteral("Shift+");
    if (held & Qt::ControlModifier) pending += QStringLiteral("Ctrl+");
    if (held & Qt::AltModifier) pending += QStringLiteral("Alt+");
    if (!pending.isEmpty()) setText(pending);
    event->accept();
    return;
  }
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  HotKeyCombo typed;
  typed.key = VirtualKeyFromQtKey(key, modifiers);
  typed.ctrl = (modifiers & Qt::ControlModifier) != 0;
  typed.alt = (modifiers & Qt::AltModifier) != 0;
  // A key alone or with Shift alone is the bare key; Ctrl or Alt keep all.
  typed.shift = (typed.ctrl || typed.alt) && (modifiers & Qt::ShiftModifier) != 0;
  if (!typed.ctrl && !typed.alt) {
    switch (typed.key) {
      case kVkBack:
      case kVkDelete:
        // The way to empty the field: no hot key.
        SetHotKey({});
        event->accept();
        return;
      case kVkTab:
      case kVkReturn:
      case kVkEscape:
      case kVkSpace:
        // Bare, these belong to the window (and would be poor hot keys).
        ShowHotKey();
        event->ignore();
        return;
      default:
        break;
    }
  }
  // A key without a name would be saved as no hot key at all; and only a
  // name the fixed table knows reads back as the same key on every system.
  if (FormatHotKeyText(typed, keyNames_).empty()) {
    ShowHotKey();
    event->accept();
    return;
  }
  SetHotKey(typed);
  event->accept();
}

void QtHotKeyField::keyReleaseEvent(QKeyEvent* event) {
  // Modifiers let go without a key: the recorded combination stands.
  if (IsModifierKey(event->key())) ShowHotKey();
  event->accept();
}

void QtHotKeyField::focusOutEvent(QFocusEvent* event) {
  ShowHotKey();
  QLineEdit::focusOutEvent(event);
}

}  // namespace wh
