#include "posix/xdg_shell_folders.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "base/text.h"
#include "posix/bookmark_files.h"
#include "posix/desktop_entry.h"

namespace wh {

XdgShellFolders::XdgShellFolders(const FileSystem& fileSystem, GetEnv getEnv)
    : fileSystem_(fileSystem), getEnv_(std::move(getEnv)) {
  if (!getEnv_) {
    getEnv_ = [](const char* name) {
      const char* value = std::getenv(name);
      return std::string(value ? value : "");
    };
  }
  const std::string language = getEnv_("LANGUAGE"), lcAll = getEnv_("LC_ALL"),
                    lcMessages = getEnv_("LC_MESSAGES"), lang = getEnv_("LANG");
  locale_ = MessagesLocale(
      language.empty() ? nullptr : language.c_str(), lcAll.empty() ? nullptr : lcAll.c_str(),
      lcMessages.empty() ? nullptr : lcMessages.c_str(), lang.empty() ? nullptr : lang.c_str());
}

std::optional<std::string> XdgShellFolders::ShortcutDisplayName(const std::string& path) const {
  // Launcher entries are a few kilobytes; anything far larger is no entry.
  const auto text = fileSystem_.ReadWholeFile(path, 1 << 20);
  if (!text) return std::nullopt;
  const std::optional<DesktopEntry> entry = ReadDesktopEntry(*text, locale_);
  if (!entry || !ShownInMenus(*entry)) return std::nullopt;
  if (!ShownOnDesktop(*entry, getEnv_("XDG_CURRENT_DESKTOP"))) return std::nullopt;
  if (!entry->tryExec.empty() && !ProgramExists(entry->tryExec)) return std::nullopt;
  return entry->name;
}

bool XdgShellFolders::ProgramExists(const std::string& program) const {
  if (program.find('/') != std::string::npos) return access(program.c_str(), X_OK) == 0;
  const std::string path = getEnv_("PATH");
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find(':', start);
    if (end == std::string::npos) end = path.size();
    std::string dir = path.substr(start, end - start);
    start = end + 1;
    // An empty item of $PATH is the current folder, which a menu never means.
    if (dir.empty()) continue;
    if (access((dir + "/" + program).c_str(), X_OK) == 0) return true;
  }
  return false;
}

std::string XdgShellFolders::Home() const { return getEnv_("HOME"); }

std::string XdgShellFolders::Existing(std::string path) const {
  if (path.empty() || !fileSystem_.DirectoryExists(path)) return {};
  if (path.back() != '/') path.push_back('/');
  return path;
}

// Reads KEY="$HOME/Folder" from $XDG_CONFIG_HOME/user-dirs.dirs.
std::string XdgShellFolders::UserDir(const std::string& key, const std::string& fallback) const {
  const std::string home = Home();
  const auto text = fileSystem_.ReadWholeFile(ConfigHome() + "/user-dirs.dirs", 1 << 16);
  if (text) {
    std::size_t start = 0;
    while (start < text->size()) {
      std::size_t end = text->find('\n', start);
      if (end == std::string::npos) end = text->size();
      std::string_view line(text->data() + start, end - start);
      start = end + 1;
      if (!line.starts_with(key) || line.size() <= key.size() || line[key.size()] != '=') continue;
      std::string_view value = line.substr(key.size() + 1);
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
      }
      std::string path;
      if (value.starts_with("$HOME")) {
        path = home + std::string(value.substr(5));
      } else if (value.starts_with('/')) {
        path = std::string(value);
      } else {
        continue;
      }
      return path;
    }
  }
  return fallback;
}

std::string XdgShellFolders::DataHome() const {
  std::string data = getEnv_("XDG_DATA_HOME");
  if (!data.empty() && data[0] == '/') return data;
  const std::string home = Home();
  return home.empty() ? std::string() : home + "/.local/share";
}

std::string XdgShellFolders::ConfigHome() const {
  std::string config = getEnv_("XDG_CONFIG_HOME");
  if (!config.empty() && config[0] == '/') return config;
  const std::string home = Home();
  return home.empty() ? std::string() : home + "/.config";
}

std::vector<ListedItem> XdgShellFolders::ListedItems(KnownFolder folder) const {
  if (folder == KnownFolder::Recent) return RecentFiles();
  if (folder == KnownFolder::Favorites) return BookmarkedFolders();
  return {};
}

