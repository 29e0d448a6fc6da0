// Key names of the active keyboard layout.
#pragma once

#include "platform/key_names.h"

namespace wh {

class Win32KeyNames : public KeyNames {
 public:
  // GetKeyNameTextW of the key's scan code in the layout of this thread.
  std::string LayoutKeyName(int virtualKey) const override;
};

}  // namespace wh
