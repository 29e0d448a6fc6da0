// Where the desktop keeps the folders that are indexed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wh {

class ShellFolders {
 public:
  virtual ~ShellFolders() = default;

  // The folder named by a shell-folder value ("Start Menu", "Common Desktop",
  // "Personal" ...) for the user (`allUsers` false) or for all users, ending in
  // the path separator; the empty text when the platform has no such folder or
  // can't say where it is. Never reports anything.
  virtual std::string ShellFolderPath(std::string_view valueName, bool allUsers) const = 0;

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
};

}  // namespace wh