std::vector<ListedItem> XdgShellFolders::RecentFiles() const {
  const std::string data = DataHome();
  if (data.empty()) return {};
  // The desktop keeps the list to a few megabytes; a larger file is no list.
  const auto text = fileSystem_.ReadWholeFile(data + "/recently-used.xbel", 64 << 20);
  if (!text) return {};
  std::vector<Bookmark> used = ReadXbelBookmarks(*text);
  // Of two files of one name, the one used last wins.
  std::stable_sort(used.begin(), used.end(),
                   [](const Bookmark& a, const Bookmark& b) { return a.modified < b.modified; });
  std::vector<ListedItem> items;
  for (const Bookmark& bookmark : used) {
    std::optional<std::string> path = LocalPathOfUri(bookmark.uri);
    if (path && fileSystem_.FileExists(*path)) items.push_back({std::move(*path), ""});
  }
  return items;
}

std::vector<ListedItem> XdgShellFolders::BookmarkedFolders() const {
  std::vector<ListedItem> items;
  std::set<std::string> listed;
  auto add = [&](const std::vector<Bookmark>& places) {
    for (const Bookmark& place : places) {
      if (place.hidden) continue;
      std::optional<std::string> path = LocalPathOfUri(place.uri);
      if (!path || !fileSystem_.DirectoryExists(*path)) continue;
      while (path->size() > 1 && path->back() == '/') path->pop_back();
      std::string name = place.title;
      if (name.empty()) name = path->size() > 1 ? path->substr(path->rfind('/') + 1) : *path;
      if (path->back() != '/') path->push_back('/');
      if (!listed.insert(*path).second) continue;
      items.push_back({std::move(*path), Latin1ForInvalidUtf8(name)});
    }
  };
  constexpr std::size_t kLimit = 1 << 20;
  // GTK reads its older file only where the newer one isn't.
  const std::string config = ConfigHome(), home = Home();
  std::optional<std::string> gtk;
  if (!config.empty()) gtk = fileSystem_.ReadWholeFile(config + "/gtk-3.0/bookmarks", kLimit);
  if (!gtk && !home.empty()) gtk = fileSystem_.ReadWholeFile(home + "/.gtk-bookmarks", kLimit);
  if (gtk) add(ReadGtkBookmarks(*gtk));
  const std::string data = DataHome();
  if (!data.empty()) {
    if (const auto kde = fileSystem_.ReadWholeFile(data + "/user-places.xbel", kLimit)) {
      add(ReadXbelBookmarks(*kde));
    }
  }
  return items;
}

std::vector<std::string> XdgShellFolders::DataDirApplications() const {
  std::string dirs = getEnv_("XDG_DATA_DIRS");
  if (dirs.empty()) dirs = "/usr/local/share/:/usr/share/";
  // Sessions started through systemd often lack the exports of Flatpak and
  // Snap in the variable; a standard install puts them here.
  const std::string dataHome = DataHome();
  if (!dataHome.empty()) dirs += ":" + dataHome + "/flatpak/exports/share";
  dirs += ":/var/lib/flatpak/exports/share:/var/lib/snapd/desktop";
  std::vector<std::string> found;
  std::size_t start = 0;
  while (start <= dirs.size()) {
    std::size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string dir = dirs.substr(start, end - start);
    start = end + 1;
    if (dir.empty() || dir[0] != '/') continue;
    if (dir.back() != '/') dir.push_back('/');
    std::string applications = Existing(dir + "applications");
    if (applications.empty()) continue;
    // A folder named twice is read once.
    bool seen = false;
    for (const std::string& earlier : found) seen = seen || earlier == applications;
    if (!seen) found.push_back(std::move(applications));
  }
  return found;
}

std::vector<std::string> XdgShellFolders::ShellFolderPaths(KnownFolder folder) const {
  if (folder == KnownFolder::CommonStartMenu) return DataDirApplications();
  return ShellFolders::ShellFolderPaths(folder);
}

std::vector<std::string> XdgShellFolders::ShadowingFolders(KnownFolder folder) const {
  if (folder != KnownFolder::CommonStartMenu) return {};
  std::string user = ShellFolderPath(KnownFolder::StartMenu);
  if (user.empty()) return {};
  return {std::move(user)};
}

std::string XdgShellFolders::ShellFolderPath(KnownFolder folder) const {
  const std::string home = Home();
  switch (folder) {
    case KnownFolder::StartMenu: {
      const std::string data = DataHome();
      return data.empty() ? std::string() : Existing(data + "/applications");
    }
    case KnownFolder::CommonStartMenu: {
      std::vector<std::string> found = DataDirApplications();
      return found.empty() ? std::string() : found.front();
    }
    case KnownFolder::Desktop:
      if (home.empty()) return {};
      return Existing(UserDir("XDG_DESKTOP_DIR", home + "/Desktop"));
    case KnownFolder::Personal:
      if (home.empty()) return {};
      return Existing(UserDir("XDG_DOCUMENTS_DIR", home));
    case KnownFolder::Recent:
    case KnownFolder::History:
    case KnownFolder::Favorites:
    case KnownFolder::CommonDesktop:
      break;
  }
  return {};
}

}  // namespace wh
