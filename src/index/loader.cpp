#include "index/loader.h"

#include <algorithm>
#include <exception>
#include <numeric>
#include <system_error>
#include <unordered_map>
#include <utility>

#include "base/text.h"
#include "index/directory_walk.h"
#include "index/words.h"

namespace wh {

std::string FormatCount(std::uint64_t count, std::string_view separator) {
  if (count == 0) return {};
  const std::string digits = std::to_string(count);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out.append(separator);
    out.push_back(digits[i]);
  }
  return out;
}

namespace {

// A shortcut's name relative to its folder, path separators turned into "-"
// (on Linux: the launcher entry's desktop-file ID); empty when `path` isn't
// inside `dir`.
std::string ShortcutId(const std::string& dir, std::string_view path, char separator) {
  if (!path.starts_with(dir)) return {};
  std::string id(path.substr(dir.size()));
  for (char& c : id) {
    if (c == separator) c = '-';
  }
  return id;
}

void AddShortcutIds(const FileSystem& fileSystem, const std::string& dir,
                    const std::string& extension, std::unordered_set<std::string>& ids) {
  if (dir.empty() || !fileSystem.DirectoryExists(dir)) return;
  WalkTree(fileSystem, dir, {"*." + extension}, [&](std::string_view path, std::size_t) {
    std::string id = ShortcutId(dir, path, fileSystem.Separator());
    if (!id.empty()) ids.insert(std::move(id));
  });
}

// "*.ext" for each extension word.
std::vector<std::string> MasksOf(std::string_view extensions) {
  std::vector<std::string> masks;
  WordReader reader(extensions);
  std::string_view word;
  while (reader.Next(word)) masks.push_back("*." + std::string(word));
  return masks;
}

// Launcher entries: each is read for its name, and one hidden from the menus
// is left out.
void AddLauncherEntries(ItemIndex& index, const FileSystem& fileSystem, const std::string& dir,
                        const std::vector<std::string>& masks, const ShellFolders& shortcutNames,
                        std::unordered_set<std::string>* shortcutIds) {
  WalkTree(fileSystem, dir, masks, [&](std::string_view path, std::size_t) {
    const std::string file(path);
    if (shortcutIds != nullptr) {
      // An entry of an earlier folder hides this one, even one that isn't
      // shown itself (a user's Hidden copy takes a program off the menus).
      std::string id = ShortcutId(dir, file, fileSystem.Separator());
      if (!id.empty() && !shortcutIds->insert(std::move(id)).second) return;
    }
    const std::optional<std::string> name = shortcutNames.ShortcutDisplayName(file);
    if (!name) return;
    if (name->empty()) {
      AddItem(index, file);
    } else {
      AddNamedItem(index, file, *name);
    }
  });
}

// Files of folders that may name them (Windows' desktop.ini): each folder is
// asked once, when the walk reaches its first file.
void AddFilesOfNamingFolders(ItemIndex& index, const FileSystem& fileSystem, const std::string& dir,
                             const std::vector<std::string>& masks,
                             const ShellFolders& shellFolders) {
  std::string folder;
  std::unordered_map<std::string, std::string> names;  // by ASCII-lower file name
  WalkTree(fileSystem, dir, masks, [&](std::string_view path, std::size_t) {
    const std::size_t fileStart = path.rfind(fileSystem.Separator()) + 1;
    if (path.substr(0, fileStart) != folder) {
      folder = path.substr(0, fileStart);
      names.clear();
      for (auto& [file, shown] : shellFolders.LocalizedFileNames(folder)) {
        if (!shown.empty()) names.emplace(AsciiLower(file), std::move(shown));
      }
    }
    const auto shown =
        names.empty() ? names.end() : names.find(AsciiLower(path.substr(fileStart)));
    if (shown == names.end()) {
      AddItem(index, path);
    } else {
      AddLocalizedItem(index, path, shown->second);
    }
  });
}

// Files waiting to be added: they go in by the few hundred while the tree
// is still being listed, so that both overlap.
class PendingFiles {
 public:
  static constexpr std::size_t kBatch = 256;

  void Add(std::string_view path, std::size_t firstMask) {
    spans_.emplace_back(text_.size(), path.size());
    text_.append(path);
    firstMasks_.push_back(static_cast<std::uint32_t>(firstMask));
  }
  std::size_t Count() const { return spans_.size(); }

  // Adds the waiting files to the items, first to last; `onAdded(name, item,
  // firstMask)` makes each one's keywords.
  template <typename OnAdded>
  void AddToIndex(ItemIndex& index, const OnAdded& onAdded) {
    views_.clear();
    for (const auto& [offset, length] : spans_) {
      views_.push_back(std::string_view(text_).substr(offset, length));
    }
    std::size_t next = 0;
    index.ItemList.AddMany(views_, [&](std::string_view name, std::uint32_t item) {
      onAdded(name, item, firstMasks_[next++]);
    });
    text_.clear();
    spans_.clear();
    firstMasks_.clear();
  }

