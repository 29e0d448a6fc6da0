#include "index/loader.h"

#include <algorithm>
#include <deque>
#include <exception>
#include <span>
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

// Texts stored in blocks that never move, so that storing many costs neither
// the copy nor the spare room of a string grown by doubling.
class BlockText {
 public:
  // Returns where `text` is kept.
  std::uint32_t Store(std::string_view text) {
    if (blocks_.empty() || blocks_.back().size() + text.size() > kBlock) {
      blocks_.emplace_back();
      blocks_.back().reserve(std::max(kBlock, text.size()));
    }
    const std::size_t at = (blocks_.size() - 1) * kBlock + blocks_.back().size();
    blocks_.back().append(text);
    return static_cast<std::uint32_t>(at);
  }
  std::string_view At(std::uint32_t at, std::uint32_t length) const {
    return std::string_view(blocks_[at / kBlock]).substr(at % kBlock, length);
  }

 private:
  static constexpr std::size_t kBlock = std::size_t{1} << 16;
  std::vector<std::string> blocks_;
};

// Every file of the walk in walk order, with its first matching mask and the
// item it was last added to: what the walks after the first are made from.
// A directory's path is kept once for all its files, which the walk hands
// over together: paths are mostly their directories, and a large tree's would
// be the biggest thing a load holds.
class WalkOrder {
 public:
  explicit WalkOrder(char separator) : separator_(separator) {}

  // Returns the file's number.
  std::size_t Add(std::string_view path, std::size_t firstMask) {
    const std::size_t nameStart = path.rfind(separator_) + 1;
    const std::string_view directory = path.substr(0, nameStart);
    if (directories_.empty() || Text(directories_.back()) != directory) {
      directories_.push_back(
          Span{text_.Store(directory), static_cast<std::uint32_t>(directory.size())});
    }
    const std::string_view name = path.substr(nameStart);
    files_.push_back(File{static_cast<std::uint32_t>(directories_.size() - 1),
                          Span{text_.Store(name), static_cast<std::uint32_t>(name.size())},
                          static_cast<std::uint32_t>(firstMask), 0});
    return files_.size() - 1;
  }
  std::size_t Count() const { return files_.size(); }
  // Appends the file's full path to `out`.
  void AppendPath(std::size_t file, std::string& out) const {
    out.append(Text(directories_[files_[file].directory]));
    out.append(Text(files_[file].name));
  }
  std::uint32_t FirstMask(std::size_t file) const { return files_[file].firstMask; }
  std::uint32_t Item(std::size_t file) const { return files_[file].item; }
  void SetItem(std::size_t file, std::uint32_t item) { files_[file].item = item; }

 private:
  struct Span {
    std::uint32_t at;  // in text_
    std::uint32_t length;
  };
  struct File {
    std::uint32_t directory;  // in directories_
    Span name;
    std::uint32_t firstMask;
    std::uint32_t item;
  };
  std::string_view Text(Span span) const { return text_.At(span.at, span.length); }

  char separator_;
  BlockText text_;
  std::vector<Span> directories_;
  std::deque<File> files_;  // grows a block at a time, with no copy and little room to spare
};

// Files waiting to be added together, their full paths end to end.
class PathBatch {
 public:
  std::string& Text() { return text_; }
  // The path ends where the text now ends and starts at `start`.
  void EndPath(std::size_t start) { spans_.emplace_back(start, text_.size() - start); }
  std::size_t Count() const { return spans_.size(); }
  std::span<const std::string_view> Views() {
    views_.clear();
    for (const auto& [offset, length] : spans_) {
      views_.push_back(std::string_view(text_).substr(offset, length));
    }
    return views_;
  }
  void Clear() {
    text_.clear();
    spans_.clear();
  }

 private:
  std::string text_;
  std::vector<std::pair<std::size_t, std::size_t>> spans_;
  std::vector<std::string_view> views_;
};

// Files of the first walk waiting to be added: they go in by the few hundred
// while the tree is still being listed, so that both overlap.
class PendingFiles {
 public:
  static constexpr std::size_t kBatch = 256;

  // `order`, if given, learns each file's item when the file is added.
  explicit PendingFiles(WalkOrder* order) : order_(order) {}

  // `file`: the file's number in the walk order, if one is kept.
  void Add(std::string_view path, std::size_t file) {
    const std::size_t start = paths_.Text().size();
    paths_.Text().append(path);
    paths_.EndPath(start);
    if (order_ != nullptr) files_.push_back(file);
  }
  std::size_t Count() const { return paths_.Count(); }

