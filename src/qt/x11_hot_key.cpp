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

// Keys whose virtual-key codes and keysyms both run in the same order:
// letters, digits, the keypad's digits, F1 to F24.
struct KeyRun {
  int firstKey;
  int lastKey;
  unsigned long firstKeySym;
};
constexpr KeyRun kKeyRuns[] = {
    {'A', 'Z', XK_a},
    {'0', '9', XK_0},
    {0x60, 0x69, XK_KP_0},
    {0x70, 0x87, XK_F1},
};

// The other keys with an X counterpart, by virtual-key code.
struct KeyPair {
  int virtualKey;
  unsigned long keysym;
};
constexpr KeyPair kKeyPairs[] = {
    {0x08, XK_BackSpace},
    {0x09, XK_Tab},
    {0x0D, XK_Return},
    {0x13, XK_Pause},
    {0x1B, XK_Escape},
    {0x20, XK_space},
    {0x21, XK_Prior},
    {0x22, XK_Next},
    {0x23, XK_End},
    {0x24, XK_Home},
    {0x25, XK_Left},
    {0x26, XK_Up},
    {0x27, XK_Right},
    {0x28, XK_Down},
    {0x2C, XK_Print},
    {0x2D, XK_Insert},
    {0x2E, XK_Delete},
    {0x6A, XK_KP_Multiply},
    {0x6B, XK_KP_Add},
    {0x6D, XK_KP_Subtract},
    {0x6E, XK_KP_Decimal},
    {0x6F, XK_KP_Divide},
    {0x90, XK_Num_Lock},
    {0x91, XK_Scroll_Lock},
    // The US layout's punctuation keys (VK_OEM_*).
    {0xBA, XK_semicolon},
    {0xBB, XK_equal},
    {0xBC, XK_comma},
    {0xBD, XK_minus},
    {0xBE, XK_period},
    {0xBF, XK_slash},
    {0xC0, XK_grave},
    {0xDB, XK_bracketleft},
    {0xDC, XK_backslash},
    {0xDD, XK_bracketright},
    {0xDE, XK_apostrophe},
};

}  // namespace

std::string KeySymName(unsigned long keysym) {
  const char* name = keysym != 0 ? XKeysymToString(keysym) : nullptr;
  return name != nullptr ? name : "";
}

unsigned long VirtualKeyToKeySym(int virtualKey) {
  for (const KeyRun& run : kKeyRuns) {
    if (virtualKey >= run.firstKey && virtualKey <= run.lastKey) {
      return run.firstKeySym + static_cast<unsigned>(virtualKey - run.firstKey);
    }
  }
  for (const KeyPair& pair : kKeyPairs) {
    if (pair.virtualKey == virtualKey) return pair.keysym;
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
