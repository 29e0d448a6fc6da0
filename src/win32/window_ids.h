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
  kLabel2 = 1001,     // the process count's caption
  kLabel1 = 1003,     // process count
  kLabel4 = 1004,     // the page file figures' caption
  kLabel5 = 1006,     // page file figures
  kLabel3 = 1007,     // the memory load's caption
  kGauge1 = 1008,     // physical memory load; WM_GETTEXT gives "37%"
  kComboBox1 = 1011,  // keyword box
  kComboBox2 = 1012,  // item box
  kStatusBar1 = 1013,
};

// The hidden window that receives the tray icon's notifications.
inline constexpr wchar_t kTrayWindowClass[] = L"WordhopperTray";

// Items of the tray menu, which is also the context menu of both boxes, in
// the order of main_layout::kTrayMenu.
enum TrayMenuId : int {
  kShow1 = 2001,
  kHide1 = 2002,
  kReloaddirectories1 = 2003,
  kSettings1 = 2004,
  kHelp1 = 2005,
  kExit1 = 2006,
};

// The settings window, hidden until the tray menu's "Settings" opens it.
inline constexpr wchar_t kSettingsWindowClass[] = L"WordhopperSettings";

// Controls of the settings window, all direct children of it. The options'
// check boxes come first (OptionId); the group boxes and the fixed labels
// have no identifier of note.
enum SettingsControlId : int {
  kFirstOptionId = 3001,
  kUserDirEdit = 3030,     // the user-directory field
  kUserDirBrowse = 3031,   // "..." at its right end
  kEdit2 = 3032,           // file masks
  kMemo1 = 3033,           // ignore list
  kHotKey1 = 3034,         // hot-key field (msctls_hotkey32)
  kLabel7 = 3035,          // "Wordhopper version: ..."
  kSettingsLabel4 = 3036,  // Label4, the line below it
  kLabel8 = 3037,          // the donation link
  kImage1 = 3038,          // the program icon, a link too
  kButton1 = 3039,         // "Save"
  kButton2 = 3040,         // "Cancel"
};

// The check box of `option`: the options' order numbers them from 3001.
inline constexpr int OptionId(Option option) { return kFirstOptionId + static_cast<int>(option); }
static_assert(OptionId(Option::UseFindDialog) == 3021 &&
              OptionId(Option::UseFindDialog) < kUserDirEdit);

}  // namespace wh::win32
