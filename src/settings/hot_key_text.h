// The text form of a hot key ("F4", "Ctrl+Alt+Q"), as the settings file stores
// it and the user sees it.
#pragma once

#include <string>
#include <string_view>

#include "platform/key_names.h"

namespace wh {

// A key code (Windows virtual-key numbering) with its modifiers. The default
// value, key 0 without modifiers, is "no hot key".
struct HotKeyCombo {
  int key = 0;
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  friend bool operator==(const HotKeyCombo&, const HotKeyCombo&) = default;
};

// F4: the hot key of a settings record that names none of its own.
constexpr HotKeyCombo kDefaultHotKey{0x73};

// "Shift+", "Ctrl+", "Alt+" (in this order, for the modifiers held) and the
// key's name; the empty text when the key has no name, whatever the modifiers.
// Keys outside the program's own table are named by the keyboard layout.
std::string FormatHotKeyText(const HotKeyCombo& hotKey, const KeyNames& keyNames);

// Takes "Shift+", "Ctrl+" or "^", "Alt+" off the front as often as they come,
// ignoring case, then looks for the lowest key code (8 to 255) whose name is
// the rest, ignoring case. No hot key when nothing is left or no name fits.
HotKeyCombo ParseHotKeyText(std::string_view text, const KeyNames& keyNames);

}  // namespace wh
