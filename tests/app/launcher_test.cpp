#include "app/launcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/command_line.h"
#include "app/launcher_fixture.h"
#include "settings/ini_file.h"

namespace wh {
namespace {

TEST_F(LauncherTest, CreateReadsPlacesSyncsFitsAndLoadsInThatOrder) {
  WriteIni(
      "[Form]\nFormTop=200\nFormLeft=100\n[Program]\nAlwaysScreenCenter=0\n"
      "ShowStatusBar=0\nFirstShow=1\n");
  Launcher& f = Create();
  EXPECT_EQ(f.ProgramDir(), "C:\\Tools\\");
  EXPECT_EQ(EventsWithout({"clear items", "keyword box", "text ''"}),
            (std::vector<std::string>{"place 100,200", "register 0", "bands info,-", "keywords"}));
  EXPECT_EQ(view.keywordItems, (std::vector<std::string>{"notepad", "pad", "word"}));
  // The entry names the fixed program name, not the executable's.
  EXPECT_EQ(entries.values["wordhopper"], "C:\\Tools\\wordhopper.exe");
  EXPECT_FALSE(view.visible);
  EXPECT_EQ(f.Index().ItemList.Count(), 2u);
}

TEST_F(LauncherTest, LoadShowsTheCountsWhenThereIsAStatusBar) {
  for (int i = 0; i < 1232; ++i) fs.AddFile("C:\\Menu\\word" + std::to_string(i) + " Setup.lnk");
  Create();
  // notepad, pad, word and each wordN; "setup" is an ignore word.
  EXPECT_EQ(view.panels[StatusPanel::Keywords], "Keywords: 1,235");
  EXPECT_EQ(view.panels[StatusPanel::Items], "Items: 1,234");

  fs.Remove("C:\\Menu");
  launcher->LoadDirectories(true);
  EXPECT_EQ(view.panels[StatusPanel::Keywords], "Keywords: ");
  EXPECT_EQ(view.panels[StatusPanel::Items], "Items: ");

  WriteIni("[Program]\nShowStatusBar=0\n");
  view = FakeMainView();
  Create();
  EXPECT_TRUE(view.panels.empty());
}

TEST_F(LauncherTest, ShowArgumentDecidesTheFirstShowing) {
  const struct {
    const char* argument;
    bool shown;
  } cases[] = {{"show", true},  {"/show", true},  {"-show", true},   {"", false},
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

TEST_F(LauncherTest, FirstShowingShowsHelpOnceThenCentresAndRaises) {
  Launcher& f = Create("show");
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].rfind("Quick intro:\r\n", 0), 0u);
  const std::vector<std::string> tail(view.events.end() - 6, view.events.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"caption Wordhopper (Hot-key: F4)", "message",
                                            "topmost pending", "front", "centre", "show"}));
  // Later showings neither repeat the help nor centre again.
  view.events.clear();
  f.ShowFromTray();
  EXPECT_EQ(view.events, (std::vector<std::string>{"from tray", "show"}));
  EXPECT_EQ(view.messages.size(), 1u);
}

TEST_F(LauncherTest, RefusedStartupEntryIsShownAndStartupGoesOn) {
  entries.refuse = true;
  WriteIni("[Program]\nFirstShow=1\n");
  Launcher& f = Create("show");
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0], "Failed to set data for 'wordhopper'");
  EXPECT_EQ(f.Index().ItemList.Count(), 2u);
  EXPECT_TRUE(view.visible);
}

TEST_F(LauncherTest, ReportsGoWhereTheSettingsSay) {
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
    EXPECT_EQ(view.panels[StatusPanel::Status] == message, c.inPanel);
    EXPECT_EQ(std::count(view.messages.begin(), view.messages.end(), message), c.inBox ? 1 : 0);
  }
}

TEST_F(LauncherTest, ExitStoresThePositionAndEndsEvenWhenTheFileIsReadOnly) {
  WriteIni("[Form]\nFormTop=1\nFormLeft=2\nHotKey=F6\n[Program]\nFirstShow=1\n");
  Launcher& f = Create();
  view.position = {30, 40};
  f.OnTrayExit();
  EXPECT_EQ(view.events.back(), "quit");
  const std::string ini = *fs.Contents("C:\\Tools\\wordhopper.ini");
  EXPECT_NE(ini.find("FormTop=40"), std::string::npos);
  EXPECT_NE(ini.find("FormLeft=30"), std::string::npos);
  EXPECT_NE(ini.find("HotKey=F6"), std::string::npos);

  fs.MakeReadOnly("C:\\Tools\\wordhopper.ini");
  view.events.clear();
  f.OnTrayExit();
  EXPECT_EQ(view.messages.back(), "Unable to write to C:\\Tools\\wordhopper.ini");
  EXPECT_EQ(view.events.back(), "quit");
}

