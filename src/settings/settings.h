// The settings record: every persisted setting, named by its key in the
// settings file. Defaults are those of a missing key.
#pragma once

#include <cstdint>
#include <string>

namespace wh {

struct Settings {
  // [Form]
  std::int32_t FormTop = 0;
  std::int32_t FormLeft = 0;
  std::string HotKey = "F4";
  // [Directories]
  bool UserStartMenu = true;
  bool AllUsersStartMenu = true;
  bool UserDeskTop = true;
  bool AllUsersDeskTop = true;
  bool Favorites = false;
  bool History = false;
  bool RecentFiles = false;
  std::string IgnoreList =
      "the of and to in is for on are as at be or by my about read me pro setup uninstall "
      "license agreement";
  // [Program]
  bool HideWhenLaunching = true;
  bool AlwaysScreenCenter = true;
  bool StartWithWindows = true;
  bool MessageBoxOnError = true;
  bool ReloadOnPopup = false;
  bool ShowTitleBar = true;
  bool HideToSystemTray = true;
  bool ShowInfoPanel = true;
  bool ShowStatusBar = true;
  bool StartOnOneMatch = false;
  bool AutoComplete = true;
  bool LoadUserDirOnPopup = false;
  bool StayOnTop = true;
  bool UseFindDialog = false;
  // [Directories]
  std::string UserDir;
  std::string UserMasks = "xls doc pdf";
  // [Program]
  // Stored as FirstShow: on once the help has been shown at a first start
  // and the window closed with its close box.
  bool HelpShown = false;
};

}  // namespace wh
