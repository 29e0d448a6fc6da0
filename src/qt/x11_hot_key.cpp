#include "qt/x11_hot_key.h"

#include <xcb/xcb.h>
#include <QGuiApplication>
#include <QTimer>
#include <cstdlib>

// Xlib's macros (None, Bool, KeyPress…) would clash with Qt's names, so its
// headers come last.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace wh {
namespace {

// The X connection Qt uses; nullptr without one. Qt's offscreen platform
// answers to the X11 interface without having a connection.
QNativeInterface::QX11Application* X11() {
  auto* x11 =
      qApp != nullptr ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (x11 == nullptr || x11->display() == nullptr || x11->connection() == nullptr) return nullptr;
  return x11;
}

xcb_window_t ScreenRoot(xcb_connection_t* connection) {
  return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

// NumLock and CapsLock change the state a key arrives with; the grab has to
// cover every combination of them, and the filter has to look past them.
constexpr unsigned kLockMasks[] = {0, LockMask, Mod2Mask, LockMask | Mod2Mask};
constexpr unsigned kComboMask = ShiftMask | ControlMask | Mod1Mask;

void Ungrab(xcb_connection_t* connection, xcb_window_t root, unsigned keycode, unsigned modifiers) {
  for (unsigned lock : kLockMasks) {
    xcb_ungrab_key(connection, static_cast<xcb_keycode_t>(keycode), root,
                   static_cast<uint16_t>(modifiers | lock));
  }
  xcb_flush(connection);
}

}  // namespace

std::string KeySymName(unsigned long keysym) {
  const char* name = keysym != 0 ? XKeysymToString(keysym) : nullptr;
  return name != nullptr ? name : "";
}

unsigned long VirtualKeyToKeySym(int virtualKey) {
  if (virtualKey >= 'A' && virtualKey <= 'Z') return XK_a + static_cast<unsigned>(virtualKey - 'A');
  if (virtualKey >= '0' && virtualKey <= '9') return XK_0 + static_cast<unsigned>(virtualKey - '0');
  if (virtualKey >= 0x60 && virtualKey <= 0x69)
    return XK_KP_0 + static_cast<unsigned>(virtualKey - 0x60);
  if (virtualKey >= 0x70 && virtualKey <= 0x87)
    return XK_F1 + static_cast<unsigned>(virtualKey - 0x70);
  switch (virtualKey) {
    case 0x08:
      return XK_BackSpace;
    case 0x09:
      return XK_Tab;
    case 0x0D:
      return XK_Return;
    case 0x13:
      return XK_Pause;
    case 0x1B:
      return XK_Escape;
    case 0x20:
      return XK_space;
    case 0x21:
      return XK_Prior;
    case 0x22:
      return XK_Next;
    case 0x23:
      return XK_End;
    case 0x24:
      return XK_Home;
    case 0x25:
      return XK_Left;
    case 0x26:
      return XK_Up;
    case 0x27:
      return XK_Right;
    case 0x28:
      return XK_Down;
    case 0x2C:
      return XK_Print;
    case 0x2D:
      return XK_Insert;
    case 0x2E:
      return XK_Delete;
    case 0x6A:
      return XK_KP_Multiply;
    case 0x6B:
      return XK_KP_Add;
    case 0x6D:
      return XK_KP_Subtract;
    case 0x6E:
      return XK_KP_Decimal;
    case 0x6F:
      return XK_KP_Divide;
    case 0x90:
      return XK_Num_Lock;
    case 0x91:
      return XK_Scroll_Lock;
    // The US layout's punctuation keys (VK_OEM_*).
    case 0xBA:
      return XK_semicolon;
    case 0xBB:
      return XK_equal;
    case 0xBC:
      return XK_comma;
    case 0xBD:
      return XK_minus;
    case 0xBE:
      return XK_period;
    case 0xBF:
      return XK_slash;
    case 0xC0:
      return XK_grave;
    case 0xDB:
      return XK_bracketleft;
    case 0xDC:
      return XK_backslash;
    case 0xDD:
      return XK_bracketright;
    case 0xDE:
      return XK_apostrophe;
  }
  return 0;
}

X11HotKey::X11HotKey(std::function<void()> onPressed) : onPressed_(std::move(onPressed)) {
  if (qApp != nullptr) qApp->installNativeEventFilter(this);
}

X11HotKey::~X11HotKey() {
  Unregister();
  if (qApp != nullptr) qApp->removeNativeEventFilter(this);
}

bool X11HotKey::Register(const HotKeyCombo& hotKey) {
  Unregister();
  auto* x11 = X11();
  if (x11 == nullptr) return false;
  const unsigned long keysym = VirtualKeyToKeySym(hotKey.key);
  if (keysym == 0) return false;
  const unsigned keycode = XKeysymToKeycode(x11->display(), keysym);
  if (keycode == 0) return false;
  const unsigned modifiers = (hotKey.shift ? ShiftMask : 0) | (hotKey.ctrl ? ControlMask : 0) |
                             (hotKey.alt ? Mod1Mask : 0);
  xcb_connection_t* connection = x11->connection();
  const xcb_window_t root = ScreenRoot(connection);

  // Checked requests: the error (BadAccess when another client holds the
  // combination) comes back here instead of landing in Qt's event queue.
  bool granted = true;
  for (unsigned lock : kLockMasks) {
    xcb_void_cookie_t cookie = xcb_grab_key_checked(
        connection, 1, root, static_cast<uint16_t>(modifiers | lock),
        static_cast<xcb_keycode_t>(keycode), XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    if (xcb_generic_error_t* error = xcb_request_check(connection, cookie)) {
      granted = false;
      free(error);
    }
  }
  if (!granted) {
    // Some variants may have been granted; none is kept.
    Ungrab(connection, root, keycode, modifiers);
    return false;
  }
  keycode_ = keycode;
  modifiers_ = modifiers;
  return true;
}

void X11HotKey::Unregister() {
  if (keycode_ == 0) return;
  if (auto* x11 = X11())
    Ungrab(x11->connection(), ScreenRoot(x11->connection()), keycode_, modifiers_);
  keycode_ = 0;
  modifiers_ = 0;
}

bool X11HotKey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (keycode_ == 0 || eventType != "xcb_generic_event_t") return false;
  auto* event = static_cast<xcb_generic_event_t*>(message);
  if ((event->response_type & ~0x80) != XCB_KEY_PRESS) return false;
  auto* press = reinterpret_cast<xcb_key_press_event_t*>(event);
  if (press->detail != keycode_ || (press->state & kComboMask) != modifiers_) return false;
  // Handled after the event has gone its way: Qt takes the X server's time
  // from it, and without that the window raised from the second press on
  // would not get the focus. The handler may also open modal boxes, which
  // must not run inside the event filter.
  if (onPressed_) QTimer::singleShot(0, qApp, onPressed_);
  return false;
}

}  // namespace wh
