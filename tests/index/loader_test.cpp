#include "index/loader.h"

#include <gtest/gtest.h>

#include <map>

#include <random>
#include <stdexcept>
#include <system_error>

#include "fakes/fake_file_system.h"
#include "fakes/fake_platform.h"
#include "index/directory_walk.h"
#include "index/words.h"

namespace wh {
namespace {

using testing::FakeCollation;
using testing::FakeFileSystem;
using testing::FakeShellFolders;

std::vector<std::pair<std::string, std::string>> ItemsOf(const ItemIndex& index) {
  std::vector<std::pair<std::string, std::string>> items;
  for (std::uint32_t i = 0; i < index.ItemList.Count(); ++i) {
    items.emplace_back(index.ItemList.Name(i), index.ItemList.Path(i));
  }
  return items;
}

class LoaderTest : public ::testing::Test {
 protected:
  LoaderTest() {
    settings.UserStartMenu = settings.AllUsersStartMenu = false;
    settings.UserDeskTop = settings.AllUsersDeskTop = false;
    settings.UserMasks = "";
  }
  LoadReport Load(bool includeRecent = true) {
    return LoadDirectories(includeRecent, settings, index, LoadPlatform{fs, folders, apps});
  }
  std::vector<std::string> Paths() const {
    std::vector<std::string> paths;
    for (const auto& item : ItemsOf(index)) paths.push_back(item.second);
    return paths;
  }

