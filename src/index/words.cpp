#include "index/words.h"

#include <cstdint>

namespace wh {

bool WordReader::Next(std::string_view& word) {
  while (pos_ < text_.size() && IsWordSeparator(text_[pos_])) ++pos_;
  std::size_t start = pos_;
  while (pos_ < text_.size() && !IsWordSeparator(text_[pos_])) ++pos_;
  word = text_.substr(start, pos_ - start);
  if (pos_ < text_.size()) ++pos_;  // the separator after the word
  return !word.empty();
}

bool NextWord(std::string& text, std::string& word) {
  WordReader reader(text);
  std::string_view found;
  bool any = reader.Next(found);
  word.assign(found);
  if (!any) {
    text.clear();
    return false;
  }
  // Everything up to the end of the word and one separator after it goes.
  std::size_t consumed = static_cast<std::size_t>(found.data() - text.data()) + found.size();
  if (consumed < text.size()) ++consumed;
  text.erase(0, consumed);
  return true;
}

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Decimal digits only, at least one; false when the value passes `limit`.
bool ReadDecimal(std::string_view digits, std::int64_t limit, std::int64_t& value) {
  if (digits.empty()) return false;
  value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
    if (value > limit) return false;
  }
  return true;
}

}  // namespace

bool IsNumber(std::string_view word) {
  if (word.empty()) return false;
  constexpr std::int64_t kMax = 2147483647;
  std::int64_t value = 0;
  const char first = word[0];
  if (first == '+' || first == '-') {
    // The signed value may reach -2147483648, but no negative value counts.
    if (!ReadDecimal(word.substr(1), kMax + 1, value)) return false;
    return first == '+' && value > 0 && value <= kMax;
  }
  std::string_view hex;
  bool isHex = true;
  if (first == '$' || first == 'x' || first == 'X') {
    hex = word.substr(1);
  } else if (word.size() >= 2 && first == '0' && (word[1] == 'x' || word[1] == 'X')) {
    hex = word.substr(2);
  } else {
    isHex = false;
  }
  if (isHex) {
    if (hex.empty()) return false;
    std::uint64_t bits = 0;
    for (char c : hex) {
      int digit = HexValue(c);
      if (digit < 0) return false;
      bits = (bits << 4) | static_cast<std::uint64_t>(digit);
      if (bits > 0xFFFFFFFFu) return false;
    }
    // Taken as a signed 32-bit value: 80000000 and above are negative.
    return bits > 0 && bits <= 0x7FFFFFFFu;
  }
  return ReadDecimal(word, kMax, value) && value > 0;
}

}  // namespace wh