  void AddToIndex(ItemIndex& index) {
    AddItems(index, paths_.Views(), order_ != nullptr ? &positions_ : nullptr);
    for (std::size_t k = 0; order_ != nullptr && k < positions_.size(); ++k) {
      order_->SetItem(files_[k], positions_[k]);
    }
    paths_.Clear();
    files_.clear();
  }

 private:
  WalkOrder* order_;
  PathBatch paths_;
  std::vector<std::size_t> files_;
  std::vector<std::uint32_t> positions_;
};

// Walks the tree once, adding the files whose first matching mask is the
// first one; with `order`, it keeps every file found for the later walks.
void FirstWalk(ItemIndex& index, const FileSystem& fileSystem, const std::string& dir,
               const std::vector<std::string>& masks, WalkOrder* order) {
  PendingFiles pending(order);
  WalkTree(fileSystem, dir, masks, [&](std::string_view path, std::size_t firstMask) {
    std::size_t file = 0;
    if (order != nullptr) {
      file = order->Add(path, firstMask);
      if (firstMask != 0) return;
    }
    pending.Add(path, file);
    if (pending.Count() >= PendingFiles::kBatch) pending.AddToIndex(index);
  });
  pending.AddToIndex(index);
}

// Adds the files of the walk order that `wanted` picks, in walk order, a batch
// at a time, so that their paths are never all spelled out at once.
// `onAdded(file, item)` learns where each went.
template <typename Wanted, typename OnAdded>
void AddFromWalkOrder(ItemIndex& index, const WalkOrder& order, const Wanted& wanted,
                      const OnAdded& onAdded) {
  constexpr std::size_t kBatch = 1024;
  PathBatch batch;
  std::vector<std::size_t> fileOf;
  std::vector<std::uint32_t> positions;
  auto flush = [&] {
    AddItems(index, batch.Views(), &positions);
    for (std::size_t k = 0; k < positions.size(); ++k) onAdded(fileOf[k], positions[k]);
    batch.Clear();
    fileOf.clear();
  };
  const std::size_t files = order.Count();
  for (std::size_t i = 0; i < files; ++i) {
    if (!wanted(i)) continue;
    const std::size_t start = batch.Text().size();
    order.AppendPath(i, batch.Text());
    batch.EndPath(start);
    fileOf.push_back(i);
    if (fileOf.size() >= kBatch) flush();
  }
  flush();
}

// Each walk after the first adds the files new to it: those whose first
// matching mask is its own.
void LaterWalks(ItemIndex& index, WalkOrder& order, std::size_t walks) {
  for (std::uint32_t walk = 1; walk < walks; ++walk) {
    AddFromWalkOrder(
        index, order, [&](std::size_t file) { return order.FirstMask(file) == walk; },
        [&](std::size_t file, std::uint32_t item) { order.SetItem(file, item); });
  }
}

// The last walk sees every file: the files that share their item with
// another are added once more, in walk order, to settle who wins the name.
void SettleSharedItems(ItemIndex& index, const WalkOrder& order) {
  const std::size_t files = order.Count();
  std::vector<std::uint8_t> filesPerItem(index.ItemList.Count());
  for (std::size_t i = 0; i < files; ++i) {
    std::uint8_t& seen = filesPerItem[order.Item(i)];
    seen = seen < 2 ? seen + 1 : 2;
  }
  AddFromWalkOrder(
      index, order, [&](std::size_t file) { return filesPerItem[order.Item(file)] > 1; },
      [](std::size_t, std::uint32_t) {});
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
    FirstWalk(index, fileSystem, dir, masks, nullptr);
    return;
  }
  // Walk k of the repeated walks adds, in walk order, every file whose first
  // matching mask is mask k or an earlier one. A file re-added by a later
  // walk changes neither the order of items nor the keywords, only who wins
  // an equal name; the last walk, which sees every file, settles that. So:
  // the files new to each walk, walk by walk (the first walk's while the
  // tree is still being listed), then once more, in walk order, the files
  // that share their item with another.
  WalkOrder order(fileSystem.Separator());
  FirstWalk(index, fileSystem, dir, masks, &order);
  LaterWalks(index, order, masks.size());
  SettleSharedItems(index, order);
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
