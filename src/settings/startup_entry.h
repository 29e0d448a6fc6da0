// Keeping the start-up entry in line with the StartWithWindows setting.
#pragma once

#include <string>

#include "platform/startup_entry.h"

namespace wh {

// Adds the entry "wordhopper" with `command` when the setting is on and no
// entry exists; removes it when the setting is off and one exists. An entry
// that exists is never rewritten, whatever it holds, so a copy that was moved
// leaves the user's entry alone. Throws StartupEntryError from the store.
void SyncStartupEntry(bool startWithWindows, const std::string& command, StartupEntryStore& store);

// The machine-wide list where the user may write it, else the user's own: a
// standard user can't write the machine's list, and an entry that an
// installer put in either one counts as there. Removing takes it out of both.
class MachineOrUserStartupEntries : public StartupEntryStore {
 public:
  MachineOrUserStartupEntries(StartupEntryStore& machine, StartupEntryStore& user)
      : machine_(machine), user_(user) {}
  bool RunValueExists(const std::string& name) const override;
  // Throws StartupEntryError only when both lists refuse.
  void WriteRunValue(const std::string& name, const std::string& command) override;
  void DeleteRunValue(const std::string& name) override;

 private:
  StartupEntryStore& machine_;
  StartupEntryStore& user_;
};

}  // namespace wh
