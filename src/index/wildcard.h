// Pattern matching with "*" (any run of characters, none included) and "?"
// (exactly one character), in time bounded by text length times pattern
// length, with no limit on either.
#pragma once

#include <string>
#include <string_view>

namespace wh {

// The classic glob: "*" may also match nothing at the end of the text.
// Characters other than the wild cards match only themselves, byte for byte;
// "?" takes one whole UTF-8 character.
bool GlobMatch(std::string_view text, std::string_view pattern);

// Rewrites a search pattern so that GlobMatch gives WildcardMatch's answers:
// runs of stars become one star, and a pattern that ends in two or more stars
// ends in "?*" instead, since such a tail matches only while text is left.
std::string NormalizeWildcardPattern(std::string_view pattern);

// True when `text` matches `pattern` by these rules, the first that fits:
// a pattern that is exactly "*" matches anything; an empty text matches only
// the empty pattern; a leading "*" matches nothing or one more character;
// "?" matches one character; any other character only itself. So 'pad*'
// wrapped in stars matches 'Notepad2' but not 'Notepad'.
bool WildcardMatch(std::string_view text, std::string_view pattern);

}  // namespace wh