// A settings file that can't be read while `failure` says so.
class FailingSettingsRead : public testing::FakeFileSystem {
 public:
  enum class Failure { None, Throws, Unreadable };
  std::optional<std::string> ReadWholeFile(const std::string& path,
                                           std::size_t maxBytes) const override {
    if (path.ends_with("wordhopper.ini") && failure == Failure::Throws) throw std::bad_alloc();
    if (path.ends_with("wordhopper.ini") && failure == Failure::Unreadable) return std::nullopt;
    return FakeFileSystem::ReadWholeFile(path, maxBytes);
  }
  Failure failure = Failure::None;
};

TEST_F(LauncherTest, SettingsThatCouldNotBeReadAreNeverWrittenOver) {
  const std::string ini = "C:\\Tools\\wordhopper.ini";
  const std::string saved = "[Form]\nHotKey=F6\n";
  for (auto failure :
       {FailingSettingsRead::Failure::Throws, FailingSettingsRead::Failure::Unreadable}) {
    FailingSettingsRead files;
    files.AddFile("C:\\Menu\\Notepad.lnk");
    files.AddFile(ini, saved);
    files.failure = failure;
    view = FakeMainView();
    launcher = std::make_unique<Launcher>(view, Platform(&files));
    launcher->Start("show");
    // Readable again later, as when memory has come free.
    files.failure = FailingSettingsRead::Failure::None;
    // The start went on, with the defaults.
    EXPECT_EQ(view.trayHint, "Wordhopper (Hot-key: F4)");
    EXPECT_EQ(launcher->Index().ItemList.Count(), 1u);
    EXPECT_FALSE(launcher->OnClose());
    try {
      launcher->ApplySettings(launcher->CurrentSettings());
      ADD_FAILURE() << "saved";
    } catch (const SettingsWriteError& error) {
      EXPECT_STREQ(error.what(), "Unable to write to C:\\Tools\\wordhopper.ini");
    }
    launcher->OnTrayExit();
    EXPECT_EQ(view.events.back(), "quit");
    EXPECT_EQ(view.messages.size(), 1u) << "the help, and nothing of the file";
    EXPECT_EQ(files.WriteCount(), 0);
    EXPECT_EQ(files.Contents(ini), saved);
  }
}

// A file system that breaks off the walk of a folder while `broken` is set.
class BreakingWalk : public testing::FakeFileSystem {
 public:
  bool ListDirectory(const std::string& dir, const DirectoryEntrySink& sink,
                     std::optional<DirectoryId>* id) const override {
    if (broken && dir.find("Sub") != std::string::npos) {
      throw std::runtime_error("The network name is gone.");
    }
    return FakeFileSystem::ListDirectory(dir, sink, id);
  }
  bool broken = false;
};

TEST_F(LauncherTest, AReloadTheFileSystemBreaksOffKeepsTheIndexAndWhatIsShownOfIt) {
  BreakingWalk files;
  files.AddFile("C:\\Menu\\Notepad.lnk");
  files.AddFile("C:\\Menu\\Sub\\Extra.lnk");
  files.AddFile("C:\\Tools\\wordhopper.ini", "[Program]\nFirstShow=1\n");
  launcher = std::make_unique<Launcher>(view, Platform(&files));
  launcher->Start("show");
  files.broken = true;
  EXPECT_THROW(launcher->OnTrayReload(), std::runtime_error);
  EXPECT_EQ(launcher->Index().ItemList.Count(), 2u);
  EXPECT_EQ(view.keywordItems, (std::vector<std::string>{"extra", "notepad"}));
  EXPECT_EQ(view.panels[StatusPanel::Items], "Items: 2");
  view.keywordText = "extra";
  launcher->OnKeywordKey(Key::Enter);
  EXPECT_EQ(view.itemBox, std::vector<std::string>{"Extra"});
}

