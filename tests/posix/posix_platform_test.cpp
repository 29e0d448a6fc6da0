#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>

#include "fakes/fake_platform.h"
#include "index/directory_walk.h"
#include "index/loader.h"
#include "posix/posix_file_system.h"
#include "posix/posix_locale.h"
#include "posix/xdg_shell_folders.h"

namespace wh {

void PrintTo(const ListedItem& item, std::ostream* out) {
  *out << '{' << item.path << ", " << item.name << '}';
}

namespace {

namespace fs = std::filesystem;

class TempTree : public ::testing::Test {
 protected:
  TempTree() {
    std::string pattern = (fs::temp_directory_path() / "wh-posix-XXXXXX").string();
    root_ = mkdtemp(pattern.data());
  }
  ~TempTree() override {
    std::error_code ignored;
    fs::permissions(root_ / "locked", fs::perms::owner_all, ignored);
    fs::remove_all(root_, ignored);
  }
  void Touch(const fs::path& relative, const std::string& contents = "") {
    fs::create_directories((root_ / relative).parent_path());
    std::ofstream(root_ / relative) << contents;
  }
  std::string Root() const { return root_.string(); }
  // The names and paths a full load with `settings` indexes.
  std::set<std::pair<std::string, std::string>> LoadedItems(const Settings& settings,
                                                            const ShellFolders& folders) const {
    PosixCollation collation;
    ItemIndex index(collation, "/");
    LoadDirectories(true, settings, index, LoadPlatform{fileSystem_, folders});
    std::set<std::pair<std::string, std::string>> items;
    for (std::uint32_t i = 0; i < index.ItemList.Count(); ++i) {
      items.emplace(index.ItemList.Name(i), index.ItemList.Path(i));
    }
    return items;
  }

