#include "win32/win32_file_system.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "index/directory_walk.h"
#include "win32/temporary_folder.h"
#include "win32/utf16.h"

namespace wh {
namespace {

using testing::MakeDirectoryLink;
using testing::MakeTestDirectory;
using testing::TemporaryFolder;
using testing::WriteTestFile;

std::vector<std::string> Names(const Win32FileSystem& fileSystem, const std::string& dir) {
  std::vector<std::string> names;
  fileSystem.ListDirectory(
      dir, [&](std::string_view name, bool) { names.emplace_back(name); }, nullptr);
  std::sort(names.begin(), names.end());
  return names;
}

// A tree with names in several scripts, a hidden and a plain cache folder, a
// file deeper than MAX_PATH and two links: one back to the root, one across
// to a sibling. The walk must end and report each file once.
TEST(Win32FileSystemTest, WalkFindsEveryReachableFileOnce) {
  TemporaryFolder folder("wh-walk");
  const std::string root = folder.Path();
  MakeTestDirectory(root + "Été");
  MakeTestDirectory(root + "Été\\日本語");
  MakeTestDirectory(root + "Été\\Ελληνικά");
  MakeTestDirectory(root + ".hidden");
  MakeTestDirectory(root + "cache");
  std::string deep = root + "deep";
  MakeTestDirectory(deep);
  while (deep.size() < 250) {
    deep += "\\" + std::string(40, static_cast<char>('a' + deep.size() % 26));
    MakeTestDirectory(deep);
  }

  const std::set<std::string> expected = {
      root + "Ärger.lnk",
      root + "Été\\Καλημέρα.LNK",
      root + "Été\\日本語\\😀 smile.lnk",
      root + "Été\\Ελληνικά\\Пример.lnk",
      root + "cache\\cached.lnk",
      deep + "\\far away shortcut.lnk",
  };
  for (const std::string& path : expected) WriteTestFile(path, "x");
  WriteTestFile(root + ".hidden\\secret.lnk", "x");
  WriteTestFile(root + "notes.txt", "x");
  ASSERT_GT(deep.size() + 24, std::size_t{MAX_PATH});

  const std::string how = MakeDirectoryLink(root + "cache\\loop", root);
  ASSERT_FALSE(how.empty()) << "this system makes no directory links";
  ASSERT_EQ(MakeDirectoryLink(root + "Été\\across", root + "cache"), how);
  std::cout << "[   INFO   ] directory links made as: " << how << "\n";

  Win32FileSystem fileSystem;
  std::vector<std::string> found;
  WalkTree(fileSystem, root, {"*.lnk"}, [&](std::string_view path, std::size_t mask) {
    EXPECT_EQ(mask, 0u);
    found.emplace_back(path);
    if (found.size() > 100) throw std::runtime_error("the walk goes round in circles");
  });

  // The cached file is reachable both directly and through the link across;
  // which path the walk takes depends on the listing order.
  std::multiset<std::string> reported(found.begin(), found.end());
  const std::string viaLink = root + "Été\\across\\cached.lnk";
  std::set<std::string> wanted = expected;
  if (reported.count(viaLink) == 1) {
    wanted.erase(root + "cache\\cached.lnk");
    wanted.insert(viaLink);
  }
  EXPECT_EQ(std::set<std::string>(found.begin(), found.end()), wanted);
  EXPECT_EQ(found.size(), wanted.size()) << "a file was reported twice";
  for (const std::string& path : found) EXPECT_TRUE(fileSystem.FileExists(path)) << path;
}

// A chain of folders whose paths grow to ten times MAX_PATH, a file in each:
// the walk reaches the bottom and finds every one. (Wine's own path limit,
// 4,096 bytes of the Unix path, keeps the chain below that here.)
TEST(Win32FileSystemTest, DeepChainIsWalkedWhole) {
  TemporaryFolder folder("wh-deep");
  std::string dir = folder.Path() + "chain";
  MakeTestDirectory(dir);
  std::set<std::string> expected;
  // Long names rather than many levels: Wine looks a path up component by
  // component, so thousands of levels would take minutes to make.
  for (int depth = 0; depth < 100; ++depth) {
    const std::string file = dir + "\\level " + std::to_string(depth) + ".lnk";
    WriteTestFile(file, "x");
    expected.insert(file);
    dir += "\\folder " + std::to_string(10000 + depth).substr(1) + " of a deep chain";
    MakeTestDirectory(dir);
  }
  ASSERT_GT(dir.size(), std::size_t{10 * MAX_PATH});

  Win32FileSystem fileSystem;
  std::vector<std::string> found;
  WalkTree(fileSystem, folder.Path(), {"*.lnk"},
           [&](std::string_view path, std::size_t) { found.emplace_back(path); });
  EXPECT_EQ(found.size(), expected.size());
  EXPECT_EQ(std::set<std::string>(found.begin(), found.end()), expected);
}

TEST(Win32FileSystemTest, ListingsAndQueries) {
  TemporaryFolder folder("wh-query");
  const std::string root = folder.Path();
  MakeTestDirectory(root + "Ärger");
  WriteTestFile(root + "Ärger\\brief.txt", "Grüße");
  WriteTestFile(root + "empty.txt", "");
  std::string deep = root + "deep";
  MakeTestDirectory(deep);
  while (deep.size() < 300) {
    deep += "\\" + std::string(60, 'd');
    MakeTestDirectory(deep);
  }
  WriteTestFile(deep + "\\long.txt", "far");

  Win32FileSystem fileSystem;
  EXPECT_EQ(fileSystem.Separator(), '\\');

  // Names come back as the listing gives them, with or without a separator at
  // the end of the directory, and in the long form for long paths too.
  const std::vector<std::string> withDots = {".", "..", "brief.txt"};
  EXPECT_EQ(Names(fileSystem, root + "Ärger"), withDots);
  EXPECT_EQ(Names(fileSystem, root + "Ärger\\"), withDots);
  EXPECT_EQ(Names(fileSystem, root + "Ärger/"), withDots);
  EXPECT_EQ(Names(fileSystem, deep), (std::vector<std::string>{".", "..", "long.txt"}));

  bool called = false;
  std::optional<DirectoryId> id = DirectoryId{1, 1};
  EXPECT_FALSE(fileSystem.ListDirectory(
      root + "missing", [&](std::string_view, bool) { called = true; }, &id));
  EXPECT_FALSE(called);
  EXPECT_FALSE(id.has_value());

  // The same directory by two spellings has one identity; another has another.
  std::optional<DirectoryId> first, second, other;
  fileSystem.ListDirectory(
      root + "Ärger", [](std::string_view, bool) {}, &first);
  fileSystem.ListDirectory(
      root + "deep\\..\\Ärger\\", [](std::string_view, bool) {}, &second);
  fileSystem.ListDirectory(
      deep, [](std::string_view, bool) {}, &other);
  ASSERT_TRUE(first && second && other);
  EXPECT_EQ(*first, *second);
  EXPECT_NE(*first, *other);

  struct Query {
    std::string path;
    bool directory;
    bool file;
    std::optional<std::string> contents;  // read with a cap of 8 bytes
  };
  const std::vector<Query> queries = {
      {root + "Ärger", true, false, std::nullopt},
      {root + "Ärger\\", true, false, std::nullopt},
      {root + "Ärger\\brief.txt", false, true, "Grüße"},
      {root + "empty.txt", false, true, ""},
      {deep, true, false, std::nullopt},
      {deep + "\\long.txt", false, true, "far"},
      {root + "missing.txt", false, false, std::nullopt},
      {root + "missing\\brief.txt", false, false, std::nullopt},
      {"", false, false, std::nullopt},
  };
  for (const Query& query : queries) {
    SCOPED_TRACE(query.path);
    EXPECT_EQ(fileSystem.DirectoryExists(query.path), query.directory);
    EXPECT_EQ(fileSystem.FileExists(query.path), query.file);
    EXPECT_EQ(fileSystem.ReadWholeFile(query.path, 8), query.contents);
  }
  // "Grüße" is 7 bytes: a cap below that refuses the file, one at it reads it.
  EXPECT_EQ(fileSystem.ReadWholeFile(root + "Ärger\\brief.txt", 6), std::nullopt);
  EXPECT_EQ(fileSystem.ReadWholeFile(root + "Ärger\\brief.txt", 7), "Grüße");

  // A file another program holds without sharing reads as missing, so a
  // locked settings file gives the defaults.
  const std::wstring locked = Utf8ToWide(root + "Ärger\\brief.txt");
  HANDLE holder = CreateFileW(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_EQ(fileSystem.ReadWholeFile(root + "Ärger\\brief.txt", 1 << 20), std::nullopt);
  CloseHandle(holder);
  EXPECT_EQ(fileSystem.ReadWholeFile(root + "Ärger\\brief.txt", 1 << 20), "Grüße");
}

// The user's settings folder is made, with the folders above it, at the
// first write; asking whether a folder takes new files leaves nothing in it.
TEST(Win32FileSystemTest, FoldersAreMadeWholeAndAskingLeavesNothing) {
  TemporaryFolder folder("wh-make");
  Win32FileSystem fileSystem;
  const std::string nested = folder.Path() + "Roaming\\Wordhopper\\";
  EXPECT_TRUE(fileSystem.MakeDirectories(nested));
  EXPECT_TRUE(fileSystem.DirectoryExists(nested));
  EXPECT_TRUE(fileSystem.MakeDirectories(nested));
  WriteTestFile(folder.Path() + "file", "");
  EXPECT_FALSE(fileSystem.MakeDirectories(folder.Path() + "file\\sub"));
  EXPECT_TRUE(fileSystem.CanCreateIn(nested));
  EXPECT_EQ(Names(fileSystem, nested), (std::vector<std::string>{".", ".."}));
}

TEST(Win32FileSystemTest, WriteFileReplacingKeepsTheOldFileWhenRefused) {
  TemporaryFolder folder("wh-write");
  const std::string root = folder.Path();
  Win32FileSystem fileSystem;

  enum class Setup {
    kExisting,
    kMissing,
    kReadOnly,
    kMissingFolder,
    kDirectory,
    kLongPath,
    kNoRoomBeside
  };
  struct Case {
    const char* what;
    Setup setup;
    bool refused;
  };
  const std::vector<Case> cases = {
      {"replaces an existing file", Setup::kExisting, false},
      {"creates a missing file", Setup::kMissing, false},
      {"writes a path longer than MAX_PATH", Setup::kLongPath, false},
      {"rewrites a file where no new file fits beside it", Setup::kNoRoomBeside, false},
      {"refuses a read-only file", Setup::kReadOnly, true},
      {"refuses a file in a missing folder", Setup::kMissingFolder, true},
      {"refuses to replace a folder", Setup::kDirectory, true},
  };
  int number = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string dir = root + "case" + std::to_string(++number);
    MakeTestDirectory(dir);
    std::string target = dir + "\\wordhopper.ini";
    std::optional<std::string> before;
    switch (c.setup) {
      case Setup::kNoRoomBeside:
        // A name at the longest a folder takes leaves no room for the
        // temporary file's, as a folder the user can't write leaves none.
        target = dir + "\\" + std::string(251, 'w') + ".ini";
        [[fallthrough]];
      case Setup::kExisting:
      case Setup::kReadOnly:
        before = "[Form]\r\nHotKey=F4\r\n";
        WriteTestFile(target, *before);
        if (c.setup == Setup::kReadOnly) {
          ASSERT_TRUE(
              SetFileAttributesW(ExtendedLengthPath(target).c_str(), FILE_ATTRIBUTE_READONLY));
        }
        break;
      case Setup::kMissing:
        break;
      case Setup::kMissingFolder:
        target = dir + "\\missing\\wordhopper.ini";
        break;
      case Setup::kDirectory:
        MakeTestDirectory(target);
        break;
      case Setup::kLongPath:
        target = dir;
        while (target.size() < 280) {
          target += "\\" + std::string(50, 'w');
          MakeTestDirectory(target);
        }
        target += "\\wordhopper.ini";
        break;
    }
    const std::vector<std::string> namesBefore = Names(fileSystem, dir);

    const std::string contents = "[Form]\r\nHotKey=Ctrl+Alt+Ä\r\n" + std::string(100000, ';');
    bool threw = false;
    try {
      fileSystem.WriteFileReplacing(target, contents);
    } catch (const FileWriteError& error) {
      threw = true;
      EXPECT_EQ(error.path, target);
    }
    EXPECT_EQ(threw, c.refused);
    const std::optional<std::string> after = fileSystem.ReadWholeFile(target, 1 << 20);
    if (c.refused) {
      EXPECT_EQ(after, before);
    } else {
      EXPECT_TRUE(after == contents) << "read " << after.value_or("nothing").size() << " bytes";
    }
    // No temporary file stays behind, whatever happened.
    std::vector<std::string> namesAfter = Names(fileSystem, dir);
    std::vector<std::string> namesExpected = namesBefore;
    if (c.setup == Setup::kMissing) {
      namesExpected.push_back("wordhopper.ini");
      std::sort(namesExpected.begin(), namesExpected.end());
    }
    EXPECT_EQ(namesAfter, namesExpected);
  }
}

}  // namespace
}  // namespace wh
