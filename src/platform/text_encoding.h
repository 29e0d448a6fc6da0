// Text that doesn't arrive as UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace wh {

class TextEncoding {
 public:
  virtual ~TextEncoding() = default;

  // Converts bytes in the system's legacy code page (the ANSI code page on
  // Windows) to UTF-8. Never fails: a byte that has no character becomes U+FFFD.
  virtual std::string SystemCodePageToUtf8(std::string_view bytes) const = 0;
};

}  // namespace wh
