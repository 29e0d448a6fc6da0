// A legacy code page for tests: Latin-1, each byte the code point of its value.
#pragma once

#include <string>
#include <string_view>

#include "platform/text_encoding.h"

namespace wh::testing {

class FakeTextEncoding : public TextEncoding {
 public:
  std::string SystemCodePageToUtf8(std::string_view bytes) const override {
    std::string utf8;
    for (char c : bytes) {
      auto byte = static_cast<unsigned char>(c);
      if (byte < 0x80) {
        utf8 += c;
      } else {
        utf8 += static_cast<char>(0xC0 | (byte >> 6));
        utf8 += static_cast<char>(0x80 | (byte & 0x3F));
      }
    }
    return utf8;
  }
};

}  // namespace wh::testing
