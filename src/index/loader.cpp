#include "index/loader.h"

#include <exception>

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

}  // namespace

void AddDirectory(ItemIndex& index, const FileSystem& fileSystem, const std::string& dir,
                  std::string_view extensions, const ShellFolders* shortcutNames,
                  std::unordered_set<std::string>* shortcutIds) {
  if (dir.empty() || !fileSystem.DirectoryExists(dir)) return;
  std::vector<std::string> masks;
  WordReader reader(extensions);
  std::string_view word;
  while (reader.Next(word)) masks.push_back("*." + std::string(word));
  if (masks.empty()) return;

  if (shortcutNames != nullptr && masks.size() == 1) {
    // Launcher entries: each is read for its name, and one hidden from the
    // menus is left out.
    WalkTree(fileSystem, dir, masks, [&](std::string_view path, std::size_t) {
      const std::string file(path);
      if (shortcutIds != nullptr) {
        // An entry of an earlier folder hides this one, even one that
        // isn't shown itself (a user's Hidden copy takes a program off the
        // menus).
        std::string id = ShortcutId(dir, file, fileSystem.Separator());
        if (!id.empty() && !shortcutIds->insert(std::move(id)).second) return;
      }
      const std::optional<std::string> name = shortcutNames->ShortcutDisplayName(file);
      if (!name) return;
      if (name->empty()) {
        AddItem(index, file);
      } else {
        AddNamedItem(index, file, *name);
      }
    });
    return;
  }

  // Walk k of the repeated walks adds, in walk order, every file whose first
  // matching mask is mask k or an earlier one. A file re-added by a later
  // walk changes neither the order of items nor the keywords, only who wins
  // an equal name; the last walk, which sees every file, settles that. So:
  // the files new to each walk, walk by walk (the first walk's while the
  // tree is still being listed), then once more, in walk order, the files
  // that share their item with another.
  const bool more = masks.size() > 1;
  std::string paths;  // every file found, when there are later walks
  std::vector<std::pair<std::size_t, std::size_t>> spans;
  std::vector<std::uint32_t> firstMasks;
  std::vector<std::uint32_t> itemOf;
  std::string pending;  // first-walk files not added yet, end to end
  std::vector<std::pair<std::size_t, std::size_t>> pendingSpans;
  std::vector<std::size_t> pendingFiles;
  std::vector<std::uint32_t> positions;
  std::vector<std::string_view> views;
  auto addPending = [&] {
    views.clear();
    for (const auto& [offset, length] : pendingSpans) {
      views.push_back(std::string_view(pending).substr(offset, length));
    }
    AddItems(index, views, more ? &positions : nullptr);
    for (std::size_t k = 0; more && k < positions.size(); ++k) {
      itemOf[pendingFiles[k]] = positions[k];
    }
    pending.clear();
    pendingSpans.clear();
    pendingFiles.clear();
  };
  WalkTree(fileSystem, dir, masks, [&](std::string_view path, std::size_t firstMask) {
    if (more) {
      const std::size_t file = spans.size();
      spans.emplace_back(paths.size(), path.size());
      firstMasks.push_back(static_cast<std::uint32_t>(firstMask));
      itemOf.push_back(0);
      paths.append(path);
      if (firstMask != 0) return;
      pendingFiles.push_back(file);
    }
    pendingSpans.emplace_back(pending.size(), path.size());
    pending.append(path);
    if (pendingSpans.size() >= 256) addPending();
  });
  addPending();
  if (!more) return;

  std::vector<std::string_view> all;
  all.reserve(spans.size());
  for (const auto& [offset, length] : spans) {
    all.push_back(std::string_view(paths).substr(offset, length));
  }
  std::vector<std::size_t> fileOf;
  for (std::uint32_t walk = 1; walk < masks.size(); ++walk) {
    views.clear();
    fileOf.clear();
    for (std::size_t i = 0; i < all.size(); ++i) {
      if (firstMasks[i] == walk) {
        views.push_back(all[i]);
        fileOf.push_back(i);
      }
    }
    AddItems(index, views, &positions);
    for (std::size_t k = 0; k < positions.size(); ++k) itemOf[fileOf[k]] = positions[k];
  }
  std::vector<std::uint8_t> filesPerItem(index.ItemList.Count());
  for (std::uint32_t item : itemOf) {
    filesPerItem[item] = filesPerItem[item] < 2 ? filesPerItem[item] + 1 : 2;
  }
  std::vector<std::string_view> shared;
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (filesPerItem[itemOf[i]] > 1) shared.push_back(all[i]);
  }
  AddItems(index, shared);
}

