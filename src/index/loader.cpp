#include "index/loader.h"

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

void AddDirectory(ItemIndex& index, const FileSystem& fileSystem, const std::string& dir,
                  std::string_view extensions) {
  if (dir.empty() || !fileSystem.DirectoryExists(dir)) return;
  std::vector<std::string> masks;
  WordReader reader(extensions);
  std::string_view word;
  while (reader.Next(word)) masks.push_back("*." + std::string(word));
  if (masks.empty()) return;

  if (masks.size() == 1) {
    WalkTree(fileSystem, dir, masks,
             [&index](std::string_view path, std::size_t) { AddItem(index, path); });
    return;
  }

  // Walk k of the repeated walks adds, in walk order, every file whose first
  // matching mask is mask k or an earlier one. A file re-added by a later
  // walk changes neither the order of items nor the keywords, only who wins
  // an equal name, and the last walk, which sees every file, settles that.
  // So: the files that are new to each walk, walk by walk, then every file.
  struct Found {
    std::uint32_t offset;
    std::uint32_t length;
    std::uint32_t firstMask;
  };
  std::string paths;
  std::vector<Found> found;
  WalkTree(fileSystem, dir, masks, [&](std::string_view path, std::size_t firstMask) {
    found.push_back(Found{static_cast<std::uint32_t>(paths.size()),
                          static_cast<std::uint32_t>(path.size()),
                          static_cast<std::uint32_t>(firstMask)});
    paths.append(path);
  });
  auto pathOf = [&paths](const Found& f) {
    return std::string_view(paths).substr(f.offset, f.length);
  };
  for (std::uint32_t walk = 0; walk < masks.size(); ++walk) {
    for (const Found& f : found) {
      if (f.firstMask == walk) AddItem(index, pathOf(f));
    }
  }
  for (const Found& f : found) AddItem(index, pathOf(f));
}

namespace {

struct Source {
  bool TIniRec::*setting;
  const char* registryValue;
  bool allUsers;
  const char* extension;  // nullptr: the desktop's shortcut extension
};

// In scanning order: a later source's file wins an equal name.
constexpr Source kSources[] = {
    {&TIniRec::RecentFiles, "Recent", false, nullptr},
    {&TIniRec::History, "History", false, "url"},
    {&TIniRec::Favorites, "Favorites", false, "*"},
    {&TIniRec::AllUsersDeskTop, "Common Desktop", true, nullptr},
    {&TIniRec::UserDeskTop, "Desktop", false, nullptr},
    {&TIniRec::AllUsersStartMenu, "Common Start Menu", true, nullptr},
    {&TIniRec::UserStartMenu, "Start Menu", false, nullptr},
};

}  // namespace

void LoadDirectories(bool includeRecent, const TIniRec& settings, ItemIndex& index,
                     LoadView& view, const LoadPlatform& platform) {
  view.ResetKeywordMode();
  index.KeywordList.Clear();
  index.ItemList.Clear();
  index.MatchList.Clear();
  const std::string ignoreList = settings.IgnoreList;

  const std::string shortcut = platform.shellFolders.ShortcutExtension();
  for (const Source& source : kSources) {
    if (!(settings.*source.setting)) continue;
    if (source.setting == &TIniRec::RecentFiles && !includeRecent) continue;
    const std::string folder =
        platform.shellFolders.ShellFolderPath(source.registryValue, source.allUsers);
    AddDirectory(index, platform.fileSystem, folder,
                 source.extension ? source.extension : shortcut);
  }

  const bool userDirExists =
      !settings.UserDir.empty() && platform.fileSystem.DirectoryExists(settings.UserDir);
  if (userDirExists && !settings.UserMasks.empty()) {
    AddDirectory(index, platform.fileSystem, settings.UserDir, settings.UserMasks);
  } else {
    if (!settings.UserDir.empty() && !userDirExists) {
      view.ReportStatus("Error: User directory not found.");
    }
    if (settings.UserMasks.empty()) view.ReportStatus("No mask(s) for user directory defined.");
  }

  RemoveIgnoredWords(index.KeywordList, ignoreList);
  view.SetKeywordItems(index.KeywordList.Words());
  if (settings.ShowStatusBar) {
    const std::string separator = platform.numberFormat.ThousandsSeparator();
    view.SetStatusPanel(1, "Keywords: " + FormatCount(index.KeywordList.Count(), separator));
    view.SetStatusPanel(2, "Items: " + FormatCount(index.ItemList.Count(), separator));
  }
}

}  // namespace wh
