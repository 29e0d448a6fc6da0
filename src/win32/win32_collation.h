// The user locale's case-insensitive order, as the system's own sorting
// functions give it.
#pragma once

#include "platform/collation.h"

namespace wh {

class Win32Collation : public Collation {
 public:
  // CompareStringEx of the user's default locale with NORM_IGNORECASE.
  int Compare(std::string_view a, std::string_view b) const override;
  // LCMapStringEx's sort key of the same locale and flags.
  std::string SortKey(std::string_view text) const override;
};

}  // namespace wh
