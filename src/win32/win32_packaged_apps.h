// The packaged apps of the shell's Applications folder (FOLDERID_AppsFolder).
#pragma once

#include "platform/packaged_apps.h"

namespace wh {

class Win32PackagedApps : public PackagedApps {
 public:
  // Enumerates the folder through IShellItem and IEnumShellItems, on COM of
  // the calling thread (initialised here when it isn't yet). An item counts
  // as a packaged app when its parsing name is an AppUserModelID
  // ("Family!App") rather than a file-system path or a GUID.
  std::vector<PackagedApp> List() const override;
};

// Whether a parsing name of the Applications folder is a packaged app's
// AppUserModelID: "Family!App", with no path separator, drive or GUID in it.
bool IsAppUserModelId(const std::wstring& parsingName);

}  // namespace wh
