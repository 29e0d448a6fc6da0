// The one word splitter of the program, and the number test that keeps
// numbers out of the keywords.
#pragma once

#include <string>
#include <string_view>

namespace wh {

// Blank, double quote, parentheses, comma, full stop, colon, semicolon. Every
// other character, hyphens, underscores and all non-ASCII ones included, is
// part of a word.
inline constexpr std::string_view WordSeparators = " \"(),.:;";

inline bool IsWordSeparator(char c) {
  switch (c) {
    case ' ':
    case '"':
    case '(':
    case ')':
    case ',':
    case '.':
    case ':':
    case ';':
      return true;
    default:
      return false;
  }
}

// Takes the next word off the front of `text` (the word and the separator
// after it are removed) into `word`. Returns false, with `word` and `text`
// empty, when `text` holds no further word.
bool NextWord(std::string& text, std::string& word);

// Walks the words of a text without copying it; yields what NextWord would.
class WordReader {
 public:
  explicit WordReader(std::string_view text) : text_(text) {}
  bool Next(std::string_view& word);

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// True when `word` reads as a whole 32-bit integer greater than zero: decimal
// ("2003", "+7", "007") or hexadecimal after "$", "x", "X", "0x" or "0X".
bool IsNumber(std::string_view word);

}  // namespace wh
