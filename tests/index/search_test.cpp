#include "index/search.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "fakes/fake_platform.h"
#include "index/item_index.h"
#include "index/wildcard.h"

#include <random>

namespace wh {
namespace {

class SearchTest : public ::testing::Test {
 protected:
  void Add(std::initializer_list<const char*> names) {
    for (const char* name : names) AddItem(index, std::string("C:\\M\\") + name + ".lnk");
  }
  std::vector<std::string> Find(std::string_view pattern) {
    MatchItems(index.ItemList, pattern, index.MatchList);
    return index.MatchList.Names(index.ItemList);
  }

  std::vector<std::string> BoxNames() const {
    std::vector<std::string> names;
    for (std::uint32_t i : index.MatchList.InItemBoxOrder(index.ItemList)) {
      names.emplace_back(index.ItemList.Name(i));
    }
    return names;
  }

  testing::FakeCollation collation;
  ItemIndex index{collation, "\\:"};
};

TEST_F(SearchTest, FindsTypedTextAnywhereInTheNamesInItemOrder) {
  Add({"WordPad", "Microsoft Word", "Password Safe", "Notepad", "Notepad2", "The Notebook", "Ward",
       "Wrd", "\xC3\x89t\xC3\xA9", "", "Star*Name"});
  struct Case {
    const char* typed;
    std::vector<std::string> found;
  } cases[] = {
      {"word", {"WordPad", "Microsoft Word", "Password Safe"}},
      {"NOTE", {"Notepad", "Notepad2", "The Notebook"}},
      {"pad*", {"Notepad2"}},
      {"pad not", {}},
      {"e note", {"The Notebook"}},
      {"w?rd", {"WordPad", "Microsoft Word", "Password Safe", "Ward"}},
      {"\xC3\xA9t\xC3\xA9", {}},  // letters above 127 keep their case
      {"\xC3\x89t\xC3\xA9", {"\xC3\x89t\xC3\xA9"}},
      {"r*n", {"Star*Name"}},
      {"xyz", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Find(c.typed), c.found) << c.typed;
  // Every non-empty name, never the empty one.
  EXPECT_EQ(Find("").size(), 10u);
  EXPECT_EQ(Find("*").size(), 10u);
  EXPECT_EQ(Find("**").size(), 10u);
}

TEST_F(SearchTest, ItemBoxShowsMatchesAlphabetically) {
  Add({"zeta tool", "Alpha Tool", "beta tool", "Gamma", "delta TOOL"});
  Find("tool");
  EXPECT_EQ(BoxNames(),
            (std::vector<std::string>{"Alpha Tool", "beta tool", "delta TOOL", "zeta tool"}));
  // Names the collation must place among the plain ones, with and without
  // the shortcut for plain names.
  for (bool shortcut : {true, false}) {
    testing::FakeCollation other(shortcut);
    ItemIndex mixed(other, "\\:");
    for (const char* name : {"\xC3\x89"
                             "cole tool",
                             "zeta tool", "Alpha Tool", "\xC3\xA0 tool", "beta tool"}) {
      AddItem(mixed, std::string("C:\\M\\") + name + ".lnk");
    }
    MatchItems(mixed.ItemList, "tool", mixed.MatchList);
    std::vector<std::string> names;
    for (std::uint32_t i : mixed.MatchList.InItemBoxOrder(mixed.ItemList))
      names.emplace_back(mixed.ItemList.Name(i));
    EXPECT_EQ(names,
              (std::vector<std::string>{"Alpha Tool", "beta tool", "zeta tool", "\xC3\xA0 tool",
                                        "\xC3\x89"
                                        "cole tool"}));
  }
  // Few matches among many items take the other way to the same order.
  for (int i = 0; i < 200; ++i) Add({("filler " + std::to_string(i)).c_str()});
  Find("tool");
  EXPECT_EQ(BoxNames(),
            (std::vector<std::string>{"Alpha Tool", "beta tool", "delta TOOL", "zeta tool"}));
}

TEST_F(SearchTest, SearchAgreesWithWildcardMatchOverEveryName) {
  Add({"aab", "abab", "ba", "b", "aaa", "abba", "bab", "a?b", "x*y"});
  for (const char* typed : {"a", "ab", "a*b", "?b", "b?", "a*", "*a", "b**", "a?a", "??", "???",
                            "*?*", "a*b*", "x*y", "?", "?ab", "?b?a", "a?*?b"}) {
    std::vector<std::string> expected;
    for (std::uint32_t i = 0; i < index.ItemList.Count(); ++i) {
      std::string name(index.ItemList.Name(i));
      if (WildcardMatch(name, std::string("*") + typed + "*")) expected.push_back(name);
    }
    EXPECT_EQ(Find(typed), expected) << typed;
  }
}

TEST_F(SearchTest, ZeroBytesInNamesOrPatternsAreMatchedLikeAnyOther) {
  // No file name holds one, but the search must not read one as the end of
  // a name.
  AddItem(index, std::string("C:\\M\\a\0b.lnk", 11));
  AddItem(index, "C:\\M\\ab.lnk");
  EXPECT_EQ(Find(std::string("\0", 1)), (std::vector<std::string>{std::string("a\0b", 3)}));
  EXPECT_EQ(Find("a?b"), (std::vector<std::string>{std::string("a\0b", 3)}));
  EXPECT_EQ(Find("b"), (std::vector<std::string>{std::string("a\0b", 3), "ab"}));
}

TEST_F(SearchTest, HostileInputHasNoLengthLimits) {
  const std::string longName = std::string(10000, 'a') + "b";
  AddItem(index, "C:\\M\\short.lnk");
  AddItem(index, "C:\\M\\" + longName + ".lnk");
  std::string starsAndQuestions;
  for (int i = 0; i < 1000; ++i) starsAndQuestions += "*?";
  const struct {
    std::string typed;
    std::vector<std::string> found;
  } cases[] = {
      {std::string(100000, 'a'), {}},       {std::string(9000, 'a') + "b", {longName}},
      {starsAndQuestions, {longName}},  // a thousand characters at least
      {std::string(3000, '?'), {longName}}, {std::string(5000, '*'), {"short", longName}},
      {std::string(100000, '?'), {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Find(c.typed), c.found) << c.typed.substr(0, 20);
}

TEST_F(SearchTest, ScreenedSearchAgreesWithWildcardMatchOnRandomIndexes) {
  std::mt19937 random(42);
  const char* letters[] = {"a", "b", "A", "\xC3\xA9", "\xC3\x89", " ", "*", "?"};
  const char* patternLetters[] = {"a", "b", "B", "\xC3\xA9", " ", "*", "?", "ab"};
  for (int round = 0; round < 300; ++round) {
    index.ItemList.Clear();
    for (int n = random() % 40; n > 0; --n) {
      std::string name;
      for (int k = random() % 12; k > 0; --k) name += letters[random() % std::size(letters)];
      AddItem(index, "C:\\M\\" + name + ".lnk");
    }
    for (int p = 0; p < 20; ++p) {
      std::string typed;
      for (int k = random() % 5; k > 0; --k)
        typed += patternLetters[random() % std::size(patternLetters)];
      std::vector<std::string> expected;
      for (std::uint32_t i = 0; i < index.ItemList.Count(); ++i) {
        std::string lower(index.ItemList.Name(i));
        for (char& c : lower) c = AsciiLower(c);
        if (WildcardMatch(lower, "*" + AsciiLower(typed) + "*"))
          expected.emplace_back(index.ItemList.Name(i));
      }
      ASSERT_EQ(Find(typed), expected) << "round " << round << ", typed '" << typed << "'";
    }
  }
}

}  // namespace
}  // namespace wh
