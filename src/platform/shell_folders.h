// Where the desktop keeps the folders that are indexed.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace wh {

// One item a source names by itself rather than as a file of a folder.
struct ListedItem {
  // A file, or a folder ending in the path separator (it opens as a folder).
  std::string path;
  // The name shown; "" names the item by its file, as a file found in a
  // folder is named.
  std::string name;
  friend bool operator==(const ListedItem&, const ListedItem&) = default;
};

// The desktop's folders the program indexes or searches: the user's own, and
// (Common) those of all users.
enum class KnownFolder {
  Recent,
  History,
  Favorites,
  CommonDesktop,
  Desktop,
  CommonStartMenu,
  StartMenu,
  Personal,
};

class ShellFolders {
 public:
  virtual ~ShellFolders() = default;

  // Where `folder` is, ending in the path separator; the empty text when the
  // platform has no such folder or can't say where it is. Never reports
  // anything.
  virtual std::string ShellFolderPath(KnownFolder folder) const = 0;

  // Every folder that holds part of the shell folder, in the order the
  // desktop gives them (one at most on Windows; on Linux every data folder's
  // launcher entries). A shortcut whose name relative to its folder, with
  // the path separators turned into "-", is found in an earlier folder is
  // hidden by that one. The default: ShellFolderPath's folder, if any.
  virtual std::vector<std::string> ShellFolderPaths(KnownFolder folder) const {
    std::string path = ShellFolderPath(folder);
    if (path.empty()) return {};
    return {std::move(path)};
  }

  // Folders whose shortcuts hide those of ShellFolderPaths with the same
  // name, as if they came first, without being part of the shell folder
  // (on Linux the user's own launcher entries, which a menu editor writes
  // to hide or change a program installed for all). None by default.
  virtual std::vector<std::string> ShadowingFolders(KnownFolder folder) const {
    (void)folder;
    return {};
  }

  // Items of `folder` kept in a list rather than as files of a folder, in the
  // order they are to be added (a later one wins an equal name), each still
  // there when asked. On Linux: the recently used files (Recent) and the
  // file manager's bookmarked folders (Favorites). None by default.
  virtual std::vector<ListedItem> ListedItems(KnownFolder folder) const {
    (void)folder;
    return {};
  }

  // The extension word of the desktop's shortcut files: "lnk" on Windows,
  // "desktop" where launcher entries stand for shortcuts.
  virtual std::string ShortcutExtension() const = 0;

  // Whether shortcut files carry names of their own (launcher entries do;
  // Windows shortcuts are named by their file).
  virtual bool ShortcutsNameThemselves() const { return false; }
  // The display name the shortcut file at `path` gives itself: the empty
  // text when its file name serves, nullopt when a menu would not show it
  // (so it isn't indexed either). Asked only when ShortcutsNameThemselves().
  virtual std::optional<std::string> ShortcutDisplayName(const std::string& path) const {
    (void)path;
    return std::string();
  }

  // Whether a folder may give its files the names the desktop shows (on
  // Windows, a desktop.ini's [LocalizedFileNames]: "Editor" for Notepad.lnk
  // on a German system). The load then asks each folder it walks.
  virtual bool FoldersNameTheirFiles() const { return false; }
  // The names `folder` (ending in its separator) gives its files: file name
  // and shown name, indirect strings already resolved; none by default.
  virtual std::vector<std::pair<std::string, std::string>> LocalizedFileNames(
      const std::string& folder) const {
    (void)folder;
    return {};
  }
};

}  // namespace wh
