#include "base/wtf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wh {
namespace {

TEST(Wtf8Test, EveryUtf16TextComesBackWholeAndValidTextIsPlainUtf8) {
  struct Case {
    std::u16string utf16;
    std::string wtf8;
  };
  const std::vector<Case> cases = {
      {u"", ""},
      {u"notepad.lnk", "notepad.lnk"},
      {u"\u00C4rger \u65E5\u672C", "\xC3\x84rger \xE6\x97\xA5\xE6\x9C\xAC"},
      {u"\U0001F600", "\xF0\x9F\x98\x80"},  // a pair: one 4-byte sequence
      {std::u16string(u"a\0b", 3), std::string("a\0b", 3)},
      // Unpaired surrogates, which NTFS names may hold: each on its own.
      {u"a\xD800z", "a\xED\xA0\x80z"},
      {u"\xDFFF", "\xED\xBF\xBF"},
      {u"\xDC00\xD800", "\xED\xB0\x80\xED\xA0\x80"},  // low before high is no pair
      {u"x\xD83D", "x\xED\xA0\xBD"},                  // a pair cut at the end
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.wtf8);
    EXPECT_EQ(Utf16ToWtf8(c.utf16), c.wtf8);
    EXPECT_EQ(Wtf8ToUtf16(c.wtf8), c.utf16);
  }
}

TEST(Wtf8Test, BytesThatStartNoSequenceBecomeReplacementCharacters) {
  struct Case {
    std::string bytes;
    std::u16string utf16;
  } cases[] = {
      {"a\xFF"
       "b",
       u"a\xFFFD"
       "b"},
      {"\xC3", u"\xFFFD"},                                // cut in the middle of a character
      {"\xC0\xAF", u"\xFFFD\xFFFD"},                      // overlong
      {"\xED\xA0", u"\xFFFD\xFFFD"},                      // a surrogate cut short
      {"\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},  // above U+10FFFF
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(Wtf8ToUtf16(c.bytes), c.utf16);
  }
}

}  // namespace
}  // namespace wh