class DialogueTest : public LauncherTest {
 protected:
  DialogueTest() {
    fs.Remove("C:\\Menu\\Word Pad.lnk");
    for (const char* name : {"WordPad", "Microsoft Word", "Password Safe"}) {
      fs.AddFile(std::string("C:\\Menu\\") + name + ".lnk");
    }
    fs.AddDirectory("C:\\Docs");
    folders.Set(KnownFolder::Personal, "C:\\Docs\\");
  }
  Launcher& Start(const std::string& programSettings = "") {
    WriteIni("[Program]\nFirstShow=1\n" + programSettings);
    Launcher& f = Create("show");
    view.events.clear();
    return f;
  }
  void Type(Launcher& f, const std::string& text, Key key) {
    view.keywordText = text;
    f.OnKeywordKey(key);
  }
};

TEST_F(DialogueTest, EnterInTheKeywordBoxOpensOrSearches) {
  const struct {
    const char* label;
    const char* settings;
    const char* text;
    const char* request;  // "" for none
    bool itemMode;
    bool visible;
    const char* keywordText;
    const char* report;  // "" for none
  } cases[] = {
      {"matches: item mode", "", "word", "", true, true, "word", ""},
      {"no match: the report, text kept", "", "xyz", "", false, true, "xyz",
       "No items with pattern \"xyz\" found."},
      {"no match with the find window", "UseFindDialog=1\n", "xyz", "find C:\\Docs\\", false, false,
       "", ""},
      {"existing directory", "", "C:\\Docs", "explorer C:\\Docs", false, false, "", ""},
      {"directory without a drive part searches", "", "Docs", "", false, true, "Docs",
       "No items with pattern \"Docs\" found."},
      {"network path, whether or not it exists", "", "\\\\server\\share",
       "explorer \\\\server\\share", false, false, "", ""},
      {"address, even with HideWhenLaunching off", "HideWhenLaunching=0\n", "www.example.com",
       "address www.example.com", false, false, "", ""},
      {"one match launches with StartOnOneMatch", "StartOnOneMatch=1\n", "notepad",
       "open C:\\Menu\\Notepad.lnk", false, false, "", ""},
      {"one match without it waits", "", "notepad", "", true, true, "notepad", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    view = FakeMainView();
    shell.requests.clear();
    Launcher& f = Start(c.settings);
    Type(f, c.text, Key::Enter);
    EXPECT_EQ(shell.requests.empty() ? "" : shell.requests[0], std::string(c.request));
    EXPECT_EQ(view.itemMode, c.itemMode);
    EXPECT_EQ(view.visible, c.visible);
    EXPECT_EQ(view.keywordText, c.keywordText);
    if (*c.report) {
      EXPECT_EQ(view.panels[StatusPanel::Status], c.report);
    }
    EXPECT_EQ(view.messages.size(), *c.report ? 1u : 0u);
  }
}

TEST_F(DialogueTest, SearchFillsTheItemBoxSortedAndOpensIt) {
  Launcher& f = Start();
  Type(f, "word", Key::Enter);
  EXPECT_EQ(view.itemBox, (std::vector<std::string>{"Microsoft Word", "Password Safe", "WordPad"}));
  EXPECT_EQ(view.ItemText(), "Microsoft Word");
  EXPECT_EQ(view.events, (std::vector<std::string>{"fill items", "select first", "item box",
                                                   "drop items", "focus items"}));
  // ESC goes back with an empty keyword box; the searched text is gone.
  f.OnItemKey(Key::Escape);
  EXPECT_FALSE(view.itemMode);
  EXPECT_EQ(view.keywordText, "");
  EXPECT_TRUE(view.itemBox.empty());

  // ENTER starts the item of the entry selected, whatever the index's order.
  Type(f, "word", Key::Enter);
  view.itemIndex = 2;
  f.OnItemKey(Key::Enter);
  EXPECT_EQ(shell.requests, (std::vector<std::string>{"open C:\\Menu\\WordPad.lnk"}));
}

TEST_F(DialogueTest, EnterInTheItemBoxLaunches) {
  const struct {
    const char* label;
    const char* settings;
    bool startSucceeds;
    bool deleteFile;
    bool itemMode;
    bool visible;
    const char* report;
    const char* typed = "wordpad";
    const char* opened = "open C:\\Menu\\WordPad.lnk";
  } cases[] = {
      {"started, hidden", "", true, false, false, false, ""},
      {"started, HideWhenLaunching off", "HideWhenLaunching=0\n", true, false, false, true, ""},
      {"start failed: item mode, hidden first", "", false, false, true, false,
       "Unknown execute error."},
      {"file gone since the load", "", true, true, false, true, "Execute failed, file not found."},
      // A packaged app has no file to look for: the shell alone decides.
      {"packaged app", "", true, false, false, false, "", "calculator",
       "open shell:AppsFolder\\Calc_8wekyb3d8bbwe!App"},
      {"packaged app refused", "", false, false, true, false, "Unknown execute error.",
       "calculator", "open shell:AppsFolder\\Calc_8wekyb3d8bbwe!App"},
      // A bookmarked folder opens as the folder while it is there.
      {"folder", "[Directories]\nFavorites=1\n", true, false, false, false, "", "projects",
       "open C:\\Work\\Projects\\"},
      {"folder gone since the load", "[Directories]\nFavorites=1\n", true, true, false, true,
       "Execute failed, file not found.", "projects", "open C:\\Work\\Projects\\"},
  };
  packagedApps.apps = {{"Calculator", "Calc_8wekyb3d8bbwe!App"}};
  folders.listed[KnownFolder::Favorites] = {{"C:\\Work\\Projects\\", "Projects"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    view = FakeMainView();
    shell.requests.clear();
    shell.startSucceeds = c.startSucceeds;
    fs.AddFile("C:\\Menu\\WordPad.lnk");
    fs.AddDirectory("C:\\Work\\Projects");
    Launcher& f = Start(c.settings);
    Type(f, c.typed, Key::Enter);
    // The item's own path, as its request names it.
    if (c.deleteFile) fs.Remove(std::string(c.opened).substr(std::string("open ").size()));
    f.OnItemKey(Key::Enter);
    EXPECT_EQ(shell.requests,
              c.deleteFile ? std::vector<std::string>{} : std::vector<std::string>{c.opened});
    EXPECT_EQ(view.itemMode, c.itemMode);
    EXPECT_EQ(view.visible, c.visible);
    if (!c.itemMode) {
      EXPECT_EQ(view.keywordText, "");
    }
    EXPECT_EQ(view.messages.empty() ? "" : view.messages.back(), std::string(c.report));
  }
}

TEST_F(DialogueTest, ARefusedStartLeavesTheWindowAsItWasThroughHidingAndShowing) {
  const struct {
    const char* label;
    const char* text;
    int item;  // the entry ENTER starts in the item box; -1: ENTER in the keyword box
    bool hiddenByLaunch;
  } cases[] = {
      {"folder", "C:\\Docs", -1, false},
      {"network path", "\\\\server\\share", -1, false},
      {"address", "www.example.com", -1, false},
      {"item", "word", 2, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    view = FakeMainView();
    shell.requests.clear();
    shell.startSucceeds = false;
    Launcher& f = Start();
    Type(f, c.text, Key::Enter);
    if (c.item >= 0) {
      view.itemIndex = c.item;
      f.OnItemKey(Key::Enter);
    }
    EXPECT_EQ(shell.requests.size(), 1u);
    EXPECT_EQ(view.panels[StatusPanel::Status], "Unknown execute error.");
    EXPECT_EQ(view.visible, !c.hiddenByLaunch);
    f.OnTrayHide();
    f.OnTrayShow();
    EXPECT_TRUE(view.visible);
    EXPECT_EQ(view.keywordText, c.text);
    EXPECT_EQ(view.itemMode, c.item >= 0);
    EXPECT_EQ(view.itemIndex, c.item);
  }
  shell.startSucceeds = true;
}

TEST_F(DialogueTest, EscapeArrowsAndTheInformationPanel) {
  Launcher& f = Start();
  Type(f, "abc", Key::Escape);
  EXPECT_EQ(view.keywordText, "");
  EXPECT_EQ(view.panels[StatusPanel::Status], "Type a keyword or press ESC to hide Wordhopper.");
  EXPECT_TRUE(view.visible);
  Type(f, "", Key::Escape);
  EXPECT_FALSE(view.visible);

  view.events.clear();
  Type(f, "", Key::Down);
  Type(f, "", Key::Up);
  f.OnItemKey(Key::Down);
  EXPECT_EQ(view.events,
            (std::vector<std::string>{"drop keywords", "drop keywords", "drop items"}));

  // Five characters don't refresh the panel; six do, on any key.
  Type(f, "abcde", Key::Other);
  EXPECT_EQ(view.pageFile, "");
  Type(f, "abcdef", Key::Other);
  EXPECT_EQ(view.pageFile, "1,500 MB in use | 500 MB available");
  EXPECT_EQ(view.processCount, "1500");
  EXPECT_EQ(view.gauge, 50);
  EXPECT_EQ(view.panels[StatusPanel::Status], "Physical memory available for programs: 500 MB");
}

TEST_F(DialogueTest, PanelFollowsShowInfoPanelAndShowTitleBar) {
  const struct {
    const char* settings;
    bool refreshedOnKeys;
    bool labels;
    bool statusLine;
  } cases[] = {
      {"", true, true, true},
      {"ShowTitleBar=0\n", true, true, false},
      {"ShowInfoPanel=0\n", false, false, true},
      {"ShowInfoPanel=0\nShowTitleBar=0\n", false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.settings);
    view = FakeMainView();
    figures.memory = {2000ull << 20, 170ull << 20, 0, 0};
    Launcher& f = Start(c.settings);
    Type(f, "abcdefg", Key::Other);
    EXPECT_EQ(view.gauge == 92, c.refreshedOnKeys);
    f.RefreshInfoPanel();
    EXPECT_EQ(view.gauge, 92);
    EXPECT_EQ(view.gaugeLow, c.labels);
    EXPECT_EQ(view.pageFile == "0 MB in use | 0 MB available", c.labels);
    EXPECT_EQ(
        view.panels[StatusPanel::Status] == "Low on physical memory, 170 MB of 2,000 MB available!",
        c.statusLine);
  }
}

TEST_F(DialogueTest, CompletionIsOnFromTheFirstShowingWithAutoComplete) {
  Launcher& hidden = Create();
  EXPECT_FALSE(hidden.OnKeywordChar("n"));
  hidden.ShowFromTray();
  view.keywordText.clear();
  EXPECT_TRUE(hidden.OnKeywordChar("n"));
  EXPECT_EQ(view.keywordText, "notepad");
  EXPECT_EQ(view.selStart, 1u);
  EXPECT_EQ(view.selEnd, 7u);

  view = FakeMainView();
  Launcher& off = Start("AutoComplete=0\n");
  EXPECT_FALSE(off.OnKeywordChar("n"));
}

TEST_F(LauncherTest, HotKeyRegistrationSetsHintShortcutAndCaption) {
  const struct {
    const char* hotKey;
    bool refused;
    const char* hint;
    const char* shortcut;
    bool reported;
  } cases[] = {
      {"F4", false, "Wordhopper (Hot-key: F4)", "F4", false},
      {"shift+f6", false, "Wordhopper (Hot-key: shift+f6)", "Shift+F6", false},
      {"F4", true, "Wordhopper (Hot-key: n/a)", "", true},
      {"NoSuchKey", false, "Wordhopper (Hot-key: n/a)", "", true},
      {"", false, "Wordhopper (Hot-key: n/a)", "", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hotKey);
    view = FakeMainView();
    view.refuseHotKey = c.refused;
    WriteIni(std::string("[Form]\nHotKey=") + c.hotKey + "\n[Program]\nFirstShow=1\n");
    Launcher& f = Create("show");
    EXPECT_EQ(view.trayHint, c.hint);
    EXPECT_EQ(view.showShortcut, c.shortcut);
    EXPECT_EQ(view.caption, c.hint);
    EXPECT_EQ(view.messages, c.reported ? std::vector<std::string>{"Unable to assign hot-key."}
                                        : std::vector<std::string>{});
    // "n/a" is what the user sees; the settings keep the file's key.
    EXPECT_EQ(f.CurrentSettings().HotKey, c.hotKey);
  }
}

TEST_F(LauncherTest, HotKeyShowsFromTheTrayReloadingWhenAsked) {
  WriteIni("[Program]\nFirstShow=1\nReloadOnPopup=1\nStayOnTop=0\n");
  Launcher& f = Create();
  fs.AddFile("C:\\Menu\\Extra.lnk");
  view.events.clear();
  f.HotKeyPressed();
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(f.Index().ItemList.Count(), 3u);
  // The first showing runs OnFirstShow; the window ends in the normal band.
  EXPECT_EQ(view.events.front(), "clear items");
  EXPECT_EQ(view.events.back(), "normal shown");
  EXPECT_NE(std::find(view.events.begin(), view.events.end(), "caption Wordhopper (Hot-key: F4)"),
            view.events.end());

  // While the settings window is open the key is given back; on again it
  // goes under the next identifier, once.
  view.events.clear();
  f.SwitchHotKeyOff();
  f.SwitchHotKeyOff();
  f.SwitchHotKeyOn();
  f.SwitchHotKeyOn();
  EXPECT_EQ(view.events, (std::vector<std::string>{"unregister", "register 1"}));
}

// Presses of the hot key that come through a message box of the start wait
// for its end: the window then shows once, with nothing loaded or reported
// twice. A press through a box of an earlier press is part of that one.
TEST_F(LauncherTest, HotKeyPressedDuringTheStartOrAPressCountsOnce) {
  WriteIni("[Directories]\nUserDir=C:\\Missing\n[Program]\nFirstShow=1\nReloadOnPopup=1\n");
  const std::string problem = "Error: User directory not found.";
  bool pressed = false;
  const auto pressTwiceInTheFirstBox = [&] {
    if (std::exchange(pressed, true)) return;
    launcher->HotKeyPressed();
    launcher->HotKeyPressed();
  };
  const auto count = [&](const char* event) {
    return std::count(view.events.begin(), view.events.end(), event);
  };

  view.duringMessage = pressTwiceInTheFirstBox;
  Launcher& f = Create();
  EXPECT_EQ(view.messages, std::vector<std::string>{problem});
  EXPECT_EQ(count("keywords"), 1);
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(count("show"), 1);
  EXPECT_GT(std::find(view.events.begin(), view.events.end(), "show"),
            std::find(view.events.begin(), view.events.end(), "keywords"));

  f.OnTrayHide();
  view.events.clear();
  view.messages.clear();
  pressed = false;
  f.HotKeyPressed();
  EXPECT_EQ(view.messages, std::vector<std::string>{problem});
  EXPECT_EQ(count("keywords"), 1);
  EXPECT_TRUE(view.visible);
}

// A position saved on a monitor that isn't there comes onto the nearest one,
// at the start and at each showing; one on a monitor that is there stays.
TEST_F(LauncherTest, PositionOffEveryMonitorComesOntoTheNearest) {
  const auto placed = [&] { return std::pair(view.position.left, view.position.top); };
  WriteIni("[Form]\nFormLeft=5000\nFormTop=200\n[Program]\nFirstShow=1\nAlwaysScreenCenter=0\n");
  Create();
  // The screen is 1920 wide, the window 471.
  EXPECT_EQ(placed(), std::pair(1449, 200));

  view = FakeMainView();
  view.monitors.push_back({{-1280, 0, 0, 1024}, {-1280, 0, 0, 984}});
  WriteIni("[Form]\nFormLeft=-1000\nFormTop=300\n[Program]\nFirstShow=1\nAlwaysScreenCenter=0\n");
  Create();
  EXPECT_EQ(placed(), std::pair(-1000, 300));
  // That monitor unplugged while the program runs: the next showing moves
  // the window before it comes up.
  view.monitors.pop_back();
  view.events.clear();
  launcher->HotKeyPressed();
  EXPECT_EQ(placed(), std::pair(0, 300));
  EXPECT_EQ(view.events.front(), "place 0,300");
  EXPECT_TRUE(view.visible);
}

TEST_F(LauncherTest, CloseBoxWritesTheFirstShowOnceThenHidesOrEnds) {
  const struct {
    const char* settings;
    bool goesOn;
    bool hidden;
  } cases[] = {
      {"HideToSystemTray=1\n", false, true},
      {"HideToSystemTray=0\n", true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.settings);
    view = FakeMainView();
    view.refuseHotKey = true;
    WriteIni(std::string("[Form]\nFormTop=7\nFormLeft=8\nHotKey=F6\n[Program]\n") + c.settings);
    Launcher& f = Create("show");
    view.position = {300, 400};
    EXPECT_EQ(f.OnClose(), c.goesOn);
    EXPECT_EQ(view.visible, !c.hidden);
    const std::string ini = *fs.Contents("C:\\Tools\\wordhopper.ini");
    EXPECT_NE(ini.find("FirstShow=1"), std::string::npos);
    // The key that failed to register is not erased, and the position is
    // only stored by Exit.
    EXPECT_NE(ini.find("HotKey=F6"), std::string::npos);
    EXPECT_NE(ini.find("FormTop=7"), std::string::npos);
    const int writes = fs.WriteCount();
    f.OnClose();
    EXPECT_EQ(fs.WriteCount(), writes);
  }
}

TEST_F(LauncherTest, FirstShowingWithoutTitleBarTakesItOff) {
  WriteIni("[Program]\nFirstShow=1\nShowTitleBar=0\n");
  Launcher& f = Create();
  f.OnTrayShow();
  EXPECT_FALSE(view.titleBar);
  EXPECT_TRUE(view.visible);
  f.RestoreTitleBar();
  EXPECT_TRUE(view.titleBar);
}

TEST_F(LauncherTest, ShowFromTheMenuHidesTheWindowOnlyWhenItIsNotOnScreen) {
  WriteIni("[Program]\nFirstShow=1\n");
  Launcher& f = Create("show");
  view.events.clear();
  f.OnTrayShow();
  EXPECT_EQ(EventsWithout({"from tray", "front", "show"}),
            (std::vector<std::string>{"topmost shown"}));
  f.OnTrayHide();
  view.events.clear();
  f.OnTrayShow();
  EXPECT_EQ(view.events.front(), "topmost pending");
  EXPECT_TRUE(view.visible);
}

// A second start brings back a window hidden to the tray; a copy never shown
// stays out of sight unless the show argument asks for it.
TEST_F(LauncherTest, SecondStartShowsWhatWasHiddenOrWhatTheArgumentAsks) {
  const struct {
    const char* argument;
    bool hide, showArgument, shown;
  } cases[] = {{"", false, false, false},
               {"", false, true, true},
               {"show", true, false, true},
               {"show", false, false, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.argument) + (c.hide ? " hidden" : "") +
                 (c.showArgument ? " show" : ""));
    view = FakeMainView();
    WriteIni("[Program]\nFirstShow=1\n");
    Launcher& f = Create(c.argument);
    if (c.hide) f.OnTrayHide();
    view.events.clear();
    f.OnSecondStart(c.showArgument);
    EXPECT_EQ(view.visible, c.shown);
    EXPECT_EQ(view.events.back(), "front");
  }
}

TEST_F(LauncherTest, SettingsLiveInTheGivenFolderWhenThereIsOne) {
  settingsDir = "C:\\Config\\";
  fs.AddFile("C:\\Config\\wordhopper.ini", "[Form]\nHotKey=F6\n[Program]\nFirstShow=1\n");
  WriteIni("[Form]\nHotKey=F7\n");
  Launcher& f = Create();
  EXPECT_EQ(f.CurrentSettings().HotKey, "F6");
  view.position = {3, 4};
  f.OnTrayExit();
  EXPECT_NE(fs.Contents("C:\\Config\\wordhopper.ini")->find("FormLeft=3"), std::string::npos);
  EXPECT_EQ(fs.Contents("C:\\Tools\\wordhopper.ini")->find("FormLeft"), std::string::npos);
}

TEST_F(LauncherTest, AReadOnlyFileBesideAReadOnlyProgramIsReadAndTheUsersOwnWritten) {
  userSettingsDir = "C:\\Users\\ann\\AppData\\Roaming\\Wordhopper\\";
  const std::string own = userSettingsDir + "wordhopper.ini";
  fs.AddDirectory("C:\\Users\\ann\\AppData\\Roaming");
  const std::string installed = "[Form]\nHotKey=F6\n[Program]\nFirstShow=1\n";
  WriteIni(installed);
  fs.MakeReadOnly("C:\\Tools\\wordhopper.ini");
  fs.MakeReadOnly("C:\\Tools");
  Launcher& f = Create();
  EXPECT_EQ(view.trayHint, "Wordhopper (Hot-key: F6)");
  EXPECT_FALSE(fs.DirectoryExists(userSettingsDir)) << "made before anything is written";
  view.position = {3, 4};
  f.OnTrayExit();
  EXPECT_TRUE(view.messages.empty());
  const std::string written = fs.Contents(own).value_or("");
  for (const char* line : {"HotKey=F6", "FirstShow=1", "FormLeft=3"}) {
    EXPECT_NE(written.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(fs.Contents("C:\\Tools\\wordhopper.ini"), installed);
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
