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

}  // namespace wh
