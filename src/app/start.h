// The program's start and end, the same for every front end: one copy per
// executable path, the main window and its behaviour, the settings window,
// the message loop, and the tear-down in the reverse order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/launcher.h"
#include "app/main_view.h"
#include "app/settings_dialog.h"
#include "app/settings_view.h"
#include "platform/instance_record.h"
#include "platform/version_info.h"

namespace wh {

// The windows and the message loop of one window system. The start calls
// these in a fixed order; a front end makes no decision of its own about it.
class FrontEnd {
 public:
  virtual ~FrontEnd() = default;

  // What the instance record stores for this copy, so that a second start
  // can bring it forward (the application window on Windows).
  virtual std::uint32_t InstanceWindow() = 0;
  // Tells the user why the start stops, before any window of ours exists.
  virtual void ShowStartError(const std::string& text) = 0;

  // Makes the main window, hidden; it lives until DestroyWindows().
  virtual MainView& CreateMainWindow() = 0;
  // Connects the main window (and anything else of the front end that hands
  // events to it) to its behaviour; nullptr disconnects.
  virtual void AttachMain(Launcher* launcher) = 0;
  // Makes the settings window, hidden until the tray menu's "Settings".
  virtual SettingsView& CreateSettingsWindow() = 0;
  virtual void AttachSettings(SettingsDialog* dialog) = 0;

  // Runs until the program is asked to end; the process's exit code.
  virtual int RunMessageLoop() = 0;
  // Destroys both windows (the tray icon and the hot key go with the main
  // window).
  virtual void DestroyWindows() = 0;
};

// The operating system as the start uses it. Everything here outlives the
// call to RunProgram.
struct StartPlatform {
  InstanceMappings& instanceMappings;
  InstanceWindows& instanceWindows;
  // What the main window's behaviour is handed; its exePath names this copy.
  MainPlatform main;
  const VersionInfo& versionInfo;
};

// Runs the program from the single-instance check to the release of the
// instance record and returns the exit code: 0 when another copy was
// brought forward instead, 1 when the record could not be made. An error in
// Start is shown and the start goes on without the steps that did not
// run.
int RunProgram(const StartPlatform& platform, FrontEnd& frontEnd, std::string_view firstArgument);

}  // namespace wh
