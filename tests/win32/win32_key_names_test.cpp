#include "win32/win32_key_names.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace wh {
namespace {

TEST(Win32KeyNamesTest, LayoutNamesKeysOutsideTheTable) {
  Win32KeyNames names;
  // Keys the program leaves to the layout; each has a name on every layout.
  for (int key : {VK_MULTIPLY, VK_ADD, VK_SUBTRACT, VK_DECIMAL, VK_DIVIDE, VK_CAPITAL, VK_SCROLL,
                  VK_NUMLOCK, VK_OEM_1, VK_OEM_PLUS, VK_OEM_COMMA, VK_OEM_MINUS, VK_OEM_2}) {
    EXPECT_FALSE(names.LayoutKeyName(key).empty()) << key;
  }
  // Keys that share a scan code with a keypad key are told apart by the
  // extended bit.
  const std::vector<std::pair<int, int>> twins = {{VK_HOME, VK_NUMPAD7},
                                                  {VK_UP, VK_NUMPAD8},
                                                  {VK_INSERT, VK_NUMPAD0},
                                                  {VK_DELETE, VK_DECIMAL},
                                                  {VK_DIVIDE, VK_OEM_2}};
  for (const auto& [extended, plain] : twins) {
    EXPECT_NE(names.LayoutKeyName(extended), names.LayoutKeyName(plain)) << extended;
  }
  // Names are text: no zero characters, and no key outside A to Z is named
  // like a letter (a hot key on Volume Up must not read back as B).
  for (int key = 1; key <= 255; ++key) {
    if (key >= 'A' && key <= 'Z') continue;
    const std::string name = names.LayoutKeyName(key);
    EXPECT_EQ(name.find('\0'), std::string::npos) << key;
    EXPECT_FALSE(name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') << key << " " << name;
  }
  EXPECT_EQ(names.LayoutKeyName(0), "");
  EXPECT_EQ(names.LayoutKeyName(256), "");
}

}  // namespace
}  // namespace wh
