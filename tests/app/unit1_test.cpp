#include "Unit1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "command_line.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_key_names.h"
#include "fakes/fake_main_view.h"
#include "fakes/fake_platform.h"
#include "fakes/fake_text_encoding.h"

namespace wh {
namespace {

using testing::FakeMainView;

class FakeStartupEntries : public StartupEntryStore {
 public:
  bool RunValueExists(const std::string& name) const override { return values.count(name) > 0; }
  void WriteRunValue(const std::string& name, const std::string& command) override {
    if (refuse) throw StartupEntryError("Failed to set data for '" + name + "'");
    values[name] = command;
  }
  void DeleteRunValue(const std::string& name) override { values.erase(name); }
  std::map<std::string, std::string> values;
  bool refuse = false;
};

class Unit1Test : public ::testing::Test {
 protected:
  Unit1Test() {
    fs.AddFile("C:\\Menu\\Notepad.lnk");
    fs.AddFile("C:\\Menu\\Word Pad.lnk");
    folders.Set("Start Menu", false, "C:\\Menu");
  }
  void WriteIni(const std::string& text) { fs.AddFile("C:\\Tools\\wordhopper.ini", text); }
  TForm1& Create(std::string_view argument = "") {
    form = std::make_unique<TForm1>(
        view, MainPlatform{fs, folders, numbers, encoding, keyNames, collation, entries,
                           "C:\\Tools\\wh.exe", "\\:", ".exe"});
    form->FormCreate(argument);
    return *form;
  }
  std::vector<std::string> EventsWithout(std::initializer_list<const char*> noise) const {
    std::vector<std::string> events;
    for (const std::string& e : view.events) {
      if (std::none_of(noise.begin(), noise.end(), [&](const char* n) { return e == n; })) {
        events.push_back(e);
      }
    }
    return events;
  }

  testing::FakeFileSystem fs{'\\'};
  testing::FakeShellFolders folders;
  testing::FakeNumberFormat numbers;
  testing::FakeTextEncoding encoding;
  testing::FakeKeyNames keyNames;
  testing::FakeCollation collation;
  FakeStartupEntries entries;
  FakeMainView view;
  std::unique_ptr<TForm1> form;
};

TEST_F(Unit1Test, CreateReadsPlacesSyncsFitsAndLoadsInThatOrder) {
  WriteIni("[Form]\nFormTop=200\nFormLeft=100\n[Program]\nAlwaysScreenCenter=0\n"
           "ShowStatusBar=0\nFirstShow=1\n");
  TForm1& f = Create();
  EXPECT_EQ(f.ProgramDir(), "C:\\Tools\\");
  EXPECT_EQ(EventsWithout({"clear items", "keyword box", "text ''"}),
            (std::vector<std::string>{"place 100,200", "bands info,-", "keywords"}));
  EXPECT_EQ(view.keywordItems, (std::vector<std::string>{"notepad", "pad", "word"}));
  // The entry names the fixed program name, not the executable's.
  EXPECT_EQ(entries.values["wordhopper"], "C:\\Tools\\wordhopper.exe");
  EXPECT_FALSE(view.visible);
  EXPECT_EQ(f.Index().ItemList.Count(), 2u);
}

TEST_F(Unit1Test, ShowArgumentDecidesTheFirstShowing) {
  const struct {
    const char* argument;
    bool shown;
  } cases[] = {{"show", true}, {"/show", true}, {"-show", true}, {"", false},
               {"Show", false}, {"/SHOW", false}, {"--show", false}, {"show2", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argument);
    view = FakeMainView();
    WriteIni("[Program]\nFirstShow=1\n");
    Create(c.argument);
    EXPECT_EQ(view.visible, c.shown);
    EXPECT_EQ(view.caption, c.shown ? "Wordhopper (Hot-key: F4)" : "");
  }
}

TEST_F(Unit1Test, FirstShowingShowsHelpOnceThenCentresAndRaises) {
  TForm1& f = Create("show");
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].rfind("Quick intro:\r\n", 0), 0u);
  const std::vector<std::string> tail(view.events.end() - 6, view.events.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"caption Wordhopper (Hot-key: F4)", "message",
                                            "topmost pending", "front", "centre", "show"}));
  // Later showings neither repeat the help nor centre again.
  view.events.clear();
  f.ShowMainWindow();
  EXPECT_EQ(view.events, (std::vector<std::string>{"show"}));
  EXPECT_EQ(view.messages.size(), 1u);
}

TEST_F(Unit1Test, RefusedStartupEntryIsShownAndStartupGoesOn) {
  entries.refuse = true;
  WriteIni("[Program]\nFirstShow=1\n");
  TForm1& f = Create("show");
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0], "Failed to set data for 'wordhopper'");
  EXPECT_EQ(f.Index().ItemList.Count(), 2u);
  EXPECT_TRUE(view.visible);
}

TEST_F(Unit1Test, ReportsGoWhereTheSettingsSay) {
  const struct {
    bool statusBar, messageBox;
    bool inPanel, inBox;
  } cases[] = {{true, true, true, true},
               {true, false, true, false},
               {false, true, false, true},
               {false, false, false, false}};
  for (const auto& c : cases) {
    view = FakeMainView();
    WriteIni(std::string("[Directories]\nUserDir=C:\\Missing\n[Program]\nFirstShow=1\n") +
             "ShowStatusBar=" + (c.statusBar ? "1" : "0") + "\n" +
             "MessageBoxOnError=" + (c.messageBox ? "1" : "0") + "\n");
    Create();
    const std::string message = "Error: User directory not found.";
    EXPECT_EQ(view.panels[0] == message, c.inPanel);
    EXPECT_EQ(std::count(view.messages.begin(), view.messages.end(), message), c.inBox ? 1 : 0);
  }
}

TEST_F(Unit1Test, ExitStoresThePositionAndEndsEvenWhenTheFileIsReadOnly) {
  WriteIni("[Form]\nFormTop=1\nFormLeft=2\nHotKey=F6\n[Program]\nFirstShow=1\n");
  TForm1& f = Create();
  view.position = {30, 40};
  f.Exit1Click();
  EXPECT_EQ(view.events.back(), "quit");
  const std::string ini = *fs.Contents("C:\\Tools\\wordhopper.ini");
  EXPECT_NE(ini.find("FormTop=40"), std::string::npos);
  EXPECT_NE(ini.find("FormLeft=30"), std::string::npos);
  EXPECT_NE(ini.find("HotKey=F6"), std::string::npos);

  fs.MakeReadOnly("C:\\Tools\\wordhopper.ini");
  view.events.clear();
  f.Exit1Click();
  EXPECT_EQ(view.messages.back(), "Unable to write to C:\\Tools\\wordhopper.ini");
  EXPECT_EQ(view.events.back(), "quit");
}

TEST(CommandLineTest, FirstArgumentSplitsAtBlanksAndQuotesGroup) {
  const struct {
    const char* line;
    const char* first;
  } cases[] = {
      {"wordhopper.exe", ""},
      {"wordhopper.exe show", "show"},
      {"\"C:\\Program Files\\wh\\wordhopper.exe\" /show extra", "/show"},
      {"  wh.exe   \t-show", "-show"},
      {"wh.exe \"sh\"ow", "show"},
      {"wh.exe \"two words\" x", "two words"},
      {"\"C:\\a b\\wh.exe\"", ""},
      {"wh.exe C:\\dir\\", "C:\\dir\\"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FirstArgument(c.line), c.first) << c.line;
  }
}

}  // namespace
}  // namespace wh