namespace {

struct Source {
  bool Settings::*setting;
  const char* registryValue;
  bool allUsers;
  const char* extension;  // nullptr: the desktop's shortcut extension
};

// In scanning order: a later source's file wins an equal name.
constexpr Source kSources[] = {
    {&Settings::RecentFiles, "Recent", false, nullptr},
    {&Settings::History, "History", false, "url"},
    {&Settings::Favorites, "Favorites", false, "*"},
    {&Settings::AllUsersDeskTop, "Common Desktop", true, nullptr},
    {&Settings::UserDeskTop, "Desktop", false, nullptr},
    {&Settings::AllUsersStartMenu, "Common Start Menu", true, nullptr},
    {&Settings::UserStartMenu, "Start Menu", false, nullptr},
};

}  // namespace

std::vector<std::string> FillIndex(bool includeRecent, const Settings& settings, ItemIndex& index,
                                   const FileSystem& fileSystem, const ShellFolders& shellFolders) {
  index.KeywordList.Clear();
  index.ItemList.Clear();
  index.MatchList.Clear();
  std::vector<std::string> problems;

  const std::string shortcut = shellFolders.ShortcutExtension();
  for (const Source& source : kSources) {
    if (!(settings.*source.setting)) continue;
    if (source.setting == &Settings::RecentFiles && !includeRecent) continue;
    const bool named = source.extension == nullptr && shellFolders.ShortcutsNameThemselves();
    std::unordered_set<std::string> shortcutIds;
    if (named) {
      for (const std::string& folder :
           shellFolders.ShadowingFolders(source.registryValue, source.allUsers)) {
        AddShortcutIds(fileSystem, folder, shortcut, shortcutIds);
      }
    }
    for (const std::string& folder :
         shellFolders.ShellFolderPaths(source.registryValue, source.allUsers)) {
      AddDirectory(index, fileSystem, folder, source.extension ? source.extension : shortcut,
                   named ? &shellFolders : nullptr, named ? &shortcutIds : nullptr);
    }
  }

  const bool userDirExists =
      !settings.UserDir.empty() && fileSystem.DirectoryExists(settings.UserDir);
  if (userDirExists && !settings.UserMasks.empty()) {
    AddDirectory(index, fileSystem, settings.UserDir, settings.UserMasks);
  } else {
    if (!settings.UserDir.empty() && !userDirExists) {
      problems.emplace_back("Error: User directory not found.");
    }
    if (settings.UserMasks.empty()) problems.emplace_back("No mask(s) for user directory defined.");
  }

  RemoveIgnoredWords(index.KeywordList, settings.IgnoreList);
  index.ItemList.Compact();
  index.ItemList.PrepareSearch();
  return problems;
}

void ShowIndex(const ItemIndex& index, const std::vector<std::string>& problems, bool showCounts,
               LoadView& view, const NumberFormat& numberFormat) {
  for (const std::string& problem : problems) view.ReportStatus(problem);
  view.SetKeywordItems(index.KeywordList.Words());
  if (showCounts) {
    const std::string separator = numberFormat.ThousandsSeparator();
    view.SetStatusPanel(1, "Keywords: " + FormatCount(index.KeywordList.Count(), separator));
    view.SetStatusPanel(2, "Items: " + FormatCount(index.ItemList.Count(), separator));
  }
}

void LoadDirectories(bool includeRecent, const Settings& settings, ItemIndex& index, LoadView& view,
                     const LoadPlatform& platform) {
  view.ResetKeywordMode();
  const std::vector<std::string> problems =
      FillIndex(includeRecent, settings, index, platform.fileSystem, platform.shellFolders);
  ShowIndex(index, problems, settings.ShowStatusBar, view, platform.numberFormat);
}

BackgroundLoad::BackgroundLoad(bool includeRecent, Settings settings, const LoadPlatform& platform,
                               const Collation& collation, std::string pathDelimiters)
    : settings_(std::move(settings)),
      numberFormat_(platform.numberFormat),
      index_(collation, std::move(pathDelimiters)) {
  thread_ = std::thread([this, includeRecent, &fileSystem = platform.fileSystem,
                         &shellFolders = platform.shellFolders] {
    try {
      problems_ = FillIndex(includeRecent, settings_, index_, fileSystem, shellFolders);
    } catch (...) {
      error_ = std::current_exception();
    }
  });
}

BackgroundLoad::~BackgroundLoad() {
  if (thread_.joinable()) thread_.join();
}

void BackgroundLoad::Finish(ItemIndex& index, LoadView& view) {
  view.ResetKeywordMode();
  thread_.join();
  if (error_) std::rethrow_exception(error_);
  index = std::move(index_);
  ShowIndex(index, problems_, settings_.ShowStatusBar, view, numberFormat_);
}

}  // namespace wh
