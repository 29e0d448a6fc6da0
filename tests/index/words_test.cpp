#include "index/words.h"

#include <gtest/gtest.h>

namespace wh {
namespace {

std::vector<std::string> AllWords(std::string text) {
  std::vector<std::string> words;
  std::string word;
  while (NextWord(text, word)) words.push_back(word);
  EXPECT_TRUE(text.empty()) << "text left after the last word";
  EXPECT_TRUE(word.empty());
  return words;
}

TEST(NextWordTest, SplitsAtTheEightSeparatorsOnly) {
  struct Case {
    std::string text;
    std::vector<std::string> words;
  } cases[] = {
      {"", {}},
      {"   ", {}},
      {".,;:", {}},
      {"Text Editor", {"Text", "Editor"}},
      {"Draw+ Studio, Version 6.0", {"Draw+", "Studio", "Version", "6", "0"}},
      {"  (a)\"b\";c:d.e,f  ", {"a", "b", "c", "d", "e", "f"}},
      {"Report_2004-final", {"Report_2004-final"}},
      {"tab\there", {"tab\there"}},
      {"it's [x]/y&z", {"it's", "[x]/y&z"}},
      {"\xC3\x84rger \xC3\xA9t\xC3\xA9", {"\xC3\x84rger", "\xC3\xA9t\xC3\xA9"}},
      {"x", {"x"}},
      {",x", {"x"}},
  };
  for (const Case& c : cases) EXPECT_EQ(AllWords(c.text), c.words) << c.text;
}

TEST(NextWordTest, TakesOneSeparatorAfterTheWordOffTheText) {
  std::string text = "ab,,cd";
  std::string word;
  ASSERT_TRUE(NextWord(text, word));
  EXPECT_EQ(word, "ab");
  EXPECT_EQ(text, ",cd");
}

TEST(IsNumberTest, PositiveThirtyTwoBitIntegersOnly) {
  struct Case {
    const char* word;
    bool number;
  } cases[] = {
      {"2003", true},
      {"+7", true},
      {"007", true},
      {"$1F", true},
      {"x64", true},
      {"X64", true},
      {"0x10", true},
      {"0X10", true},
      {"2147483647", true},
      {"$7FFFFFFF", true},
      {"0x0000007FFFFFFF", true},
      {"00", false},
      {"0", false},
      {"-5", false},
      {"-0", false},
      {"x0", false},
      {"1st", false},
      {"3d", false},
      {"2147483648", false},
      {"9999999999", false},
      {"$80000000", false},
      {"$FFFFFFFF", false},
      {"$100000000", false},
      {"+", false},
      {"$", false},
      {"x", false},
      {"0x", false},
      {"+2147483648", false},
      {"", false},
      {"1 2", false},
      {"+-1", false},
      {"$1g", false},
      {"\xEF\xBC\x91", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsNumber(c.word), c.number) << c.word;
}

}  // namespace
}  // namespace wh
