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

}  // namespace wh
