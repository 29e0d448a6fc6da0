// Key names of the active keyboard layout.
#pragma once

#include "platform/key_names.h"

namespace wh {

// Keys whose scan code is shared with a key of the numeric keypad or the main
// block and that the keyboard sends with the E0 prefix (Home, not Num 7): key
// names and the hot-key field need the extended bit for them.
bool IsExtendedKey(int virtualKey);

class Win32KeyNames : public KeyNames {
 public:
  // GetKeyNameTextW of the key's scan code in the layout of this thread.
  std::string LayoutKeyName(int virtualKey) const override;
};

}  // namespace wh