 private:
  std::string text_;  // end to end
  std::vector<std::pair<std::size_t, std::size_t>> spans_;
  std::vector<std::uint32_t> firstMasks_;
  std::vector<std::string_view> views_;
};

// Walks the tree once and adds every file found, in walk order;
// `onAdded(name, item, firstMask)` makes each one's keywords.
template <typename OnAdded>
void AddWalked(ItemIndex& index, const FileSystem& fileSystem, const std::string& dir,
               const std::vector<std::string>& masks, const OnAdded& onAdded) {
  PendingFiles pending;
  WalkTree(fileSystem, dir, masks, [&](std::string_view path, std::size_t firstMask) {
    pending.Add(path, firstMask);
    if (pending.Count() >= PendingFiles::kBatch) pending.AddToIndex(index, onAdded);
  });
  pending.AddToIndex(index, onAdded);
}

// Which of the repeated walks made an item, and at which file of the walk
// order.
struct FirstMade {
  std::uint32_t walk;
  std::uint32_t file;
};

// The repeated walks' answer from one walk. Walk k adds, in walk order, every
// file whose first matching mask is mask k or an earlier one; so the last
// walk adds every file, and an item ends with the last file of its name in
// walk order, which is where one walk that adds every file leaves it. Only
// two things differ: an item is made by the first walk that finds its name,
// at the first file of that walk, so the new items are put in that order at
// the end; and a keyword keeps the letters of the first file to bring it, so
// the keywords of files of later masks wait, walk by walk, until the words
// of the earlier walks are in.
void AddWalkedForEveryMask(ItemIndex& index, const FileSystem& fileSystem, const std::string& dir,
                           const std::vector<std::string>& masks) {
  const std::uint32_t before = static_cast<std::uint32_t>(index.ItemList.Count());
  std::vector<FirstMade> made;  // for each new item
  std::vector<KeywordList> laterWords;
  laterWords.reserve(masks.size() - 1);
  for (std::size_t k = 1; k < masks.size(); ++k) {
    laterWords.emplace_back(index.KeywordList.UsedCollation());
  }
  std::uint32_t file = 0;
  AddWalked(index, fileSystem, dir, masks,
            [&](std::string_view name, std::uint32_t item, std::uint32_t walk) {
              if (walk == 0) {
                ExtractKeywords(index.KeywordList, name);
              } else {
                ExtractNewKeywords(laterWords[walk - 1], index.KeywordList, name);
              }
              if (item >= before) {
                if (item - before == made.size()) {
                  made.push_back(FirstMade{walk, file});
                } else if (walk < made[item - before].walk) {
                  made[item - before] = FirstMade{walk, file};
                }
              }
              ++file;
            });
  for (const KeywordList& words : laterWords) {
    for (const std::string& word : words.Words()) index.KeywordList.Add(word);
  }
  std::vector<std::uint32_t> order(made.size());
  std::iota(order.begin(), order.end(), 0u);
  std::sort(order.begin(), order.end(), [&made](std::uint32_t a, std::uint32_t b) {
    return made[a].walk != made[b].walk ? made[a].walk < made[b].walk
                                        : made[a].file < made[b].file;
  });
  made = std::vector<FirstMade>();
  index.ItemList.Reorder(before, std::move(order));
}

}  // namespace

void AddDirectory(ItemIndex& index, const FileSystem& fileSystem, const std::string& dir,
                  std::string_view extensions, const ShellFolders* shortcutNames,
                  std::unordered_set<std::string>* shortcutIds) {
  if (dir.empty() || !fileSystem.DirectoryExists(dir)) return;
  const std::vector<std::string> masks = MasksOf(extensions);
  if (masks.empty()) return;
  if (shortcutNames != nullptr && masks.size() == 1) {
    if (shortcutNames->ShortcutsNameThemselves()) {
      AddLauncherEntries(index, fileSystem, dir, masks, *shortcutNames, shortcutIds);
    } else {
      AddFilesOfNamingFolders(index, fileSystem, dir, masks, *shortcutNames);
    }
    return;
  }
  if (masks.size() == 1) {
    AddWalked(index, fileSystem, dir, masks,
              [&index](std::string_view name, std::uint32_t, std::uint32_t) {
                ExtractKeywords(index.KeywordList, name);
              });
    return;
  }
  AddWalkedForEveryMask(index, fileSystem, dir, masks);
}

