// Building the index from the enabled folders and the user directory.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_set>
#include <vector>

#include "index/directory_walk.h"
#include "index/item_index.h"
#include "platform/collation.h"
#include "platform/file_system.h"
#include "platform/packaged_apps.h"
#include "platform/shell_folders.h"
#include "settings/settings.h"

namespace wh {

// What a load found: the problems to tell the user about, in the order found,
// and the size of the index. The keywords are the index's own.
struct LoadReport {
  std::vector<std::string> problems;
  std::size_t keywordCount = 0;
  std::size_t itemCount = 0;
};

struct LoadPlatform {
  const FileSystem& fileSystem;
  const ShellFolders& shellFolders;
  // Read with the user's Start Menu, after its folders.
  const PackagedApps& packagedApps = kNoPackagedApps;
};

// A whole number with `separator` between groups of three digits; zero gives
// the empty text.
std::string FormatCount(std::uint64_t count, std::string_view separator);

// Scans the tree at `dir` for the extension words of `extensions` and adds
// every file found. The tree is walked once; the items, their order, the
// winners of equal names and the keywords are those of one walk per
// extension word, each walk with all masks so far.
// `shortcutNames`, if given, names the files instead of their file names
// (see ShellFolders::ShortcutDisplayName), or, where folders name their
// files instead, their folders do (ShellFolders::LocalizedFileNames); it is
// asked only with one extension word. `shortcutIds`, if given with `shortcutNames`, holds the
// shortcut IDs (the name relative to its folder, separators turned into "-")
// of earlier folders of the same source: a file with one of them is skipped,
// and every file's ID, shown or not, is added.
void AddDirectory(ItemIndex& index, const FileSystem& fileSystem, const std::string& dir,
                  std::string_view extensions, const ShellFolders* shortcutNames = nullptr,
                  std::unordered_set<std::string>* shortcutIds = nullptr);

// Rebuilds the index from scratch from the sources the settings enable, and
// reports what it found. It touches no window, so it may run on a thread of
// its own.
LoadReport LoadDirectories(bool includeRecent, const Settings& settings, ItemIndex& index,
                           const LoadPlatform& platform);

// A load on a thread of its own into an index of its own, for a start that
// has its windows to make meanwhile: the walk of the sources is mostly the
// system's work, making windows mostly ours. Until Finish returns, only that
// thread may use the platform's file system and shell folders. When no
// thread can be had, Finish loads on the caller's thread instead.
class BackgroundLoad {
 public:
  BackgroundLoad(bool includeRecent, Settings settings, const LoadPlatform& platform,
                 const Collation& collation, std::string pathDelimiters,
                 ThreadStarter startThread = StartThread);
  // Waits for the thread when Finish never ran.
  ~BackgroundLoad();
  BackgroundLoad(const BackgroundLoad&) = delete;
  BackgroundLoad& operator=(const BackgroundLoad&) = delete;

  // What LoadDirectories does, once the thread is done: `index` becomes the
  // loaded index. Rethrows what the load threw. Once only.
  LoadReport Finish(ItemIndex& index);

 private:
  void Load();

  const bool includeRecent_;
  const Settings settings_;
  const LoadPlatform platform_;
  ItemIndex index_;
  LoadReport report_;
  std::exception_ptr error_;
  std::thread thread_;
};

}  // namespace wh
