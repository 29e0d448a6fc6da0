// The user's number format from the locale settings.
#pragma once

#include "platform/number_format.h"

namespace wh {

class Win32NumberFormat : public NumberFormat {
 public:
  // LOCALE_STHOUSAND of the user's default locale; the empty text if the
  // system can't say.
  std::string ThousandsSeparator() const override;
};

}  // namespace wh