namespace {

struct Source {
  bool Settings::*setting;
  KnownFolder folder;
  const char* extension;  // nullptr: the desktop's shortcut extension
};

// In scanning order: a later source's file wins an equal name.
constexpr Source kSources[] = {
    {&Settings::RecentFiles, KnownFolder::Recent, nullptr},
    {&Settings::History, KnownFolder::History, "url"},
    {&Settings::Favorites, KnownFolder::Favorites, "*"},
    {&Settings::AllUsersDeskTop, KnownFolder::CommonDesktop, nullptr},
    {&Settings::UserDeskTop, KnownFolder::Desktop, nullptr},
    {&Settings::AllUsersStartMenu, KnownFolder::CommonStartMenu, nullptr},
    {&Settings::UserStartMenu, KnownFolder::StartMenu, nullptr},
};

}  // namespace

LoadReport LoadDirectories(bool includeRecent, const Settings& settings, ItemIndex& index,
                           const LoadPlatform& platform) {
  const FileSystem& fileSystem = platform.fileSystem;
  const ShellFolders& shellFolders = platform.shellFolders;
  index.KeywordList.Clear();
  index.ItemList.Clear();
  index.MatchList.Clear();
  LoadReport report;

  const std::string shortcut = shellFolders.ShortcutExtension();
  for (const Source& source : kSources) {
    if (!(settings.*source.setting)) continue;
    if (source.setting == &Settings::RecentFiles && !includeRecent) continue;
    const bool named = source.extension == nullptr && shellFolders.ShortcutsNameThemselves();
    const ShellFolders* namer =
        named || shellFolders.FoldersNameTheirFiles() ? &shellFolders : nullptr;
    std::unordered_set<std::string> shortcutIds;
    if (named) {
      for (const std::string& folder : shellFolders.ShadowingFolders(source.folder)) {
        AddShortcutIds(fileSystem, folder, shortcut, shortcutIds);
      }
    }
    for (const std::string& folder : shellFolders.ShellFolderPaths(source.folder)) {
      AddDirectory(index, fileSystem, folder, source.extension ? source.extension : shortcut,
                   namer, named ? &shortcutIds : nullptr);
    }
    for (const ListedItem& item : shellFolders.ListedItems(source.folder)) {
      if (item.name.empty()) {
        AddItem(index, item.path);
      } else {
        AddNamedItem(index, item.path, item.name);
      }
    }
    // Packaged apps have no shortcut in any Start Menu folder; the Start
    // menu shows them as the user's own programs.
    if (source.folder == KnownFolder::StartMenu) {
      for (const PackagedApp& app : platform.packagedApps.List()) {
        AddNamedItem(index, PackagedAppPath(app.appUserModelId), app.name);
      }
    }
  }

  const bool userDirExists =
      !settings.UserDir.empty() && fileSystem.DirectoryExists(settings.UserDir);
  if (userDirExists && !settings.UserMasks.empty()) {
    AddDirectory(index, fileSystem, settings.UserDir, settings.UserMasks);
  } else {
    if (!settings.UserDir.empty() && !userDirExists) {
      report.problems.emplace_back("Error: User directory not found.");
    }
    if (settings.UserMasks.empty())
      report.problems.emplace_back("No mask(s) for user directory defined.");
  }

  RemoveIgnoredWords(index.KeywordList, settings.IgnoreList);
  index.ItemList.Compact();
  index.ItemList.PrepareSearch();
  report.keywordCount = index.KeywordList.Count();
  report.itemCount = index.ItemList.Count();
  return report;
}

BackgroundLoad::BackgroundLoad(bool includeRecent, Settings settings, const LoadPlatform& platform,
                               const Collation& collation, std::string pathDelimiters,
                               ThreadStarter startThread)
    : includeRecent_(includeRecent),
      settings_(std::move(settings)),
      platform_(platform),
      index_(collation, std::move(pathDelimiters)) {
  try {
    thread_ = startThread([this] { Load(); });
  } catch (const std::system_error&) {
    // Out of threads: the load waits for Finish, which is slower but no
    // reason to go without an index.
  }
}

BackgroundLoad::~BackgroundLoad() {
  if (thread_.joinable()) thread_.join();
}

void BackgroundLoad::Load() {
  try {
    report_ = LoadDirectories(includeRecent_, settings_, index_, platform_);
  } catch (...) {
    error_ = std::current_exception();
  }
}

LoadReport BackgroundLoad::Finish(ItemIndex& index) {
  if (thread_.joinable()) {
    thread_.join();
  } else {
    Load();
  }
  if (error_) std::rethrow_exception(error_);
  index = std::move(index_);
  return std::move(report_);
}

}  // namespace wh
