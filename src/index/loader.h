// Building the index from the enabled folders and the user directory.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_set>
#include <vector>

#include "index/item_index.h"
#include "platform/collation.h"
#include "platform/file_system.h"
#include "platform/number_format.h"
#include "platform/shell_folders.h"
#include "settings/settings.h"

namespace wh {

// What a load shows in the main window; the main window implements it.
class LoadView {
 public:
  virtual ~LoadView() = default;
  // Back to keyword mode: the item box emptied and hidden, the keyword box
  // shown, emptied and (if the window is visible) focused.
  virtual void ResetKeywordMode() = 0;
  // Replaces the keyword box's list.
  virtual void SetKeywordItems(const std::vector<std::string>& words) = 0;
  // Writes a panel of the status bar (1: keywords, 2: items).
  virtual void SetStatusPanel(int panel, const std::string& text) = 0;
  // Tells the user about a failure.
  virtual void ReportStatus(const std::string& message) = 0;
};

struct LoadPlatform {
  const FileSystem& fileSystem;
  const ShellFolders& shellFolders;
  const NumberFormat& numberFormat;
};

// A whole number with `separator` between groups of three digits; zero gives
// the empty text.
std::string FormatCount(std::uint64_t count, std::string_view separator);

// Scans the tree at `dir` for the extension words of `extensions` and adds
// every file found. The tree is walked once; the items, their order, the
// winners of equal names and the keywords are those of one walk per
// extension word, each walk with all masks so far.
// `shortcutNames`, if given, names the files instead of their file names
// (see ShellFolders::ShortcutDisplayName); it is asked only with one
// extension word. `shortcutIds`, if given with `shortcutNames`, holds the
// shortcut IDs (the name relative to its folder, separators turned into "-")
// of earlier folders of the same source: a file with one of them is skipped,
// and every file's ID, shown or not, is added.
void AddDirectory(ItemIndex& index, const FileSystem& fileSystem, const std::string& dir,
                  std::string_view extensions, const ShellFolders* shortcutNames = nullptr,
                  std::unordered_set<std::string>* shortcutIds = nullptr);

// Rebuilds the index from scratch from the sources the settings enable and
// returns what the user must be told, in the order found. It touches no
// view, so it may run on a thread of its own.
std::vector<std::string> FillIndex(bool includeRecent, const Settings& settings, ItemIndex& index,
                                   const FileSystem& fileSystem, const ShellFolders& shellFolders);

// Shows a filled index: each problem reported, the keyword box's list, and
// the counts in the status bar when `showCounts`.
void ShowIndex(const ItemIndex& index, const std::vector<std::string>& problems, bool showCounts,
               LoadView& view, const NumberFormat& numberFormat);

// Rebuilds the index from scratch from the sources the settings enable, and
// shows it.
void LoadDirectories(bool includeRecent, const Settings& settings, ItemIndex& index, LoadView& view,
                     const LoadPlatform& platform);

// A load on a thread of its own into an index of its own, for a start that
// has its windows to make meanwhile: the walk of the sources is mostly the
// system's work, making windows mostly ours. Until Finish returns, only that
// thread may use the platform's file system and shell folders.
class BackgroundLoad {
 public:
  BackgroundLoad(bool includeRecent, Settings settings, const LoadPlatform& platform,
                 const Collation& collation, std::string pathDelimiters);
  // Waits for the thread when Finish never ran.
  ~BackgroundLoad();
  BackgroundLoad(const BackgroundLoad&) = delete;
  BackgroundLoad& operator=(const BackgroundLoad&) = delete;

  // What LoadDirectories does, once the thread is done: `index` becomes the
  // loaded index and `view` shows it. Rethrows what the load threw. Once
  // only.
  void Finish(ItemIndex& index, LoadView& view);

 private:
  const Settings settings_;
  const NumberFormat& numberFormat_;
  ItemIndex index_;
  std::vector<std::string> problems_;
  std::exception_ptr error_;
  std::thread thread_;
};

}  // namespace wh