  FakeFileSystem fs{'\\'};
  FakeShellFolders folders;
  testing::FakePackagedApps apps;
  FakeCollation collation;
  ItemIndex index{collation, "\\:"};
  Settings settings;
};

TEST_F(LoaderTest, SourcesAreScannedInOrderAndLaterOnesWin) {
  const struct {
    KnownFolder folder;
    const char* name;  // of the file only this source has
    bool Settings::*setting;
    const char* file;
  } sources[] = {
      {KnownFolder::Recent, "Recent", &Settings::RecentFiles, "C:\\Recent\\Shared.lnk"},
      {KnownFolder::History, "History", &Settings::History, "C:\\History\\Shared.url"},
      {KnownFolder::Favorites, "Favorites", &Settings::Favorites, "C:\\Fav\\Shared.txt"},
      {KnownFolder::CommonDesktop, "Common Desktop", &Settings::AllUsersDeskTop,
       "C:\\CDesk\\Shared.lnk"},
      {KnownFolder::Desktop, "Desktop", &Settings::UserDeskTop, "C:\\Desk\\Shared.lnk"},
      {KnownFolder::CommonStartMenu, "Common Start Menu", &Settings::AllUsersStartMenu,
       "C:\\CMenu\\Shared.lnk"},
      {KnownFolder::StartMenu, "Start Menu", &Settings::UserStartMenu, "C:\\Menu\\Shared.lnk"},
  };
  for (const auto& source : sources) {
    std::string file = source.file;
    std::string folder = file.substr(0, file.rfind('\\'));
    folders.Set(source.folder, folder + "\\");
    fs.AddFile(file);
    // A file each source alone has, and one its mask leaves out.
    fs.AddFile(folder + "\\Only " + source.name + file.substr(file.rfind('.')));
    fs.AddFile(folder + "\\Skipped");
  }
  settings.UserMasks = "pdf";

  // Each source in turn wins over the ones before it.
  for (std::size_t last = 0; last < std::size(sources); ++last) {
    for (std::size_t i = 0; i < std::size(sources); ++i) {
      settings.*sources[i].setting = i <= last;
    }
    Load();
    EXPECT_EQ(ItemPath(index, "shared"), sources[last].file);
    EXPECT_EQ(index.ItemList.Count(), last + 2) << "one item per source, and Shared";
  }
  // The Recent folder only when the caller includes it.
  Load(false);
  EXPECT_EQ(ItemPath(index, "Only Recent"), "");
  EXPECT_NE(ItemPath(index, "Only History"), "");
}

TEST_F(LoaderTest, ReportsAboutTheUserDirectory) {
  fs.AddDirectory("C:\\Docs");
  struct Case {
    const char* dir;
    const char* masks;
    std::vector<std::string> reports;
  } cases[] = {
      {"", "xls doc pdf", {}},
      {"C:\\Docs", "", {"No mask(s) for user directory defined."}},
      {"C:\\Missing", "xls", {"Error: User directory not found."}},
      {"C:\\Missing",
       "",
       {"Error: User directory not found.", "No mask(s) for user directory defined."}},
      {"", "", {"No mask(s) for user directory defined."}},
      {"C:\\Docs", "   ", {}},
      {"C:\\Docs", "xls", {}},
  };
  for (const Case& c : cases) {
    settings.UserDir = c.dir;
    settings.UserMasks = c.masks;
    EXPECT_EQ(Load().problems, c.reports) << c.dir << " / " << c.masks;
  }
}

TEST_F(LoaderTest, ReportsTheCounts) {
  settings.UserDir = "C:\\U";
  settings.UserMasks = "lnk";
  for (int i = 0; i < 1234; ++i) fs.AddFile("C:\\U\\word" + std::to_string(i) + " Setup.lnk");
  LoadReport report = Load();
  EXPECT_EQ(report.keywordCount, 1234u);  // "setup" is an ignore word
  EXPECT_EQ(report.itemCount, 1234u);

  fs.Remove("C:\\U");
  fs.AddDirectory("C:\\U");
  report = Load();
  EXPECT_EQ(report.keywordCount, 0u);
  EXPECT_EQ(report.itemCount, 0u);
}

// Packaged apps are the user's Start Menu's: they follow its shortcuts, under
// the names the Start menu shows, and are not asked for without it.
TEST_F(LoaderTest, PackagedAppsFollowTheUserStartMenu) {
  folders.Set(KnownFolder::StartMenu, "C:\\Menu\\");
  folders.Set(KnownFolder::CommonStartMenu, "C:\\All\\");
  fs.AddFile("C:\\Menu\\Paint Shop.lnk");
  fs.AddFile("C:\\All\\Old Calculator.lnk");
  apps.apps = {{"Calculator", "Microsoft.WindowsCalculator_8wekyb3d8bbwe!App"},
               {"Windows Terminal", "Microsoft.WindowsTerminal_8wekyb3d8bbwe!App"}};
  settings.AllUsersStartMenu = true;
  for (bool userStartMenu : {true, false}) {
    SCOPED_TRACE(userStartMenu);
    apps.listed = 0;
    settings.UserStartMenu = userStartMenu;
    Load();
    std::vector<std::pair<std::string, std::string>> expected = {
        {"Old Calculator", "C:\\All\\Old Calculator.lnk"}};
    if (userStartMenu) {
      expected.insert(
          expected.end(),
          {{"Paint Shop", "C:\\Menu\\Paint Shop.lnk"},
           {"Calculator", "shell:AppsFolder\\Microsoft.WindowsCalculator_8wekyb3d8bbwe!App"},
           {"Windows Terminal", "shell:AppsFolder\\Microsoft.WindowsTerminal_8wekyb3d8bbwe!App"}});
    }
    EXPECT_EQ(ItemsOf(index), expected);
    EXPECT_EQ(apps.listed, userStartMenu ? 1 : 0);
    const std::vector<std::string> words =
        userStartMenu
            ? std::vector<std::string>{"calculator", "old", "paint", "shop", "terminal", "windows"}
            : std::vector<std::string>{"calculator", "old"};
    EXPECT_EQ(index.KeywordList.Words(), words);
  }
}

// Items a source lists join it after its folder's files; the recent ones
// only when the load includes them.
TEST_F(LoaderTest, ListedItemsJoinTheirSource) {
  folders.Set(KnownFolder::Favorites, "C:\\Fav\\");
  fs.AddFile("C:\\Fav\\Projects.url");
  folders.listed[KnownFolder::Recent] = {{"C:\\Docs\\Budget 2024.xls", ""}};
  folders.listed[KnownFolder::Favorites] = {{"C:\\Work\\Projects\\", "Projects"},
                                            {"C:\\Work\\Plans.v2\\", "Plans.v2"}};
  settings.RecentFiles = settings.Favorites = true;
  for (bool includeRecent : {true, false}) {
    SCOPED_TRACE(includeRecent);
    Load(includeRecent);
    std::vector<std::pair<std::string, std::string>> expected = {
        {"Projects", "C:\\Work\\Projects\\"}, {"Plans.v2", "C:\\Work\\Plans.v2\\"}};
    if (includeRecent) {
      expected.insert(expected.begin(), std::pair<std::string, std::string>(
                                            "Budget 2024", "C:\\Docs\\Budget 2024.xls"));
    }
    EXPECT_EQ(ItemsOf(index), expected);
  }
  EXPECT_EQ(index.KeywordList.Words(), (std::vector<std::string>{"plans", "projects", "v2"}));
}

// A folder's desktop.ini names its files as the Start menu shows them; a
// search finds them under that name and under the file's own.
TEST_F(LoaderTest, FilesNamedByTheirFolderAreShownSoAndFoundEitherWay) {
  folders.Set(KnownFolder::StartMenu, "C:\\Menu\\");
  settings.UserStartMenu = true;
  fs.AddFile("C:\\Menu\\Notepad.lnk");
  fs.AddFile("C:\\Menu\\Paint.lnk");
  fs.AddFile("C:\\Menu\\Tools\\Notepad.lnk");
  folders.localizedNames["C:\\Menu\\"] = {
      {"NOTEPAD.LNK", "Editor"}, {"Paint.lnk", ""}, {"Gone.lnk", "Nothing"}};
  Load();
  EXPECT_EQ(ItemsOf(index),
            (std::vector<std::pair<std::string, std::string>>{
                {"Editor", "C:\\Menu\\Notepad.lnk"},
                {"Paint", "C:\\Menu\\Paint.lnk"},
                {"Notepad", "C:\\Menu\\Tools\\Notepad.lnk"}}));
  EXPECT_EQ(index.KeywordList.Words(), (std::vector<std::string>{"editor", "notepad", "paint"}));
  const struct {
    const char* pattern;
    std::vector<std::uint32_t> found;
  } searches[] = {{"notepad", {0, 2}}, {"EDIT", {0}}, {"pad", {0, 2}}, {"editornotepad", {}},
                  {"paint", {1}}};
  for (const auto& search : searches) {
    MatchItems(index.ItemList, search.pattern, index.MatchList);
    EXPECT_EQ(index.MatchList.Items(), search.found) << search.pattern;
  }
}

// A system out of threads.
std::thread RefuseThread(std::function<void()>) {
  throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
}

// A source that fails in the middle of the walk.
class FailingFileSystem : public FakeFileSystem {
 public:
  bool ListDirectory(const std::string& dir, const DirectoryEntrySink& sink,
                     std::optional<DirectoryId>* id) const override {
    if (dir.starts_with("C:\\Bad")) throw std::runtime_error("The network name is gone.");
    return FakeFileSystem::ListDirectory(dir, sink, id);
  }
};

TEST_F(LoaderTest, ABackgroundLoadReportsWhatALoadReports) {
  FailingFileSystem files;
  files.AddFile("C:\\Menu\\Word Pad.lnk");
  files.AddFile("C:\\Menu\\Tools\\Paint Shop.lnk");
  files.AddFile("C:\\Docs\\Budget 2004.xls");
  files.AddFile("C:\\Docs\\Plan.doc");
  files.AddFile("C:\\Bad\\Lost.doc");
  folders.Set(KnownFolder::StartMenu, "C:\\Menu\\");
  settings.UserStartMenu = true;
  struct Case {
    const char* userDir;
    const char* masks;
  } cases[] = {
      {"C:\\Docs", "xls doc"},
      {"C:\\Missing", ""},
      {"C:\\Docs", "doc"},
      {"C:\\Bad", "doc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.userDir);
    settings.UserDir = c.userDir;
    settings.UserMasks = c.masks;
    LoadReport before;
    ItemIndex loaded(collation, "\\:");
    std::string failure;
    try {
      before = LoadDirectories(true, settings, loaded, LoadPlatform{files, folders});
    } catch (const std::runtime_error& error) {
      failure = error.what();
    }
    // Without a thread to be had, Finish loads.
    for (ThreadStarter startThread : {StartThread, RefuseThread}) {
      LoadReport after;
      ItemIndex background(collation, "\\:");
      std::string backgroundFailure;
      {
        BackgroundLoad load(true, settings, LoadPlatform{files, folders}, collation,
                            "\\:", startThread);
        try {
          after = load.Finish(background);
        } catch (const std::runtime_error& error) {
          backgroundFailure = error.what();
        }
      }
      EXPECT_EQ(backgroundFailure, failure);
      EXPECT_EQ(after.problems, before.problems);
      EXPECT_EQ(after.keywordCount, before.keywordCount);
      EXPECT_EQ(after.itemCount, before.itemCount);
      if (failure.empty()) {
        EXPECT_EQ(ItemsOf(background), ItemsOf(loaded));
        EXPECT_EQ(background.KeywordList.Words(), loaded.KeywordList.Words());
      }
    }
  }
}

TEST(FormatCountTest, GroupsOfThreeDigits) {
  EXPECT_EQ(FormatCount(0, ","), "");
  EXPECT_EQ(FormatCount(7, ","), "7");
  EXPECT_EQ(FormatCount(999, ","), "999");
  EXPECT_EQ(FormatCount(1000, ","), "1,000");
  EXPECT_EQ(FormatCount(1234567, "."), "1.234.567");
  EXPECT_EQ(FormatCount(123456, "\xE2\x80\xAF"),
            "123\xE2\x80\xAF"
            "456");
}

TEST_F(LoaderTest, TheWalkFollowsTheListingAndSkipsDotDirectories) {
  fs.AddFile("C:\\U\\b.lnk");
  fs.AddFile("C:\\U\\sub\\c.lnk");
  fs.AddFile("C:\\U\\.cache\\hidden.lnk");
  fs.AddFile("C:\\U\\cache\\seen.lnk");
  fs.AddFile("C:\\U\\a.LNK");
  fs.AddFile("C:\\U\\.dotfile.lnk");
  fs.AddFile("C:\\U\\Report");
  fs.AddDirectoryLink("C:\\U\\sub\\loop", "C:\\U");
  fs.AddDirectoryLink("C:\\U\\again", "C:\\U\\sub");
  AddDirectory(index, fs, "C:\\U", "lnk");
  EXPECT_EQ(Paths(),
            (std::vector<std::string>{"C:\\U\\b.lnk", "C:\\U\\a.LNK", "C:\\U\\.dotfile.lnk",
                                      "C:\\U\\sub\\c.lnk", "C:\\U\\cache\\seen.lnk"}));
}

// Directories are told apart by volume and file id together: the same file
// id on another volume is another directory, and a file id of zero is one.
class VolumesFileSystem : public FakeFileSystem {
 public:
  std::map<std::string, DirectoryId> ids;
  bool ListDirectory(const std::string& dir, const DirectoryEntrySink& sink,
                     std::optional<DirectoryId>* id) const override {
    const bool listed = FakeFileSystem::ListDirectory(dir, sink, id);
    std::string key = dir;
    if (!key.empty() && key.back() == '\\') key.pop_back();
    if (const auto it = ids.find(key); it != ids.end() && id) *id = it->second;
    return listed;
  }
};

TEST_F(LoaderTest, TheWalkTellsDirectoriesApartByVolumeAndFile) {
  VolumesFileSystem volumes;
  volumes.AddFile("C:\\U\\a.lnk");
  volumes.AddFile("C:\\U\\one\\b.lnk");
  volumes.AddFile("C:\\U\\two\\c.lnk");
  volumes.AddFile("C:\\U\\three\\d.lnk");
  volumes.AddDirectoryLink("C:\\U\\two\\back", "C:\\U\\one");
  volumes.ids = {{"C:\\U", {1, 7}},     {"C:\\U\\one", {1, 0}}, {"C:\\U\\two", {2, 0}},
                 {"C:\\U\\three", {2, 7}}, {"C:\\U\\two\\back", {1, 0}}};
  AddDirectory(index, volumes, "C:\\U", "lnk");
  EXPECT_EQ(Paths(), (std::vector<std::string>{"C:\\U\\a.lnk", "C:\\U\\one\\b.lnk",
                                               "C:\\U\\two\\c.lnk", "C:\\U\\three\\d.lnk"}));
}

TEST_F(LoaderTest, AFailureWhileIndexingEndsTheWalk) {
  // Enough directories for the listing to move to its own thread, and more
  // files than it lists ahead, so that it is kept waiting when the indexing
  // gives up.
  for (int d = 0; d < 400; ++d) {
    for (int i = 0; i < 100; ++i) {
      fs.AddFile("C:\\U\\d" + std::to_string(d) + "\\f" + std::to_string(i) + ".lnk");
    }
  }
  for (int failAt : {10, 30000}) {  // on the caller's thread, then on the lister's watch
    int seen = 0;
    EXPECT_THROW(WalkTree(fs, "C:\\U", {"*.lnk"},
                          [&](std::string_view, std::size_t) {
                            if (++seen == failAt) throw std::runtime_error("full");
                          }),
                 std::runtime_error);
    EXPECT_EQ(seen, failAt);
  }
  // Without a thread to be had, the caller's lists the whole tree.
  for (ThreadStarter startThread : {StartThread, RefuseThread}) {
    std::vector<std::string> all;
    WalkTree(
        fs, "C:\\U", {"*.lnk"}, [&](std::string_view path, std::size_t) { all.emplace_back(path); },
        startThread);
    ASSERT_EQ(all.size(), 40000u);
    EXPECT_EQ(all.front(), "C:\\U\\d0\\f0.lnk");
    EXPECT_EQ(all.back(), "C:\\U\\d399\\f99.lnk");
  }
}

TEST_F(LoaderTest, MasksMatchWholeNamesIgnoringAsciiCase) {
  struct Case {
    const char* name;
    const char* mask;
    bool match;
  } cases[] = {
      {"Report.XLS", "*.xls", true},   {"Report", "*.*", false}, {"a.", "*.*", true},
      {"desktop.ini", "*.*", true},    {"x.doc", "*.do?", true}, {"x.do", "*.do?", false},
      {"x.tar.gz", "*.gz", true},      {"xls", "*.xls", false},  {"a.xlsx", "*.xls", false},
      {"\xC3\x89.PDF", "*.pdf", true}, {".lnk", "*.lnk", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MaskMatches(c.name, c.mask), c.match) << c.name << " " << c.mask;
}

TEST_F(LoaderTest, ExtensionWordsAreSplitLikeWords) {
  for (const char* f : {"a.xls", "b.doc", "c.pdf", "d.tar", "e.gz", "f.txt"})
    fs.AddFile(std::string("C:\\U\\") + f);
  for (const char* masks : {"xls doc pdf", "xls,doc;pdf", ".xls .doc .pdf"}) {
    index.ItemList.Clear();
    AddDirectory(index, fs, "C:\\U\\", masks);
    EXPECT_EQ(Paths(), (std::vector<std::string>{"C:\\U\\a.xls", "C:\\U\\b.doc", "C:\\U\\c.pdf"}))
        << masks;
  }
  index.ItemList.Clear();
  AddDirectory(index, fs, "C:\\U", "tar.gz");
  EXPECT_EQ(Paths(), (std::vector<std::string>{"C:\\U\\d.tar", "C:\\U\\e.gz"}));
}

// What loading a directory means, done the long way: one walk per extension
// word, each with all masks so far, every file found handed to AddItem.
void LongWayAddDirectory(ItemIndex& index, const FileSystem& fs, const std::string& dir,
                         const std::string& extensions) {
  std::vector<std::string> masks;
  std::string text = extensions, word;
  while (NextWord(text, word)) {
    masks.push_back("*." + word);
    std::vector<std::string> found;
    std::function<void(const std::string&)> walk = [&](const std::string& d) {
      std::vector<std::string> subdirectories;
      fs.ListDirectory(
          d,
          [&](std::string_view name, bool isDirectory) {
            if (isDirectory) {
              if (!name.starts_with('.')) subdirectories.emplace_back(name);
            } else {
              for (const std::string& m : masks) {
                if (MaskMatches(name, m)) {
                  found.push_back(d + std::string(name));
                  break;
                }
              }
            }
          },
          nullptr);
      for (const std::string& s : subdirectories) walk(d + s + "\\");
    };
    walk(dir);
    for (const std::string& path : found) AddItem(index, path);
  }
}

TEST(AddDirectoryTest, OneWalkGivesWhatAWalkPerExtensionGives) {
  std::mt19937 random(7);
  const char* stems[] = {
      "Report", "report", "REPORT",     "Notes", "notes", "\xC3\x89t\xC3\xA9", "\xC3\x89T\xC3\x89",
      "Plan B", "plan b", "Budget 2004"};
  const char* extensions[] = {"xls", "XLS", "doc", "pdf", "txt", "do"};
  FakeCollation collation;
  for (int round = 0; round < 300; ++round) {
    FakeFileSystem fs('\\');
    fs.AddDirectory("C:\\U");
    const int files = 1 + random() % 25;
    for (int i = 0; i < files; ++i) {
      std::string dir = "C:\\U";
      for (int depth = random() % 3; depth > 0; --depth)
        dir += "\\d" + std::to_string(random() % 3);
      fs.AddFile(dir + "\\" + stems[random() % std::size(stems)] + "." +
                 extensions[random() % std::size(extensions)]);
    }
    for (const char* masks : {"xls", "xls doc", "doc xls pdf", "pdf do? xls txt", "txt * doc"}) {
      ItemIndex fast(collation, "\\:"), slow(collation, "\\:");
      AddDirectory(fast, fs, "C:\\U", masks);
      LongWayAddDirectory(slow, fs, "C:\\U\\", masks);
      ASSERT_EQ(ItemsOf(fast), ItemsOf(slow)) << "round " << round << ", masks " << masks;
      ASSERT_EQ(fast.KeywordList.Words(), slow.KeywordList.Words()) << "round " << round;
    }
  }
}

}  // namespace
}  // namespace wh

namespace wh {
namespace {

TEST_F(LoaderTest, LauncherEntriesAreNamedByThemselvesAndHiddenOnesLeftOut) {
  settings.UserStartMenu = settings.AllUsersStartMenu = true;
  settings.UserDir = "C:\\Docs";
  settings.UserMasks = "pdf";
  folders.Set(KnownFolder::CommonStartMenu, "C:\\All\\");
  folders.Set(KnownFolder::StartMenu, "C:\\Mine\\");
  folders.extension = "desktop";
  fs.AddFile("C:\\All\\org.editor.desktop");
  fs.AddFile("C:\\All\\settings.desktop");
  fs.AddFile("C:\\Mine\\my-editor.desktop");
  fs.AddFile("C:\\Mine\\Unnamed Tool.desktop");
  fs.AddFile("C:\\Docs\\Report.pdf");
  folders.shortcutNames = {
      {"C:\\All\\org.editor.desktop", std::string("Text Editor")},
      {"C:\\All\\settings.desktop", std::nullopt},
      {"C:\\Mine\\my-editor.desktop", std::string("text editor")},
  };
  Load();
  EXPECT_EQ(ItemsOf(index), (std::vector<std::pair<std::string, std::string>>{
                                {"text editor", "C:\\Mine\\my-editor.desktop"},
                                {"Unnamed Tool", "C:\\Mine\\Unnamed Tool.desktop"},
                                {"Report", "C:\\Docs\\Report.pdf"}}));
  EXPECT_EQ(index.KeywordList.Words(),
            (std::vector<std::string>{"editor", "report", "text", "tool", "unnamed"}));
  // Only shortcuts are asked; files of the user directory keep their names.
  EXPECT_EQ(folders.asked.size(), 4u);
  MatchItems(index.ItemList, "t ed", index.MatchList);
  // The later entry replaced the earlier one whole, its name's letters too.
  EXPECT_EQ(index.MatchList.Names(index.ItemList), (std::vector<std::string>{"text editor"}));
}

}  // namespace
}  // namespace wh
