// Window classes and control identifiers of the program's windows. The
// end-to-end driver finds the windows and reads their controls by these, so
// they are part of what the program promises to its tests.
#pragma once

#include "app/option.h"

namespace wh::win32 {

// The invisible owner window that carries the task-bar button.
inline constexpr wchar_t kApplicationWindowClass[] = L"WordhopperApplication";
// The main window with the two boxes.
inline constexpr wchar_t kMainWindowClass[] = L"WordhopperMain";

// Controls of the main window, all direct children of it. The frames behind
// the two value labels are painted by the window and have no identifier.
enum MainControlId : int {
  kProcessesCaption = 1001,  // "Processes: "
  kProcessCount = 1003,
  kPageFileCaption = 1004,  // "Page file:"
  kPageFile = 1006,         // the page file figures
  kMemoryCaption = 1007,    // "Memory:"
  kMemoryGauge = 1008,      // physical memory load; WM_GETTEXT gives "37%"
  kKeywordBox = 1011,
  kItemBox = 1012,
  kStatusBar = 1013,
};

// The hidden window that receives the tray icon's notifications, and the
// icon's number among that window's icons.
inline constexpr wchar_t kTrayWindowClass[] = L"WordhopperTray";
inline constexpr unsigned kTrayIconId = 1;

// Items of the tray menu, which is also the context menu of both boxes, in
// the order of main_layout::kTrayMenu.
enum TrayMenuId : int {
  kTrayShow = 2001,
  kTrayHide = 2002,
  kTrayReload = 2003,
  kTraySettings = 2004,
  kTrayHelp = 2005,
  kTrayExit = 2006,
};

// The settings window, hidden until the tray menu's "Settings" opens it.
inline constexpr wchar_t kSettingsWindowClass[] = L"WordhopperSettings";

// Controls of the settings window, all direct children of it. The options'
// check boxes come first (OptionId); the group boxes and the fixed labels
// have no identifier of note.
enum SettingsControlId : int {
  kFirstOptionId = 3001,
  kUserDirEdit = 3030,    // the user-directory field
  kUserDirBrowse = 3031,  // "..." at its right end
  kMasksEdit = 3032,
  kIgnoreListEdit = 3033,
  kHotKeyField = 3034,   // msctls_hotkey32
  kVersionLabel = 3035,  // "Wordhopper version: ..."
  kAboutLabel = 3036,    // the line below it
  kDonationLinkLabel = 3037,
  kDonationIcon = 3038,  // the program icon, a link too
  kSaveButton = 3039,
  kCancelButton = 3040,
};

// The check box of `option`: the options' order numbers them from 3001.
inline constexpr int OptionId(Option option) { return kFirstOptionId + static_cast<int>(option); }
static_assert(OptionId(Option::ShowTitleBar) == 3013 && OptionId(Option::UseFindDialog) == 3021);

}  // namespace wh::win32
