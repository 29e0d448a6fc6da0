#include "settings/startup_entry.h"

#include "settings/program_paths.h"

namespace wh {

void SyncStartupEntry(bool startWithWindows, const std::string& command, StartupEntryStore& store) {
  const std::string name(ProgramName);
  const bool exists = store.RunValueExists(name);
  if (startWithWindows && !exists) {
    store.WriteRunValue(name, command);
  } else if (!startWithWindows && exists) {
    store.DeleteRunValue(name);
  }
}

bool MachineOrUserStartupEntries::RunValueExists(const std::string& name) const {
  return machine_.RunValueExists(name) || user_.RunValueExists(name);
}

void MachineOrUserStartupEntries::WriteRunValue(const std::string& name,
                                                const std::string& command) {
  try {
    machine_.WriteRunValue(name, command);
    return;
  } catch (const StartupEntryError&) {
    // Not allowed machine-wide: the user's own list starts the program too.
  }
  user_.WriteRunValue(name, command);
}

void MachineOrUserStartupEntries::DeleteRunValue(const std::string& name) {
  machine_.DeleteRunValue(name);
  user_.DeleteRunValue(name);
}

}  // namespace wh
