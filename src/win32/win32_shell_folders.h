// The desktop's folders as Explorer records them in the registry.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/shell_folders.h"

namespace wh {

// The value `valueName` of the "Shell Folders" key of Explorer, under
// HKEY_CURRENT_USER or, for all users, HKEY_LOCAL_MACHINE, ending in the path
// separator; "" when there is none. Only text values count; environment
// references are expanded for all users' folders, and a folder whose
// expanded path would be longer than 258 characters counts as not found.
std::string ShellFolderValue(std::string_view valueName, bool allUsers);

class Win32ShellFolders : public ShellFolders {
 public:
  // The value of the folder's name in the "Shell Folders" key.
  std::string ShellFolderPath(KnownFolder folder) const override;
  std::string ShortcutExtension() const override { return "lnk"; }
  bool FoldersNameTheirFiles() const override { return true; }
  // The [LocalizedFileNames] section of the folder's desktop.ini, read by the
  // system's profile functions (which take UTF-16 files too); a value "@..."
  // is an indirect string, resolved in the user's language, and left out
  // when it can't be.
  std::vector<std::pair<std::string, std::string>> LocalizedFileNames(
      const std::string& folder) const override;
};

// An indirect string ("@%SystemRoot%\system32\shell32.dll,-22563") in the
// user's language; "" when it can't be resolved. Environment references in
// the path are expanded.
std::string ResolveIndirectString(const std::wstring& reference);

}  // namespace wh