  fs::path root_;
  PosixFileSystem fileSystem_;
};

TEST_F(TempTree, WalkEndsOnLoopsAndReachesEveryFileOnce) {
  Touch("a.desktop");
  Touch("sub/b.desktop");
  Touch("sub/deeper/c.DESKTOP");
  Touch(".hidden/d.desktop");
  Touch("cache/e.desktop");
  Touch("locked/f.desktop");
  Touch("sub/g.txt");
  const std::string odd = std::string("bad\xFF\xFEname.desktop");  // not UTF-8
  Touch(odd);
  std::string longDir;
  for (int i = 0; i < 30; ++i) longDir += "directory-with-a-long-name-" + std::to_string(i) + "/";
  Touch(longDir + "far.desktop");  // a path far over 260 characters
  fs::create_directory_symlink(root_, root_ / "sub" / "loop");
  fs::create_directory_symlink(root_ / "sub", root_ / "again");
  fs::create_symlink(root_ / "a.desktop", root_ / "link.desktop");
  chmod((root_ / "locked").c_str(), 0);
  const bool lockedIsUnreadable = access((root_ / "locked").c_str(), R_OK) != 0;  // not as root

  std::vector<std::string> found;
  WalkTree(fileSystem_, Root(), {"*.desktop"},
           [&](std::string_view path, std::size_t) { found.emplace_back(path); });

  // Each file once, by whichever way the listing reached its directory first.
  std::multiset<std::string> relative;
  const std::string canonicalRoot = fs::canonical(root_).string();
  for (const std::string& path : found) {
    ASSERT_TRUE(fileSystem_.FileExists(path)) << path;
    const fs::path file(path);
    relative.insert((fs::canonical(file.parent_path()) / file.filename())
                        .string()
                        .substr(canonicalRoot.size() + 1));
  }
  std::multiset<std::string> expected = {"a.desktop",
                                         "link.desktop",
                                         "sub/b.desktop",
                                         "sub/deeper/c.DESKTOP",
                                         "cache/e.desktop",
                                         odd,
                                         longDir + "far.desktop"};
  if (!lockedIsUnreadable) expected.insert("locked/f.desktop");
  EXPECT_EQ(relative, expected);

  // A whole load of the tree: every item opens by its path as stored.
  PosixCollation collation("C.UTF-8");
  ItemIndex index(collation, "/");
  Settings settings;
  settings.UserStartMenu = settings.AllUsersStartMenu = false;
  settings.UserDeskTop = settings.AllUsersDeskTop = false;
  settings.UserDir = Root();
  settings.UserMasks = "desktop";
  XdgShellFolders folders(fileSystem_, [](const char*) { return std::string(); });
  LoadDirectories(true, settings, index, LoadPlatform{fileSystem_, folders});
  EXPECT_EQ(index.ItemList.Count(), expected.size());  // every name differs
  for (std::uint32_t i = 0; i < index.ItemList.Count(); ++i) {
    EXPECT_TRUE(fileSystem_.FileExists(index.ItemList.Path(i))) << index.ItemList.Path(i);
  }
}

// Folders nested far past the system's path limit: every level is listed and
// its file found, whichever way the walk comes back up. The side branches make
// the walk return to levels whose descriptors it has had to let go.
// Removes `name` in the folder `parent` and all it holds, one level at a time:
// std::filesystem goes by whole paths, which fail past the system's limit.
void RemoveAllAt(int parent, const char* name) {
  const int fd = openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
  if (fd < 0) {
    unlinkat(parent, name, 0);
    return;
  }
  DIR* dir = fdopendir(fd);
  if (dir == nullptr) {
    close(fd);
    return;
  }
  while (const dirent* entry = readdir(dir)) {
    const std::string child = entry->d_name;
    if (child != "." && child != "..") RemoveAllAt(fd, child.c_str());
  }
  closedir(dir);
  unlinkat(parent, name, AT_REMOVEDIR);
}

TEST_F(TempTree, DeepFoldersPastThePathLimitAreWalkedWhole) {
  constexpr int kDepth = 2500;
  struct Remove {
    std::string root;
    ~Remove() { RemoveAllAt(AT_FDCWD, root.c_str()); }
  } remove{Root()};
  std::set<std::string> expected;
  {
    // Made level by level from an open folder: the whole path is too long
    // for the system to take at once.
    int fd = open(Root().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    std::string relative;
    for (int depth = 0; depth < kDepth; ++depth) {
      const std::string name = "f" + std::to_string(depth % 10);
      ASSERT_EQ(mkdirat(fd, name.c_str(), 0755), 0) << depth;
      if (depth % 100 == 0) {
        ASSERT_EQ(mkdirat(fd, "side", 0755), 0);
        const int side = openat(fd, "side", O_RDONLY | O_DIRECTORY);
        ASSERT_GE(side, 0);
        close(openat(side, "s.desktop", O_CREAT | O_WRONLY, 0644));
        close(side);
        expected.insert(relative + "side/s.desktop");
      }
      const int next = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
      ASSERT_GE(next, 0);
      close(fd);
      fd = next;
      relative += name + "/";
      const std::string file = "d" + std::to_string(depth) + ".desktop";
      close(openat(fd, file.c_str(), O_CREAT | O_WRONLY, 0644));
      expected.insert(relative + file);
    }
    close(fd);
  }
  std::size_t longest = 0;
  for (const std::string& path : expected) longest = std::max(longest, path.size());
  ASSERT_GT(Root().size() + 1 + longest, 4096u);

  std::set<std::string> found;
  std::size_t twice = 0;
  WalkTree(fileSystem_, Root(), {"*.desktop"}, [&](std::string_view path, std::size_t) {
    twice += !found.emplace(path.substr(Root().size() + 1)).second;
  });
  EXPECT_EQ(twice, 0u);
  EXPECT_EQ(found.size(), expected.size());
  EXPECT_EQ(found, expected);
}

TEST_F(TempTree, EachWalkSeesTheTreeAsItIsNow) {
  Touch("menu/tools/old.desktop");
  auto walk = [&] {
    std::vector<std::string> found;
    WalkTree(fileSystem_, Root() + "/menu", {"*.desktop"},
             [&](std::string_view path, std::size_t) { found.emplace_back(path); });
    return found;
  };
  EXPECT_EQ(walk(), std::vector<std::string>{Root() + "/menu/tools/old.desktop"});
  // The folder is replaced by another of the same name between two walks.
  fs::rename(root_ / "menu", root_ / "gone");
  Touch("menu/tools/new.desktop");
  EXPECT_EQ(walk(), std::vector<std::string>{Root() + "/menu/tools/new.desktop"});
}

TEST_F(TempTree, SettingsFileIsReplacedWholeOrNotAtAll) {
  const std::string path = Root() + "/wordhopper.ini";
  fileSystem_.WriteFileReplacing(path, "[Form]\r\nHotKey=F4\r\n");
  EXPECT_EQ(fileSystem_.ReadWholeFile(path, 1 << 20), "[Form]\r\nHotKey=F4\r\n");
  fileSystem_.WriteFileReplacing(path, "new");
  EXPECT_EQ(fileSystem_.ReadWholeFile(path, 1 << 20), "new");
  EXPECT_EQ(fileSystem_.ReadWholeFile(path, 2), std::nullopt);          // larger than allowed
  EXPECT_EQ(fileSystem_.ReadWholeFile(Root(), 1 << 20), std::nullopt);  // a directory

  chmod(path.c_str(), 0444);
  EXPECT_THROW(fileSystem_.WriteFileReplacing(path, "refused"), FileWriteError);
  EXPECT_EQ(fileSystem_.ReadWholeFile(path, 1 << 20), "new");
  EXPECT_THROW(fileSystem_.WriteFileReplacing(Root() + "/missing/x.ini", "x"), FileWriteError);
  // No temporary file is left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 1);

  // The settings folder is made, with the folders above it, at the first write.
  EXPECT_TRUE(fileSystem_.MakeDirectories(Root() + "/missing/deeper/"));
  fileSystem_.WriteFileReplacing(Root() + "/missing/deeper/x.ini", "x");
  EXPECT_TRUE(fileSystem_.MakeDirectories(Root() + "/missing"));
  EXPECT_FALSE(fileSystem_.MakeDirectories(path + "/sub"));
}

TEST_F(TempTree, SettingsFileThroughLinksAndInFoldersThatCantBeWritten) {
  // A name at the longest a folder takes leaves no room for a temporary
  // file's name beside it, even for root, as a folder that can't be written.
  const std::string longest(255 - 4, 'w');
  const struct {
    const char* label;
    const char* link;    // where the program looks, nullptr: at the file itself
    std::string target;  // relative to the link's folder, or absolute
    std::string file;    // the file that must get the contents
    bool lockFolder;
  } cases[] = {
      {"relative link", "config/wordhopper.ini", "../dotfiles/wh.ini", "dotfiles/wh.ini", false},
      {"absolute link", "config/wordhopper.ini", Root() + "/dotfiles/wh.ini", "dotfiles/wh.ini",
       false},
      {"link to a link", "config/wordhopper.ini", "second.ini", "dotfiles/wh.ini", false},
      {"no room beside the file", nullptr, "", "long/" + longest + ".ini", false},
      {"folder that can't be written", nullptr, "", "locked/wordhopper.ini", true},
  };
  fs::create_directories(root_ / "config");
  fs::create_symlink("../dotfiles/wh.ini", root_ / "config/second.ini");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    Touch(c.file, "[Form]\nHotKey=F4\nIgnoreList=a long list of words\n");
    const fs::path program = root_ / (c.link ? c.link : c.file);
    if (c.link) {
      fs::remove(program);
      fs::create_symlink(c.target, program);
    }
    if (c.lockFolder) chmod((root_ / "locked").c_str(), 0555);
    for (const char* contents :
         {"[Form]\nHotKey=F6\n", "[Form]\nHotKey=F6\nUserDir=/a/longer/one\n"}) {
      fileSystem_.WriteFileReplacing(program.string(), contents);
      EXPECT_EQ(fileSystem_.ReadWholeFile((root_ / c.file).string(), 1 << 20), contents);
    }
    if (c.link) {
      EXPECT_TRUE(fs::is_symlink(program));
    }
    // No temporary file is left beside the file.
    const fs::path folder = (root_ / c.file).parent_path();
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
  }
  // With no file to rewrite, a folder without room is a real refusal.
  EXPECT_THROW(fileSystem_.WriteFileReplacing(Root() + "/long/" + longest + ".new", "x"),
               FileWriteError);
}

TEST(PosixCollationTest, CaseBlindInEveryScriptAndSortKeysAgree) {
  PosixCollation collation("C.UTF-8");
  const std::string words[] = {"alpha",
                               "Alpha",
                               "BETA",
                               "\xC3\x89t\xC3\xA9",
                               "\xC3\x89T\xC3\x89",
                               "\xC3\xA9t\xC3\xA9",
                               "\xCE\xA3\xCE\xB1",
                               "\xCF\x83\xCE\xB1",
                               "zeta",
                               "bad\xFF",
                               "bad\xFE",
                               ""};
  EXPECT_EQ(collation.Compare("\xC3\x89t\xC3\xA9", "\xC3\x89T\xC3\x89"), 0);
  EXPECT_EQ(collation.Compare("\xCE\xA3\xCE\xB1", "\xCF\x83\xCE\xB1"), 0);  // Greek
  EXPECT_LT(collation.Compare("alpha", "BETA"), 0);
  EXPECT_NE(collation.Compare("bad\xFF", "bad\xFE"), 0);
  for (const std::string& a : words) {
    for (const std::string& b : words) {
      const int byCompare = collation.Compare(a, b);
      const int byKey = collation.SortKey(a).compare(collation.SortKey(b));
      EXPECT_EQ(byCompare < 0, byKey < 0) << a << " / " << b;
      EXPECT_EQ(byCompare == 0, byKey == 0) << a << " / " << b;
    }
  }
}

TEST_F(TempTree, XdgFoldersStandForTheShellFolders) {
  fs::create_directories(root_ / "home/.local/share/applications");
  fs::create_directories(root_ / "home/Schreibtisch");
  fs::create_directories(root_ / "usr/share/applications");
  fs::create_directories(root_ / "opt/share");
  Touch("home/.config/user-dirs.dirs", "# comment\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
  std::map<std::string, std::string> env = {
      {"HOME", Root() + "/home"},
      {"XDG_DATA_DIRS", Root() + "/opt/share:" + Root() + "/usr/share"}};
  XdgShellFolders folders(fileSystem_, [&env](const char* name) { return env[name]; });
  EXPECT_EQ(folders.ShellFolderPath(KnownFolder::StartMenu),
            Root() + "/home/.local/share/applications/");
  EXPECT_EQ(folders.ShellFolderPath(KnownFolder::CommonStartMenu),
            Root() + "/usr/share/applications/");
  EXPECT_EQ(folders.ShellFolderPath(KnownFolder::Desktop), Root() + "/home/Schreibtisch/");
  EXPECT_EQ(folders.ShellFolderPath(KnownFolder::Personal), Root() + "/home/");
  EXPECT_EQ(folders.ShellFolderPath(KnownFolder::CommonDesktop), "");
  EXPECT_EQ(folders.ShellFolderPath(KnownFolder::Favorites), "");
  EXPECT_EQ(folders.ShellFolderPath(KnownFolder::Recent), "");
  EXPECT_EQ(folders.ShortcutExtension(), "desktop");
}

// Recent files: the desktop's list, files that are still there, the one used
// last last.
TEST_F(TempTree, RecentFilesAreTheRecentlyUsedListsFilesThatExist) {
  const std::string docs = Root() + "/docs/";
  const struct {
    std::string href;  // as the list writes it
    const char* modified;
    const char* file;  // made under docs/; nullptr: none
    const char* listed;  // the path expected, nullptr: left out
  } cases[] = {
      {"file://" + docs + "Report.pdf", "2024-03-01T10:00:00Z", "Report.pdf", "Report.pdf"},
      {"file://" + docs + "Gone.txt", "2024-03-01T10:00:00Z", nullptr, nullptr},
      {"https://example.com/page.html", "2024-03-01T10:00:00Z", nullptr, nullptr},
      {"file://" + docs + "My%20Notes%20%C3%A9.txt", "2024-02-01T10:00:00Z",
       "My Notes \xC3\xA9.txt", "My Notes \xC3\xA9.txt"},
      {"file://" + docs + "Tom%20&amp;%20Jerry.txt", "2024-02-01T10:00:00Z", "Tom & Jerry.txt",
       "Tom & Jerry.txt"},
      {"file://localhost" + docs + "Local.txt", "2024-02-01T10:00:00Z", "Local.txt", "Local.txt"},
      {"file://server" + docs + "Report.pdf", "2024-02-01T10:00:00Z", nullptr, nullptr},
      {"file://" + docs + "old/Report.pdf", "2024-01-01T10:00:00Z", "old/Report.pdf",
       "old/Report.pdf"},
      {"file://" + docs + "sub", "2024-01-01T10:00:00Z", "sub/x", nullptr},  // a folder
  };
  std::string xbel = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xbel version=\"1.0\">\n";
  std::vector<ListedItem> expected;
  for (const auto& c : cases) {
    xbel += "  <bookmark href=\"" + c.href + "\" modified=\"" + c.modified +
            "\">\n    <info><metadata owner=\"http://freedesktop.org\"><bookmark:applications>"
            "<bookmark:application name=\"x\" modified=\"2030-01-01T00:00:00Z\"/>"
            "</bookmark:applications></metadata></info>\n  </bookmark>\n";
    if (c.file) Touch("docs/" + std::string(c.file));
  }
  xbel += "</xbel>\n";
  // By time of use; the file's order among equal times.
  for (const char* modified : {"2024-01-01T10:00:00Z", "2024-02-01T10:00:00Z",
                               "2024-03-01T10:00:00Z"}) {
    for (const auto& c : cases) {
      if (c.listed && std::string(c.modified) == modified) {
        expected.push_back({docs + c.listed, ""});
      }
    }
  }
  Touch("data/recently-used.xbel", xbel);
  std::map<std::string, std::string> env = {{"HOME", Root() + "/home"},
                                            {"XDG_DATA_HOME", Root() + "/data"}};
  XdgShellFolders folders(fileSystem_, [&env](const char* name) { return env[name]; });
  EXPECT_EQ(folders.ListedItems(KnownFolder::Recent), expected);
  env["XDG_DATA_HOME"] = Root() + "/nowhere";
  EXPECT_EQ(folders.ListedItems(KnownFolder::Recent), std::vector<ListedItem>{});
}

// Favorites: the file manager's bookmarked folders that exist, each under its
// label or else its folder's name.
TEST_F(TempTree, FavoritesAreTheBookmarkedFoldersThatExist) {
  const std::string places = Root() + "/places/";
  for (const char* folder : {"Projects", "Music Box", "Work", "Hidden", "Old"}) {
    fs::create_directories(root_ / "places" / folder);
  }
  Touch("places/notes.txt");
  enum Where { Gtk, Kde, OldGtk };
  const struct {
    Where where;
    std::string entry;  // a line of the bookmarks file, or an XBEL bookmark
    std::optional<ListedItem> listed;
  } cases[] = {
      {Gtk, "file://" + places + "Projects", ListedItem{places + "Projects/", "Projects"}},
      {Gtk, "file://" + places + "Music%20Box Tunes", ListedItem{places + "Music Box/", "Tunes"}},
      {Gtk, "file://" + places + "Missing Gone", std::nullopt},
      {Gtk, "sftp://server/home/ann Server", std::nullopt},
      {Gtk, "file://" + places + "notes.txt Notes", std::nullopt},
      {Kde, "<bookmark href=\"file://" + places + "Work\"><title>Work &amp; Play</title></bookmark>",
       ListedItem{places + "Work/", "Work & Play"}},
      {Kde, "<bookmark href=\"trash:/\"><title>Trash</title></bookmark>", std::nullopt},
      {Kde,
       "<bookmark href=\"file://" + places +
           "Hidden\"><title>Hidden</title><info><metadata owner=\"http://www.kde.org\">"
           "<IsHidden>true</IsHidden></metadata></info></bookmark>",
       std::nullopt},
      {Kde, "<bookmark href=\"file://" + places + "Projects/\"><title>Again</title></bookmark>",
       std::nullopt},  // listed before
      {OldGtk, "file://" + places + "Projects", ListedItem{places + "Projects/", "Projects"}},
      {OldGtk, "file://" + places + "Old", ListedItem{places + "Old/", "Old"}},
  };
  std::string gtk, oldGtk, kde = "<?xml version=\"1.0\"?>\n<xbel>\n";
  for (const auto& c : cases) {
    (c.where == Gtk ? gtk : c.where == OldGtk ? oldGtk : kde) += c.entry + "\n";
  }
  Touch("config/gtk-3.0/bookmarks", gtk);
  Touch("home/.gtk-bookmarks", oldGtk);
  Touch("data/user-places.xbel", kde + "</xbel>\n");
  std::map<std::string, std::string> env = {{"HOME", Root() + "/home"},
                                            {"XDG_CONFIG_HOME", Root() + "/config"},
                                            {"XDG_DATA_HOME", Root() + "/data"}};
  XdgShellFolders folders(fileSystem_, [&env](const char* name) { return env[name]; });
  // The older GTK file is read only where the newer one isn't.
  for (bool newerGtk : {true, false}) {
    SCOPED_TRACE(newerGtk);
    if (!newerGtk) fs::remove(root_ / "config/gtk-3.0/bookmarks");
    std::vector<ListedItem> expected;
    for (const Where where : {newerGtk ? Gtk : OldGtk, Kde}) {
      for (const auto& c : cases) {
        if (c.where == where && c.listed) expected.push_back(*c.listed);
      }
    }
    EXPECT_EQ(folders.ListedItems(KnownFolder::Favorites), expected);
  }
}

TEST_F(TempTree, LauncherEntriesInTheApplicationsFolderLoadUnderTheirNames) {
  Touch("apps/org.example.Editor.desktop",
        "[Desktop Entry]\nType=Application\nName=Text Editor\nName[de]=Texteditor\n"
        "Exec=editor %F\n");
  Touch("apps/hidden.desktop", "[Desktop Entry]\nType=Application\nName=Hidden\nNoDisplay=true\n");
  Touch("apps/plain.desktop", "[Desktop Entry]\nType=Application\nExec=plain\n");
  Touch("apps/broken.desktop", "no entry at all\n");
  std::map<std::string, std::string> env = {
      {"HOME", Root() + "/home"}, {"XDG_DATA_HOME", Root()}, {"LANG", "de_DE.UTF-8"}};
  fs::rename(root_ / "apps", root_ / "applications");
  XdgShellFolders folders(fileSystem_, [&env](const char* name) { return env[name]; });
  Settings settings;
  settings.AllUsersStartMenu = settings.UserDeskTop = settings.AllUsersDeskTop = false;
  settings.UserMasks = "";
  EXPECT_EQ(LoadedItems(settings, folders),
            (std::set<std::pair<std::string, std::string>>{
                {"Texteditor", Root() + "/applications/org.example.Editor.desktop"},
                {"plain", Root() + "/applications/plain.desktop"}}));
}

TEST_F(TempTree, EveryDataFolderIsReadAndAnEarlierEntryHidesItsNamesake) {
  const std::string app = "[Desktop Entry]\nType=Application\nExec=true\n";
  Touch("a/applications/org.example.Editor.desktop", app + "Name=Editor A\n");
  Touch("b/applications/org.example.Editor.desktop", app + "Name=Editor B\n");
  // A user's deleted copy under the same ID takes the program off the menu.
  Touch("a/applications/kde-tool.desktop", app + "Name=Tool\nHidden=true\n");
  Touch("b/applications/kde/tool.desktop", app + "Name=Tool\n");
  // Different IDs with one display name: the later folder's entry wins.
  Touch("a/applications/viewer1.desktop", app + "Name=Viewer\n");
  Touch("b/applications/viewer2.desktop", app + "Name=Viewer\n");
  Touch("b/applications/kde-only.desktop", app + "Name=KDE Only\nOnlyShowIn=KDE;\n");
  Touch("b/applications/gnome-only.desktop", app + "Name=GNOME Only\nOnlyShowIn=KDE;GNOME;\n");
  Touch("b/applications/not-gnome.desktop", app + "Name=Not GNOME\nNotShowIn=GNOME;\n");
  Touch("b/applications/missing.desktop", app + "Name=Missing\nTryExec=no-such-program-wh\n");
  Touch("b/applications/present.desktop", app + "Name=Present\nTryExec=sh\n");
  // The user's own entries come first: a Hidden copy or a renamed one hides
  // the program installed for all, whether or not "User start menu" is read.
  Touch("b/applications/unwanted.desktop", app + "Name=Unwanted\n");
  Touch("home/.local/share/applications/unwanted.desktop", app + "Name=Unwanted\nHidden=true\n");
  Touch("b/applications/renamed.desktop", app + "Name=Renamed\n");
  Touch("home/.local/share/applications/renamed.desktop", app + "Name=My Name\n");
  // The user's Flatpak exports come after the listed folders, though the
  // variable leaves them out.
  Touch("home/.local/share/flatpak/exports/share/applications/org.example.Flat.desktop",
        app + "Name=Flat\n");
  fs::create_directories(root_ / "empty");
  std::map<std::string, std::string> env = {
      {"HOME", Root() + "/home"},
      {"XDG_DATA_DIRS", Root() + "/a:" + Root() + "/empty:" + Root() + "/b:" + Root() + "/a"},
      {"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"},
      {"PATH", "/nonexistent::/bin:/usr/bin"}};
  XdgShellFolders folders(fileSystem_, [&env](const char* name) { return env[name]; });
  std::vector<std::string> common = {
      Root() + "/a/applications/", Root() + "/b/applications/",
      Root() + "/home/.local/share/flatpak/exports/share/applications/"};
  // The system-wide exports of this machine, where it has them.
  for (const char* system : {"/var/lib/flatpak/exports/share/applications",
                             "/var/lib/snapd/desktop/applications"}) {
    if (fs::is_directory(system)) common.push_back(std::string(system) + "/");
  }
  EXPECT_EQ(folders.ShellFolderPaths(KnownFolder::CommonStartMenu), common);
  EXPECT_EQ(folders.ShadowingFolders(KnownFolder::CommonStartMenu),
            std::vector<std::string>{Root() + "/home/.local/share/applications/"});

  Settings settings;
  settings.UserStartMenu = settings.UserDeskTop = settings.AllUsersDeskTop = false;
  settings.UserMasks = "";
  std::set<std::pair<std::string, std::string>> loaded = LoadedItems(settings, folders);
  const std::string root = Root();
  std::erase_if(loaded, [&root](const auto& item) { return !item.second.starts_with(root); });
  EXPECT_EQ(loaded,
            (std::set<std::pair<std::string, std::string>>{
                {"Editor A", Root() + "/a/applications/org.example.Editor.desktop"},
                {"Viewer", Root() + "/b/applications/viewer2.desktop"},
                {"GNOME Only", Root() + "/b/applications/gnome-only.desktop"},
                {"Present", Root() + "/b/applications/present.desktop"},
                {"Flat", Root() +
                             "/home/.local/share/flatpak/exports/share/applications/"
                             "org.example.Flat.desktop"}}));
}

}  // namespace
}  // namespace wh
