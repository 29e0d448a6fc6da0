// The wildcard rules written out as plain recursion, the way they are stated,
// for checking WildcardMatch on short texts: it tries every split of the
// text, so its time grows exponentially with the number of stars.
#pragma once

#include <cstddef>
#include <string_view>

namespace wh::testing {

// A character is a code point (char32_t) or one character's bytes.
inline bool IsAscii(char32_t c, char ascii) { return c == static_cast<char32_t>(ascii); }
inline bool IsAscii(std::string_view c, char ascii) { return c.size() == 1 && c[0] == ascii; }

// Whether `text` from `i` on matches `pattern` from `j` on; both are
// sequences of whole characters (a std::u32string, or a vector of each
// character's bytes).
template <typename Chars>
bool ReferenceMatch(const Chars& text, const Chars& pattern, std::size_t i = 0, std::size_t j = 0) {
  if (j + 1 == pattern.size() && IsAscii(pattern[j], '*')) return true;
  if (i == text.size()) return j == pattern.size();
  if (j == pattern.size()) return false;
  if (IsAscii(pattern[j], '*')) {
    return ReferenceMatch(text, pattern, i, j + 1) || ReferenceMatch(text, pattern, i + 1, j);
  }
  if (IsAscii(pattern[j], '?')) return ReferenceMatch(text, pattern, i + 1, j + 1);
  return text[i] == pattern[j] && ReferenceMatch(text, pattern, i + 1, j + 1);
}

}  // namespace wh::testing
