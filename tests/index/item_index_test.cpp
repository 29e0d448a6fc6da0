#include "index/item_index.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace wh {
namespace {

using testing::FakeCollation;

class ItemIndexTest : public ::testing::Test {
 protected:
  FakeCollation collation;
  ItemIndex index{collation, "\\:"};

  std::vector<std::string> Keywords() const { return index.KeywordList.Words(); }
  std::vector<std::pair<std::string, std::string>> Items() const {
    std::vector<std::pair<std::string, std::string>> items;
    for (std::uint32_t i = 0; i < index.ItemList.Count(); ++i) {
      items.emplace_back(index.ItemList.Name(i), index.ItemList.Path(i));
    }
    return items;
  }
};

TEST(DisplayNameTest, FileNameLessItsLastExtension) {
  struct Case {
    const char* path;
    const char* name;
  } cases[] = {
      {"C:\\Menu\\Text Editor.lnk", "Text Editor"},
      {"C:\\a\\archive.tar.gz", "archive.tar"},
      {"C:\\a\\README", "README"},
      {"C:\\a\\name.", "name"},
      {"C:\\a\\.lnk", ""},
      {"C:file.txt", "file"},
      {"C:\\dir.d\\noext", "noext"},
      {"plain.txt", "plain"},
      {"C:\\a\\x=y.lnk", "x=y"},
  };
  for (const Case& c : cases) EXPECT_EQ(DisplayNameOf(c.path, "\\:"), c.name) << c.path;
}

TEST_F(ItemIndexTest, KeywordsOfDisplayNames) {
  struct Case {
    const char* file;
    std::vector<std::string> keywords;
  } cases[] = {
      {"Photo Studio 2003.lnk", {"photo", "studio"}},
      {"Draw+ Studio, Version 6.0.lnk", {"draw+", "studio", "version"}},
      {"x64 Native Tools.lnk", {"native", "tools"}},
      {"Report_2004-final.lnk", {"report_2004-final"}},
      {"Setup 00.lnk", {"00", "setup"}},
      {"\xC3\x84RGER.lnk", {"\xC3\x84rger"}},
      {"Big 21474836470.lnk", {"21474836470", "big"}},
      {"Max 2147483647.lnk", {"max"}},
      {"A.lnk", {}},
      {"A.B.lnk", {}},
      {".lnk", {}},
  };
  for (const Case& c : cases) {
    index.KeywordList.Clear();
    index.ItemList.Clear();
    AddItem(index, std::string("C:\\M\\") + c.file);
    EXPECT_EQ(Keywords(), c.keywords) << c.file;
    EXPECT_EQ(index.ItemList.Count(), 1u) << c.file;
  }
}

TEST(ExtractKeywordsTest, TwoCharactersAreCountedNotBytes) {
  const struct {
    const char* name;
    std::vector<std::string> keywords;
  } cases[] = {
      {"\xC3\x89 Editor", {"editor"}},         // 'É' is one character
      {"TV \xE4\xB8\xAD Box", {"box", "tv"}},  // so is '中'
      {"\xF0\x9F\x8E\xB5 Music", {"music"}},   // and an emoji
      {"\xC3\x89t\xC3\xA9 \xE4\xB8\xAD\xE6\x96\x87",
       {"\xC3\x89t\xC3\xA9", "\xE4\xB8\xAD\xE6\x96\x87"}},
  };
  for (const auto& c : cases) {
    FakeCollation collation;
    KeywordList keywords(collation);
    ExtractKeywords(keywords, c.name);
    EXPECT_EQ(keywords.Words(), c.keywords) << c.name;
  }
}

TEST_F(ItemIndexTest, KeywordListIsSortedUniqueAndKeepsTheFirstForm) {
  for (const char* file : {"Zeta beta.lnk", "\xC3\x89t\xC3\xA9 Alpha.lnk", "\xC3\x89T\xC3\x89.lnk",
                           "BETA gamma.lnk", "alpha.url"}) {
    AddItem(index, std::string("C:\\M\\") + file);
  }
  EXPECT_EQ(Keywords(),
            (std::vector<std::string>{"alpha", "beta", "gamma", "zeta", "\xC3\x89t\xC3\xA9"}));
}

TEST_F(ItemIndexTest, LaterFileWithAnEqualNameTakesTheItemOverInPlace) {
  AddItem(index, "C:\\All\\Notes.lnk");
  AddItem(index, "C:\\All\\Editor.lnk");
  AddItem(index, "C:\\User\\notes.url");
  AddItem(index, "C:\\A\\.lnk");
  AddItem(index, "C:\\B\\.url");
  EXPECT_EQ(Items(),
            (std::vector<std::pair<std::string, std::string>>{{"notes", "C:\\User\\notes.url"},
                                                              {"Editor", "C:\\All\\Editor.lnk"},
                                                              {"", "C:\\B\\.url"}}));
}

TEST_F(ItemIndexTest, ItemPathFindsNamesIgnoringCaseAndKeepsEqualsSigns) {
  AddItem(index, "C:\\M\\Text Editor.lnk");
  AddItem(index, "C:\\M\\a=b.lnk");
  AddItem(index, "C:\\M\\\xC3\x89t\xC3\xA9.lnk");
  AddItem(index, "C:\\N\\a=b.lnk");  // the same name again replaces, never appends
  EXPECT_EQ(ItemPath(index, "TEXT editor"), "C:\\M\\Text Editor.lnk");
  EXPECT_EQ(ItemPath(index, "a=b"), "C:\\N\\a=b.lnk");
  EXPECT_EQ(ItemPath(index, "\xC3\x89T\xC3\x89"), "C:\\M\\\xC3\x89t\xC3\xA9.lnk");
  EXPECT_EQ(ItemPath(index, "Text"), "");
  EXPECT_EQ(ItemPath(index, ""), "");
  EXPECT_EQ(index.ItemList.Count(), 3u);
  // So too once a load has ended and given the lookup's room back.
  index.ItemList.Compact();
  AddItem(index, "C:\\O\\A=B.lnk");
  EXPECT_EQ(ItemPath(index, "a=b"), "C:\\O\\A=B.lnk");
  EXPECT_EQ(ItemPath(index, "TEXT editor"), "C:\\M\\Text Editor.lnk");
  EXPECT_EQ(index.ItemList.Count(), 3u);
}

TEST_F(ItemIndexTest, IgnoredWordsLeaveTheKeywordsButNotTheItems) {
  AddItem(index, "C:\\M\\Read Me.lnk");
  AddItem(index, "C:\\M\\Setup Wizard 00.lnk");
  AddItem(index, "C:\\M\\Uninstall.lnk");
  struct Case {
    const char* ignore;
    std::vector<std::string> left;
  } cases[] = {
      {"read me setup", {"00", "uninstall", "wizard"}},
      {"read,me;setup", {"00", "uninstall", "wizard"}},
      {"READ Me SETUP uninstall", {"00", "wizard"}},
      {"", {"00", "me", "read", "setup", "uninstall", "wizard"}},
      {"r 00 wiz", {"me", "read", "setup", "uninstall", "wizard"}},
  };
  for (const Case& c : cases) {
    index.KeywordList.Clear();
    for (std::uint32_t i = 0; i < index.ItemList.Count(); ++i) {
      ExtractKeywords(index.KeywordList, index.ItemList.Name(i));
    }
    RemoveIgnoredWords(index.KeywordList, c.ignore);
    EXPECT_EQ(Keywords(), c.left) << c.ignore;
  }
  EXPECT_EQ(ItemPath(index, "Read Me"), "C:\\M\\Read Me.lnk");
}

TEST_F(ItemIndexTest, ManyItemsKeepTheirOrderAndPaths) {
  // Enough to make the name table grow several times.
  for (int i = 0; i < 5000; ++i)
    AddItem(index, "C:\\D" + std::to_string(i % 7) + "\\item" + std::to_string(i) + ".lnk");
  for (int i = 0; i < 5000; i += 2) AddItem(index, "C:\\E\\ITEM" + std::to_string(i) + ".url");
  ASSERT_EQ(index.ItemList.Count(), 5000u);
  for (std::uint32_t i = 0; i < 5000; ++i) {
    const std::string expected =
        i % 2 == 0 ? "C:\\E\\ITEM" + std::to_string(i) + ".url"
                   : "C:\\D" + std::to_string(i % 7) + "\\item" + std::to_string(i) + ".lnk";
    ASSERT_EQ(index.ItemList.Path(i), expected);
  }
}

TEST_F(ItemIndexTest, NamesThatAreNotUtf8ShowInLatin1AndKeepTheirBytesInThePath) {
  // One file added alone, the others in one go: both ways read names alike.
  AddItem(index, "C:\\Docs\\Caf\xe9 Men\xfc.txt");
  const std::string_view many[] = {"C:\\Docs\\R\xe9sum\xe9.doc", "C:\\Docs\\Na\xc3\xafve.txt"};
  AddItems(index, many);
  EXPECT_EQ(Items(), (std::vector<std::pair<std::string, std::string>>{
                         {"Caf\xc3\xa9 Men\xc3\xbc", "C:\\Docs\\Caf\xe9 Men\xfc.txt"},
                         {"R\xc3\xa9sum\xc3\xa9", "C:\\Docs\\R\xe9sum\xe9.doc"},
                         {"Na\xc3\xafve", "C:\\Docs\\Na\xc3\xafve.txt"}}));
  // What the item box shows finds the file to start.
  EXPECT_EQ(ItemPath(index, "R\xc3\xa9sum\xc3\xa9"), "C:\\Docs\\R\xe9sum\xe9.doc");
  EXPECT_EQ(Keywords(), (std::vector<std::string>{"caf\xc3\xa9", "men\xc3\xbc", "na\xc3\xafve",
                                                  "r\xc3\xa9sum\xc3\xa9"}));
}

}  // namespace
}  // namespace wh
