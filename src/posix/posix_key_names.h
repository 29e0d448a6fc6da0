// Key names where no keyboard layout is asked.
#pragma once

#include "platform/key_names.h"

namespace wh {

// Knows no layout names: keys outside the fixed table have no text here.
class PosixKeyNames : public KeyNames {
 public:
  std::string LayoutKeyName(int) const override { return {}; }
};

}  // namespace wh
