// The desktop's folders on Linux, after the XDG base-directory and user-dirs
// conventions: launcher entries stand for Start Menu shortcuts.
#pragma once

#include <functional>
#include <string>

#include "platform/file_system.h"
#include "platform/shell_folders.h"

namespace wh {

class XdgShellFolders : public ShellFolders {
 public:
  using GetEnv = std::function<std::string(const char*)>;

  // `getEnv` reads an environment variable ("" when unset); the default reads
  // the process environment.
  explicit XdgShellFolders(const FileSystem& fileSystem, GetEnv getEnv = {});

  // StartMenu: $XDG_DATA_HOME/applications; CommonStartMenu: the
  // "applications" folder of the first $XDG_DATA_DIRS entry that has one;
  // Desktop: XDG_DESKTOP_DIR of user-dirs.dirs, else ~/Desktop; Personal:
  // XDG_DOCUMENTS_DIR, else the home folder; the rest: "".
  std::string ShellFolderPath(KnownFolder folder) const override;
  // CommonStartMenu: the "applications" folder of every $XDG_DATA_DIRS entry
  // that has one, in the variable's order, then those of Flatpak's and
  // Snap's exports ($XDG_DATA_HOME/flatpak/exports/share,
  // /var/lib/flatpak/exports/share, /var/lib/snapd/desktop) not named yet;
  // otherwise as ShellFolderPath.
  std::vector<std::string> ShellFolderPaths(KnownFolder folder) const override;
  // CommonStartMenu: $XDG_DATA_HOME/applications, first in the search path
  // of launcher entries.
  std::vector<std::string> ShadowingFolders(KnownFolder folder) const override;
  // Recent: the files of the desktop's recently-used list
  // ($XDG_DATA_HOME/recently-used.xbel) that still exist, in the order of
  // their last use, named by their files. Favorites: the local folders bookmarked in
  // the file manager that exist (GTK's $XDG_CONFIG_HOME/gtk-3.0/bookmarks,
  // else the older ~/.gtk-bookmarks, then KDE's
  // $XDG_DATA_HOME/user-places.xbel), each under its label, else under its
  // folder's name; places KDE hides, and a folder listed before, are left out.
  std::vector<ListedItem> ListedItems(KnownFolder folder) const override;
  std::string ShortcutExtension() const override { return "desktop"; }
  bool ShortcutsNameThemselves() const override { return true; }
  // The entry's Name in the user's language (LC_ALL, LC_MESSAGES, LANG), ""
  // when it has none; nullopt when it can't be read, isn't an entry, or a
  // menu would not show it (NoDisplay, Hidden, neither an application nor a
  // link, meant only for other desktops than XDG_CURRENT_DESKTOP, or its
  // TryExec program isn't there).
  std::optional<std::string> ShortcutDisplayName(const std::string& path) const override;

 private:
  std::string Home() const;
  // $XDG_DATA_HOME, else ~/.local/share; "" without a home.
  std::string DataHome() const;
  // $XDG_CONFIG_HOME, else ~/.config; "" without a home.
  std::string ConfigHome() const;
  std::string UserDir(const std::string& key, const std::string& fallback) const;
  std::string Existing(std::string path) const;
  std::vector<std::string> DataDirApplications() const;
  std::vector<ListedItem> RecentFiles() const;
  std::vector<ListedItem> BookmarkedFolders() const;
  // Whether `program` names an executable file: a path, or a name found in
  // $PATH.
  bool ProgramExists(const std::string& program) const;

  const FileSystem& fileSystem_;
  GetEnv getEnv_;
  std::string locale_;
};

}  // namespace wh
