// Names that the keyboard layout gives to keys.
#pragma once

#include <string>

namespace wh {

class KeyNames {
 public:
  virtual ~KeyNames() = default;

  // The layout's own name for the virtual key `virtualKey` (1 to 255), or the
  // empty text when the layout has none.
  virtual std::string LayoutKeyName(int virtualKey) const = 0;
};

}  // namespace wh
