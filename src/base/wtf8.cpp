#include "base/wtf8.h"

#include "base/text.h"

namespace wh {

namespace {

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

unsigned Byte(std::string_view text, std::size_t pos) {
  return static_cast<unsigned char>(text[pos]);
}

// A surrogate written on its own: ED, then A0..BF, then a continuation byte.
bool IsEncodedSurrogate(std::string_view text, std::size_t pos) {
  return pos + 3 <= text.size() && Byte(text, pos) == 0xED && Byte(text, pos + 1) >= 0xA0 &&
         Byte(text, pos + 1) <= 0xBF && (Byte(text, pos + 2) & 0xC0) == 0x80;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

std::string Utf16ToWtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t unit = text[i];
    if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      unit = 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    AppendUtf8(out, unit);
  }
  return out;
}

std::u16string Wtf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = IsEncodedSurrogate(text, i) ? 3 : CharLength(text, i);
    const unsigned lead = Byte(text, i);
    char32_t code;
    if (length == 1) {
      code = lead < 0x80 ? lead : 0xFFFD;
    } else {
      code = lead & (0x7F >> length);
      for (std::size_t k = 1; k < length; ++k) code = (code << 6) | (Byte(text, i + k) & 0x3F);
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (code >> 10));
      out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      out += static_cast<char16_t>(code);
    }
    i += length;
  }
  return out;
}

}  // namespace wh
