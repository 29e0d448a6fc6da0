#include "settings/hot_key_text.h"

#include <gtest/gtest.h>

#include "fakes/fake_key_names.h"
#include "settings/settings.h"

namespace wh {
namespace {

// Names a few keys outside the program's table; its own name for A must lose,
// and its "^" key collides with the Ctrl prefix.
const testing::FakeKeyNames kLayout(
    {{0x13, "Pause"}, {0x41, "LayoutA"}, {0x90, "Num Lock"}, {0xBB, "+"}, {0xDE, "^"}});

HotKeyCombo Combo(int key, bool shift = false, bool ctrl = false, bool alt = false) {
  return {key, shift, ctrl, alt};
}

TEST(HotKeyTextTest, FormatsAndParsesTheDocumentedTexts) {
  struct Case {
    HotKeyCombo hotKey;
    const char* text;
  };
  const Case formatted[] = {
      {Combo(0x73), "F4"},
      {Combo(0x51, 0, 1, 1), "Ctrl+Alt+Q"},
      {Combo(0x74, 1, 1), "Shift+Ctrl+F5"},
      {Combo(0x2E, 1, 1, 1), "Shift+Ctrl+Alt+Del"},
      {Combo(0x65), "5"},
      {Combo(0x87), "F24"},
      {Combo(0x41), "A"},
      {Combo(0x13, 0, 1), "Ctrl+Pause"},
      {Combo(0x29, 1, 1, 1), ""},
      {Combo(0x88), ""},
      {Combo(0, 1, 1, 1), ""},
      {Combo(0x100, 0, 1), ""},
  };
  for (const Case& c : formatted) EXPECT_EQ(FormatHotKeyText(c.hotKey, kLayout), c.text);
  // The key a front end shows before the settings are read is theirs.
  EXPECT_EQ(FormatHotKeyText(kDefaultHotKey, kLayout), Settings().HotKey);

  const Case parsed[] = {
      {Combo(0x51, 0, 1, 1), "ctrl+alt+q"},
      {Combo(0x51, 0, 1), "^Q"},
      {Combo(0x58, 0, 1, 1), "Alt+Ctrl+X"},
      {Combo(0x2E, 1, 1, 1), "ALT+SHIFT+^del"},
      {Combo(0x24, 0, 0, 1), "Alt+Alt+Home"},
      {Combo(0x35), "5"},
      {Combo(0x90, 0, 1), "ctrl+num lock"},
      {Combo(0xBB, 0, 1), "Ctrl++"},
      // Nothing left, or no key of that name: no hot key, modifiers dropped.
      {{}, ""},
      {{}, "Ctrl+"},
      {{}, "^"},
      {{}, "Ctrl+F25"},
      {{}, " F4"},
      {{}, "LayoutA"},
      {{}, "n/a"},
  };
  for (const Case& c : parsed) EXPECT_EQ(ParseHotKeyText(c.text, kLayout), c.hotKey) << c.text;
  EXPECT_EQ(FormatHotKeyText(ParseHotKeyText("Alt+Ctrl+X", kLayout), kLayout), "Ctrl+Alt+X");
}

TEST(HotKeyTextTest, EveryNamedKeyComesBackFromItsText) {
  int named = 0;
  for (int key = 0x08; key <= 0xFF; ++key) {
    if (key == 0xDE) continue;  // named "^", which reads as the Ctrl prefix
    for (int modifiers = 0; modifiers < 8; ++modifiers) {
      HotKeyCombo hotKey = Combo(key, modifiers & 1, modifiers & 2, modifiers & 4);
      std::string text = FormatHotKeyText(hotKey, kLayout);
      if (text.empty()) continue;
      ++named;
      if (key >= 0x60 && key <= 0x69) hotKey.key = key - 0x60 + 0x30;  // keypad digits
      EXPECT_EQ(ParseHotKeyText(text, kLayout), hotKey) << text;
    }
  }
  // BkSp Tab Enter Esc, Space to Down, Ins Del, digits, letters, keypad
  // digits, F1 to F24, and the layout's Pause, Num Lock and "+".
  EXPECT_EQ(named, (4 + 9 + 2 + 10 + 26 + 10 + 24 + 3) * 8);
}

}  // namespace
}  // namespace wh
