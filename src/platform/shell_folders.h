// Where the desktop keeps the folders that are indexed.
#pragma once

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
};

}  // namespace wh
