#include "settings/hot_key_text.h"

#include "base/text.h"

namespace wh {

namespace {

bool TakePrefix(std::string_view& text, std::string_view prefix) {
  if (text.size() < prefix.size() || !AsciiEqualIgnoringCase(text.substr(0, prefix.size()), prefix))
    return false;
  text.remove_prefix(prefix.size());
  return true;
}

// The name of a key without modifiers: our own for the common keys, so that
// the settings file reads the same under every keyboard layout.
std::string KeyName(int key, const KeyNames& keyNames) {
  static constexpr std::string_view kSpaceToDown[] = {"Space", "PgUp", "PgDn",  "End", "Home",
                                                      "Left",  "Up",   "Right", "Down"};
  switch (key) {
    case 0x08:
      return "BkSp";
    case 0x09:
      return "Tab";
    case 0x0D:
      return "Enter";
    case 0x1B:
      return "Esc";
    case 0x2D:
      return "Ins";
    case 0x2E:
      return "Del";
    default:
      break;
  }
  if (key >= 0x20 && key <= 0x28) return std::string(kSpaceToDown[key - 0x20]);
  if (key >= 0x30 && key <= 0x39) return std::string(1, static_cast<char>('0' + key - 0x30));
  if (key >= 0x41 && key <= 0x5A) return std::string(1, static_cast<char>('A' + key - 0x41));
  if (key >= 0x60 && key <= 0x69) return std::string(1, static_cast<char>('0' + key - 0x60));
  if (key >= 0x70 && key <= 0x87) return "F" + std::to_string(key - 0x70 + 1);
  if (key < 1 || key > 0xFF) return {};
  return keyNames.LayoutKeyName(key);
}

}  // namespace

std::string FormatHotKeyText(const HotKeyCombo& hotKey, const KeyNames& keyNames) {
  std::string name = KeyName(hotKey.key, keyNames);
  if (name.empty()) return {};
  std::string text;
  if (hotKey.shift) text += "Shift+";
  if (hotKey.ctrl) text += "Ctrl+";
  if (hotKey.alt) text += "Alt+";
  return text + name;
}

HotKeyCombo ParseHotKeyText(std::string_view text, const KeyNames& keyNames) {
  HotKeyCombo hotKey;
  for (;;) {
    if (TakePrefix(text, "Shift+")) {
      hotKey.shift = true;
    } else if (TakePrefix(text, "^") || TakePrefix(text, "Ctrl+")) {
      hotKey.ctrl = true;
    } else if (TakePrefix(text, "Alt+")) {
      hotKey.alt = true;
    } else {
      break;
    }
  }
  if (text.empty()) return {};
  for (int key = 0x08; key <= 0xFF; ++key) {
    std::string name = KeyName(key, keyNames);
    if (!name.empty() && AsciiEqualIgnoringCase(name, text)) {
      hotKey.key = key;
      return hotKey;
    }
  }
  return {};
}

}  // namespace wh
