#include "index/classify.h"

#include <gtest/gtest.h>

#include "fakes/fake_file_system.h"

namespace wh {
namespace {

TEST(IsURLTest, AddressesByTheElevenRules) {
  struct Case {
    const char* text;
    bool url;
  } cases[] = {
      {"www.a", true},
      {"www.", false},
      {"www.a.b.", false},
      {"WWW.A", true},
      {"news:ab", true},
      {"news:x", false},
      {"mailto:a@b.c", true},
      {"mailto:ab@c", false},
      {"mailto:@b.cd", true},
      {"mailto:a@.c", false},
      {"http://a", true},
      {"xhttp://a", true},
      {"go http://a", false},
      {"HTTP://a", true},
      {"ftp://a.b.c", true},
      {"ftp://ab.c", false},
      {"ftp://abcd", false},
      {"administrator", true},
      {"c:\\windows\\notepad.exe", true},
      {"abcdefghijkl", false},
      {"abcd", false},
      {"www..a", false},
      {"http://a\x7f", false},
      {"www.\xC3\xA9", false},
      {"http://a\tb", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsURL(c.text), c.url) << c.text;
}

TEST(ClassifyEnterTest, DirectoriesNetworkPathsAddressesAndPatterns) {
  testing::FakeFileSystem fs('\\');
  fs.AddDirectory("c:\\temp");
  fs.AddDirectory("c:\\My Files");
  fs.AddDirectory("temp");
  fs.AddDirectory("c:\\Program Files Long Name");
  struct Case {
    const char* text;
    EnterAction action;
  } cases[] = {
      {"c:\\temp", EnterAction::OpenExplorer},
      {"c:\\My Files", EnterAction::OpenExplorer},  // a blank doesn't matter for a directory
      {"\\\\server", EnterAction::OpenExplorer},    // whether or not it exists
      {"temp", EnterAction::Search},                // relative: no drive part
      {"c:\\missing", EnterAction::Search},
      {"c:\\missing\\x.exe", EnterAction::OpenAddress},  // 13 or more characters
      {"c:\\Program Files Long Name", EnterAction::OpenExplorer},
      {"www.example", EnterAction::OpenAddress},
      {"word", EnterAction::Search},
      {"", EnterAction::Search},
  };
  for (const Case& c : cases) EXPECT_EQ(ClassifyEnter(c.text, fs), c.action) << c.text;
}

TEST(ClassifyEnterTest, AbsolutePathsCountAsHavingADriveWherePathsUseSlashes) {
  testing::FakeFileSystem fs('/');
  fs.AddDirectory("/home/ann");
  fs.AddDirectory("docs");
  EXPECT_EQ(ClassifyEnter("/home/ann", fs), EnterAction::OpenExplorer);
  EXPECT_EQ(ClassifyEnter("docs", fs), EnterAction::Search);
  EXPECT_EQ(ClassifyEnter("/nowhere", fs), EnterAction::Search);
}

// The rules see a typed path as the system reads it ("~" as the home folder
// on Linux), before any of them.
TEST(ClassifyEnterTest, RulesSeeTheTypedPathAsTheSystemReadsIt) {
  class HomeFileSystem : public testing::FakeFileSystem {
   public:
    HomeFileSystem() : FakeFileSystem('/') {}
    std::string ExpandTypedPath(std::string_view typed) const override {
      return typed.starts_with('~') ? "/home/ann" + std::string(typed.substr(1))
                                    : std::string(typed);
    }
  } fs;
  fs.AddDirectory("/home/ann/docs");
  EXPECT_EQ(ClassifyEnter("~/docs", fs), EnterAction::OpenExplorer);
  EXPECT_EQ(ClassifyEnter("~/gone", fs), EnterAction::OpenAddress);  // a path, no folder
  EXPECT_EQ(ClassifyEnter("docs", fs), EnterAction::Search);
}

}  // namespace
}  // namespace wh
