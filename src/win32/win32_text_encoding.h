// Text in the system's ANSI code page, as older files hold it.
#pragma once

#include "platform/text_encoding.h"

namespace wh {

class Win32TextEncoding : public TextEncoding {
 public:
  // Through UTF-16 with the ANSI code page (CP_ACP) of the system.
  std::string SystemCodePageToUtf8(std::string_view bytes) const override;
};

}  // namespace wh
