// The start-up entry of a Linux desktop session: an XDG autostart file,
// "<name>.desktop" in $XDG_CONFIG_HOME/autostart, run when the user logs in.
#pragma once

#include <string>

#include "platform/startup_entry.h"

namespace wh {

// `path` as one argument of a desktop entry's Exec key, ready to be stored:
// quoted when it holds a character the key reserves, "%" doubled, and the
// escapes of a desktop entry's string values applied.
std::string DesktopEntryExec(const std::string& path);

class XdgAutostart : public StartupEntryStore {
 public:
  // $XDG_CONFIG_HOME/autostart, or ~/.config/autostart when it is not set
  // or not absolute.
  XdgAutostart();
  explicit XdgAutostart(std::string directory) : directory_(std::move(directory)) {}

  // Whether the entry's file exists; looks only.
  bool RunValueExists(const std::string& name) const override;
  // Writes the entry's file in one step (a temporary file renamed over it),
  // creating the folder if missing. Throws StartupEntryError when refused.
  void WriteRunValue(const std::string& name, const std::string& command) override;
  void DeleteRunValue(const std::string& name) override;

 private:
  std::string EntryPath(const std::string& name) const;
  std::string directory_;
};

}  // namespace wh
