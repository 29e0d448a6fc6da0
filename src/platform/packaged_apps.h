// Apps installed as packages (Windows 10 and later: Calculator, Settings,
// Photos, Terminal and everything from the Store) have no shortcut file in
// any Start Menu folder; the shell lists them in its Applications folder.
#pragma once

#include <string>
#include <vector>

namespace wh {

struct PackagedApp {
  // The name the Start menu shows.
  std::string name;
  // "Family!App", which the shell starts as "shell:AppsFolder\Family!App".
  std::string appUserModelId;
  friend bool operator==(const PackagedApp&, const PackagedApp&) = default;
};

// What the shell opens to start a packaged app: "shell:AppsFolder\" and its id.
inline std::string PackagedAppPath(const std::string& appUserModelId) {
  return "shell:AppsFolder\\" + appUserModelId;
}

// Whether an item's path stands for a packaged app rather than a file.
inline bool IsPackagedAppPath(const std::string& path) {
  return path.rfind("shell:AppsFolder\\", 0) == 0;
}

class PackagedApps {
 public:
  virtual ~PackagedApps() = default;
  // The user's packaged apps, in the Applications folder's order; programs
  // that have a file of their own (found through their shortcuts) are not
  // among them. None where the system has no Applications folder (before
  // Windows 10, Wine, Linux). Never throws; callable on any thread.
  virtual std::vector<PackagedApp> List() const = 0;
};

// A system that has no packaged apps of this kind (Linux, where Flatpak and
// Snap programs come with launcher entries of their own).
class NoPackagedApps : public PackagedApps {
 public:
  std::vector<PackagedApp> List() const override { return {}; }
};
inline const NoPackagedApps kNoPackagedApps;

}  // namespace wh
