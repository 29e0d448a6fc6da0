// Programs started from here get a systemd scope of their own, as a desktop's
// own launcher gives them. Without one a started program stays in this
// program's unit (for one, the unit an autostart entry becomes), and systemd
// ends it with that unit: unsaved work would be lost when Wordhopper stops or
// restarts.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

typedef struct _GDBusConnection GDBusConnection;

namespace wh {

// "app-wordhopper-<id>-<pid>.scope", the form systemd asks desktops to give
// the units of the applications they start. `appId` is the launcher entry's
// ID (its file name less ".desktop") or the program's name; every character
// a unit name can't hold, and "-", which separates the name's parts, is
// written as "\xNN", as systemd-escape writes it.
std::string ScopeUnitName(std::string_view appId, pid_t pid);

// The user's session bus when the session names one (DBUS_SESSION_BUS_ADDRESS,
// else the socket "bus" in XDG_RUNTIME_DIR, where a systemd user session keeps
// it); null when there is none. Never starts a bus of its own, as D-Bus's
// autolaunch would. The connection lives as long as the program.
GDBusConnection* UserSessionBus();

// Asks the user's systemd manager on `bus` for a transient scope holding the
// process `pid`, and returns without waiting for the answer: a launch is never
// held up or failed by it. Nothing happens when `bus` is null; a bus where no
// systemd manager answers refuses the request, which is then dropped.
void PlaceInOwnScope(GDBusConnection* bus, std::string_view appId, pid_t pid);

}  // namespace wh
