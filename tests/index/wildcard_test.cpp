#include "index/wildcard.h"

#include <gtest/gtest.h>

#include <random>

#include "index/wildcard_reference.h"

namespace wh {
namespace {

std::string ToUtf8(const std::u32string& s) {
  std::string out;
  for (char32_t c : s) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else {  // the test alphabet stays below U+0800
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

TEST(WildcardMatchTest, AnswersOfTheSearchPatterns) {
  struct Case {
    const char* text;
    const char* typed;
    bool match;
  } cases[] = {
      {"wordpad", "word", true},
      {"microsoft word", "word", true},
      {"password safe", "word", true},
      {"notepad", "pad not", false},
      {"the notebook", "e note", true},
      {"word", "w?rd", true},
      {"ward", "w?rd", true},
      {"wrd", "w?rd", false},
      {"notepad2", "pad*", true},
      {"notepad", "pad*", false},
      {"notepad", "pad", true},
      {"abc", "", true},
      {"", "", false},
      {"abc", "*", true},
      {"", "*", false},
      {"a", "**", true},
      {"\xC3\xA9t\xC3\xA9", "\xC3\xA9?\xC3\xA9", true},  // ? takes a whole character
      {"\xC3\xA9t\xC3\xA9", "??\xC3\xA9", true},
      {"\xC3\xA9t", "???", false},
      {"a*b", "a*b", true},  // no escape: * is a wild card
      {"axyb", "a*b", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WildcardMatch(c.text, std::string("*") + c.typed + "*"), c.match)
        << c.text << " / " << c.typed;
  }
}

TEST(WildcardMatchTest, EdgesOfTheRules) {
  struct Case {
    const char* text;
    const char* pattern;
    bool match;
  } cases[] = {
      {"", "", true},
      {"a", "", false},
      {"", "*", true},
      {"", "**", false},
      {"", "?", false},
      {"a", "a*", true},
      {"a", "a**", false},
      {"ab", "a**", true},
      {"a", "*a", true},
      {"ba", "*a", true},
      {"ab", "*a", false},
      {"abc", "a*c", true},
      {"ac", "a**c", true},
      // A byte that is no whole character matches no part of one.
      {"\xC3\xA9", "\xC3?", false},
      {"\x90\xE9\xB3\x90", "*\xB3\x90", false},
      {"\xC3\xC3\xA9", "\xC3?", true},
      {"a", "?", true},
      {"ab", "?", false},
      {"A", "a", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WildcardMatch(c.text, c.pattern), c.match) << c.text << " / " << c.pattern;
  }
}

TEST(WildcardMatchTest, AgreesWithTheRulesOnRandomShortInputs) {
  std::mt19937 random(20261208);
  const char32_t textLetters[] = {U'a', U'b', U'\u00E9'};
  const char32_t patternLetters[] = {U'a', U'b', U'\u00E9', U'*', U'?', U'*'};
  int matches = 0;
  for (int round = 0; round < 200000; ++round) {
    std::u32string text, pattern;
    for (int n = random() % 8; n > 0; --n) text.push_back(textLetters[random() % 3]);
    for (int n = random() % 8; n > 0; --n) pattern.push_back(patternLetters[random() % 6]);
    const bool expected = testing::ReferenceMatch(text, pattern);
    matches += expected;
    ASSERT_EQ(WildcardMatch(ToUtf8(text), ToUtf8(pattern)), expected)
        << ToUtf8(text) << " / " << ToUtf8(pattern);
  }
  // Both answers must be well represented, or the comparison proves little.
  EXPECT_GT(matches, 20000);
  EXPECT_LT(matches, 180000);
}

TEST(WildcardMatchTest, LongInputsHaveNoLengthLimit) {
  const std::string name(10000, 'a');
  EXPECT_TRUE(WildcardMatch(name + "b", "*" + std::string(5000, 'a') + "b*"));
  EXPECT_FALSE(WildcardMatch(name, "*" + std::string(500, '?') + "b*"));
  EXPECT_TRUE(WildcardMatch(name, std::string(3000, '*') + "a"));
  EXPECT_FALSE(WildcardMatch(name, "a*a*a*a*a*a*a*a*a*a*a*a*b"));
}

}  // namespace
}  // namespace wh
