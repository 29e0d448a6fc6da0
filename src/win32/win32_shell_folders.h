// The desktop's folders as Explorer records them in the registry.
#pragma once

#include "platform/shell_folders.h"

namespace wh {

class Win32ShellFolders : public ShellFolders {
 public:
  // The value `valueName` of the "Shell Folders" key of Explorer, under
  // HKEY_CURRENT_USER or, for all users, HKEY_LOCAL_MACHINE. Only text values
  // count; environment references are expanded for all users' folders, and a
  // folder whose expanded path would be longer than 258 characters counts as
  // not found.
  std::string ShellFolderPath(std::string_view valueName, bool allUsers) const override;
  std::string ShortcutExtension() const override { return "lnk"; }
};

}  // namespace wh
