// The settings window's on-off options, named by what they switch. The
// Windows window's control ids follow this order, so it is fixed: a new
// option goes at the end.
#pragma once

namespace wh {

enum class Option {
  UserStartMenu,
  AllUsersStartMenu,
  UserDesktop,
  AllUsersDesktop,
  Favorites,
  History,
  RecentFiles,
  HideWhenLaunching,
  AlwaysScreenCenter,
  StartWithWindows,
  MessageBoxOnError,
  ReloadOnPopup,
  ShowTitleBar,
  ShowInfoPanel,
  HideToSystemTray,
  ShowStatusBar,
  StartOnOneMatch,
  AutoComplete,
  LoadUserDirOnPopup,
  StayOnTop,
  UseFindDialog,
};

}  // namespace wh
