// The global hot key on X11: a passive key grab on the root window of the X
// connection Qt itself uses, and a native event filter that sees the grabbed
// key arrive. Where there is no X11 connection (Wayland) no key can be
// grabbed and every registration fails.
#pragma once

#include <QAbstractNativeEventFilter>
#include <functional>
#include <string>

#include "settings/hot_key_text.h"

namespace wh {

// The X keysym for a key code in Windows virtual-key numbering; 0 when the
// key has no sensible X counterpart.
unsigned long VirtualKeyToKeySym(int virtualKey);

// An X keysym's name ("F4", "a"); empty for none.
std::string KeySymName(unsigned long keysym);

class X11HotKey : public QAbstractNativeEventFilter {
 public:
  explicit X11HotKey(std::function<void()> onPressed);
  ~X11HotKey() override;
  X11HotKey(const X11HotKey&) = delete;
  X11HotKey& operator=(const X11HotKey&) = delete;

  // Grabs `hotKey` (giving up any key grabbed before); false when there is
  // no X11 display, the key has no keysym or keycode, or another client
  // holds the combination.
  bool Register(const HotKeyCombo& hotKey);
  void Unregister();
  bool IsRegistered() const { return keycode_ != 0; }

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  std::function<void()> onPressed_;
  unsigned keycode_ = 0;
  unsigned modifiers_ = 0;
};

}  // namespace wh
