// Hot-key texts: every key with a name comes back from its text as a key of
// that name with the same modifiers, and any text parses to a key whose text
// parses back to it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

#include "settings/hot_key_text.h"

namespace {

// Says which property broke, then stops the run as a crash.
[[noreturn]] void Fail(int line) {
  std::fprintf(stderr, "property at line %d broken\n", line);
  std::abort();
}

// A layout that names some keys outside the program's table, one of them
// with a name the table uses too.
class Layout : public wh::KeyNames {
 public:
  std::string LayoutKeyName(int key) const override {
    if (key == 0xBA) return "Oem1";
    if (key == 0xBB) return "+";
    if (key == 0xDE) return "A";
    if (key >= 0xA0 && key <= 0xA5) return "Side " + std::to_string(key);
    return {};
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const Layout layout;
  FuzzedDataProvider input(data, size);
  wh::HotKeyCombo combo;
  combo.key = input.ConsumeIntegral<std::uint8_t>();
  combo.shift = input.ConsumeBool();
  combo.ctrl = input.ConsumeBool();
  combo.alt = input.ConsumeBool();
  const std::string text = input.ConsumeRemainingBytesAsString();

  const std::string name = wh::FormatHotKeyText(combo, layout);
  if (!name.empty()) {
    const wh::HotKeyCombo back = wh::ParseHotKeyText(name, layout);
    if (wh::FormatHotKeyText(back, layout) != name) Fail(__LINE__);
    if (back.shift != combo.shift || back.ctrl != combo.ctrl || back.alt != combo.alt)
      Fail(__LINE__);
  }

  const wh::HotKeyCombo parsed = wh::ParseHotKeyText(text, layout);
  if (parsed.key != 0 &&
      wh::ParseHotKeyText(wh::FormatHotKeyText(parsed, layout), layout) != parsed) {
    Fail(__LINE__);
  }
  return 0;
}
