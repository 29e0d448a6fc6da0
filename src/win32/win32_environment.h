// The process's environment made anew from the variables the system stores,
// as Explorer does when told that they changed: a PATH entry added after
// log-in reaches the programs started afterwards.
#pragma once

namespace wh {

// Replaces the environment by the machine's and the user's stored variables
// (CreateEnvironmentBlock, without the process's own). The current folders
// of the drives ("=C:=..."), which no store holds, stay. False, with nothing
// changed, when the system can't build the block.
bool RefreshEnvironmentFromSystem();

// Whether a WM_SETTINGCHANGE's text names the environment.
bool IsEnvironmentChange(const wchar_t* changed);

}  // namespace wh
