// The settings window as designed: its texts, exactly as the user sees them,
// and its layout in pixels of the client area, with one row for each option.
// Both the Windows and the Linux window are built from this one table, and
// the dialog is filled and read through it.
#pragma once

#include <cstddef>
#include <iterator>

#include "app/option.h"
#include "app/wording.h"
#include "settings/settings.h"

namespace wh::settings_layout {

constexpr char kCaption[] = "Wordhopper Settings";

// The layout as designed, in pixels of the window's client area.
constexpr int kClientWidth = 592;
constexpr int kClientHeight = 595;
constexpr int kGroupLeft = 4;
constexpr int kGroupWidth = kClientWidth - 2 * kGroupLeft;
constexpr int kSearchTop = 4, kSearchHeight = 192;
constexpr int kBehaviourTop = kSearchTop + kSearchHeight + 4, kBehaviourHeight = 288;
constexpr int kAboutTop = kBehaviourTop + kBehaviourHeight + 4, kAboutHeight = 65;
constexpr int kBottomTop = kAboutTop + kAboutHeight;
constexpr int kInnerLeft = 16;
constexpr int kCheckHeight = 17;
constexpr int kFieldHeight = 21;
constexpr int kFieldLeft = 150;
constexpr int kFieldRight = kGroupLeft + kGroupWidth - 10;
constexpr int kBrowseWidth = 24;
constexpr int kLabelHeight = 14;

// The highest DPI, up to the monitor's `dpi`, at which the client area as
// designed fits in `roomWidth` by `roomHeight` pixels (the monitor's work
// area less the window's frame), sizes rounded to the nearest pixel. A
// window laid out smaller stays whole on the screen, where one at the
// monitor's DPI would put its buttons past the edge. Never below half the
// design's DPI, where text would be too small to read.
constexpr int FittingDpi(int dpi, int roomWidth, int roomHeight) {
  auto fits = [&](int d) {
    return (kClientWidth * d + 48) / 96 <= roomWidth && (kClientHeight * d + 48) / 96 <= roomHeight;
  };
  int fit = dpi;
  while (fit > 48 && !fits(fit)) --fit;
  return fit;
}

// The fields refuse what the settings file would refuse.
constexpr int kFieldLimit = 2047;

// Where an option's check box stands: among the folders searched, or on a
// line of the program's behaviour (the hot-key line comes after them).
enum class OptionGroup { Search, Behaviour };

// Everything about one option: the setting it edits, the name its control
// goes by (the Linux window's object name, the end-to-end driver's key), its
// group, its caption as the Windows program says it, and its place.
struct OptionRow {
  Option option;
  bool Settings::*field;
  const char* name;
  OptionGroup group;
  const char* caption;
  int left;
  int top;
  int width;
  // As the Linux program says it; null when both say the same.
  const char* linuxCaption = nullptr;
  // Why the option does nothing on Linux, where its check box is shown
  // disabled with this as its hint; null where it works.
  const char* linuxUnavailable = nullptr;
};

// The option's caption in the desktop's words.
constexpr const char* Caption(const OptionRow& row, Wording wording) {
  return TwoWordings{row.caption, row.linuxCaption}.For(wording);
}

// Search directories, three columns: the user's own folders on the left,
// the all-users pair in the middle, recent files and history on the right.
// On Linux launcher entries stand for the shortcuts.
constexpr int kColumn2 = 208, kColumn3 = 400, kColumnWidth = 186;
constexpr int kRow1 = kSearchTop + 20, kRow2 = kRow1 + 20, kRow3 = kRow2 + 20;

// Program behaviour: one per line, the hot-key line last.
constexpr int kBehaviourFirstLine = kBehaviourTop + 18;
constexpr int LineTop(int line) { return kBehaviourFirstLine + line * kCheckHeight; }
constexpr int kLineWidth = kGroupWidth - 2 * (kInnerLeft - kGroupLeft);
constexpr int kHotKeyLine = LineTop(14);

// A control's rectangle in the client area, as designed.
struct ControlPlace {
  int left, top, width, height;
};

// An option's check box.
constexpr ControlPlace PlaceOf(const OptionRow& row) {
  return {row.left, row.top, row.width, kCheckHeight};
}

// The three groups.
constexpr ControlPlace kSearchGroupPlace = {kGroupLeft, kSearchTop, kGroupWidth, kSearchHeight};
constexpr ControlPlace kBehaviourGroupPlace = {kGroupLeft, kBehaviourTop, kGroupWidth,
                                               kBehaviourHeight};
constexpr ControlPlace kAboutGroupPlace = {kGroupLeft, kAboutTop, kGroupWidth, kAboutHeight};

// The search group's fields, a line each below the check boxes, with their
// labels on the left. A label stands a little lower than its field's top,
// so that their texts line up.
constexpr int kLabelDrop = 3;
constexpr int kFieldLabelWidth = kFieldLeft - kInnerLeft - 4;
constexpr int kUserDirTop = kRow3 + 26;
constexpr int kMasksTop = kUserDirTop + 27;
constexpr int kIgnoreListTop = kMasksTop + 27;
constexpr ControlPlace FieldLabelPlace(int fieldTop) {
  return {kInnerLeft, fieldTop + kLabelDrop, kFieldLabelWidth, kLabelHeight};
}
// The user directory's field leaves room for the browse button at its end.
constexpr ControlPlace kUserDirPlace = {kFieldLeft, kUserDirTop,
                                        kFieldRight - kFieldLeft - kBrowseWidth - 2, kFieldHeight};
constexpr ControlPlace kBrowsePlace = {kFieldRight - kBrowseWidth, kUserDirTop, kBrowseWidth,
                                       kFieldHeight};
constexpr ControlPlace kMasksPlace = {kFieldLeft, kMasksTop, kFieldRight - kFieldLeft,
                                      kFieldHeight};
// The ignore list reaches down to 8 pixels above the group's lower edge.
constexpr ControlPlace kIgnoreListPlace = {kFieldLeft, kIgnoreListTop, kFieldRight - kFieldLeft,
                                           kSearchTop + kSearchHeight - 8 - kIgnoreListTop};

// The hot-key line: its label, the field (lined up with the search group's
// fields) and the note after it.
constexpr ControlPlace kHotKeyLabelPlace = FieldLabelPlace(kHotKeyLine);
constexpr ControlPlace kHotKeyFieldPlace = {kFieldLeft, kHotKeyLine, 130, kFieldHeight};
constexpr int kHotKeyNoteLeft = kFieldLeft + 130 + 8;
constexpr ControlPlace kHotKeyNotePlace = {kHotKeyNoteLeft, kHotKeyLine + kLabelDrop,
                                           kFieldRight - kHotKeyNoteLeft, kLabelHeight};

// The About group's two lines.
constexpr ControlPlace kVersionPlace = {kInnerLeft, kAboutTop + 18, kLineWidth, kLabelHeight};
constexpr ControlPlace kAboutLinePlace = {kInnerLeft, kAboutTop + 38, kLineWidth, kLabelHeight};

// The bottom line: the program's icon and the donation link beside it, the
// buttons at the right.
constexpr int kIconSize = 32;
constexpr ControlPlace kDonationIconPlace = {12, kBottomTop + 2, kIconSize, kIconSize};
constexpr ControlPlace kDonationLinkPlace = {52, kBottomTop + 11, 290, kLabelHeight};
constexpr int kButtonTop = kBottomTop + 5, kButtonWidth = 75, kButtonHeight = 25;
constexpr ControlPlace kCancelPlace = {427, kButtonTop, kButtonWidth, kButtonHeight};
constexpr ControlPlace kSavePlace = {508, kButtonTop, kButtonWidth, kButtonHeight};

using enum Option;
using enum OptionGroup;

// Every option, a group at a time in the order people read them: top to
// bottom, left to right. The tab order follows the table.
constexpr OptionRow kOptions[] = {
    {UserStartMenu, &Settings::UserStartMenu, "user_start_menu", Search, "User start menu (*.lnk)",
     kInnerLeft, kRow1, kColumnWidth, "User start menu (*.desktop)"},
    {AllUsersStartMenu, &Settings::AllUsersStartMenu, "all_users_start_menu", Search,
     "All users start menu (*.lnk)", kColumn2, kRow1, kColumnWidth,
     "All users start menu (*.desktop)"},
    {RecentFiles, &Settings::RecentFiles, "recent_files", Search, "Recent files (*.lnk)", kColumn3,
     kRow1, kColumnWidth, "Recent files"},
    {UserDesktop, &Settings::UserDeskTop, "user_desktop", Search, "User desktop (*.lnk)",
     kInnerLeft, kRow2, kColumnWidth, "User desktop (*.desktop)"},
    {AllUsersDesktop, &Settings::AllUsersDeskTop, "all_users_desktop", Search,
     "All users desktop (*.lnk)", kColumn2, kRow2, kColumnWidth, "All users desktop (*.desktop)"},
    {History, &Settings::History, "history", Search, "History (*.url)", kColumn3, kRow2,
     kColumnWidth, nullptr,
     "Not available on Linux: web browsers keep their history in databases of their own, not "
     "in files to index."},
    {Favorites, &Settings::Favorites, "favorites", Search, "Favorites (*.*)", kInnerLeft, kRow3,
     kColumnWidth, "Favorites (bookmarked folders)"},

    {StartWithWindows, &Settings::StartWithWindows, "start_with_windows", Behaviour,
     "Start Wordhopper with windows.", kInnerLeft, LineTop(0), kLineWidth,
     "Start Wordhopper when you log in."},
    {AlwaysScreenCenter, &Settings::AlwaysScreenCenter, "always_screen_center", Behaviour,
     "Start Wordhopper always in the screen center.", kInnerLeft, LineTop(1), kLineWidth},
    {HideToSystemTray, &Settings::HideToSystemTray, "hide_to_system_tray", Behaviour,
     "Hide Wordhopper to the system tray on close.", kInnerLeft, LineTop(2), kLineWidth},
    {HideWhenLaunching, &Settings::HideWhenLaunching, "hide_when_launching", Behaviour,
     "Hide Wordhopper in the system tray when launching an application.", kInnerLeft, LineTop(3),
     kLineWidth},
    {StayOnTop, &Settings::StayOnTop, "stay_on_top", Behaviour,
     "Let Wordhopper stay on top of other windows.", kInnerLeft, LineTop(4), kLineWidth},
    {MessageBoxOnError, &Settings::MessageBoxOnError, "message_box_on_error", Behaviour,
     "Show message box on errors.", kInnerLeft, LineTop(5), kLineWidth},
    {ShowTitleBar, &Settings::ShowTitleBar, "show_title_bar", Behaviour,
     "Show the Wordhopper title bar.", kInnerLeft, LineTop(6), kLineWidth},
    {ShowInfoPanel, &Settings::ShowInfoPanel, "show_info_panel", Behaviour,
     "Show the Wordhopper information panel (restart application to activate). ", kInnerLeft,
     LineTop(7), kLineWidth},
    {ShowStatusBar, &Settings::ShowStatusBar, "show_status_bar", Behaviour,
     "Show the Wordhopper status bar (restart application to activate).", kInnerLeft, LineTop(8),
     kLineWidth},
    {AutoComplete, &Settings::AutoComplete, "auto_complete", Behaviour,
     "Use text completion (show complete word when there is a match on a key word).", kInnerLeft,
     LineTop(9), kLineWidth},
    {ReloadOnPopup, &Settings::ReloadOnPopup, "reload_on_popup", Behaviour,
     "Reload directories on pop-up (not recommended on slow computers or with many items).",
     kInnerLeft, LineTop(10), kLineWidth},
    {LoadUserDirOnPopup, &Settings::LoadUserDirOnPopup, "load_user_dir_on_popup", Behaviour,
     "Reload user defined directory on pop-up (not recommended on slow computers or with many "
     "items).",
     kInnerLeft, LineTop(11), kLineWidth},
    {StartOnOneMatch, &Settings::StartOnOneMatch, "start_on_one_match", Behaviour,
     "Automaticilly start application when keyword maches a single item (not recommended with "
     "many items) .",
     kInnerLeft, LineTop(12), kLineWidth},
    {UseFindDialog, &Settings::UseFindDialog, "use_find_dialog", Behaviour,
     "Show Windows find dialog when a keyword pattern does not match any item.", kInnerLeft,
     LineTop(13), kLineWidth,
     "Open the file manager when a keyword pattern does not match any item."},
};

// An option left out of the table would be neither shown nor saved.
constexpr bool EveryOptionOnce() {
  int seen[std::size(kOptions)] = {};
  for (const OptionRow& row : kOptions) {
    const auto index = static_cast<std::size_t>(row.option);
    if (index >= std::size(kOptions) || seen[index]++ != 0) return false;
  }
  return static_cast<std::size_t>(Option::UseFindDialog) + 1 == std::size(kOptions);
}
static_assert(EveryOptionOnce());

constexpr bool InReadingOrder() {
  for (std::size_t i = 1; i < std::size(kOptions); ++i) {
    const OptionRow& before = kOptions[i - 1];
    const OptionRow& row = kOptions[i];
    if (row.group != before.group) continue;
    if (row.top < before.top || (row.top == before.top && row.left <= before.left)) return false;
  }
  return kOptions[std::size(kOptions) - 1].top < kHotKeyLine;
}
static_assert(InReadingOrder());

constexpr char kUserDirHint[] = "User defined directory to include for key word and item search.";
constexpr char kMasksHint[] =
    "File masks to include in user defined directory search, seperated by spaces.";
constexpr char kHotKeyHint[] =
    "Hot-key to open application when it is hidden in the system tray. Press key combination "
    "to fill field.";

// The fixed labels, the About group's lines and the buttons.
constexpr char kSearchGroup[] = " Search directories for keywords  ";
constexpr char kBehaviourGroup[] = " Program behaviour ";
constexpr char kAboutGroup[] = " About ";
constexpr char kUserDirLabel[] = "User defined directory:";
constexpr char kMasksLabel[] = "File masks to include:";
constexpr char kIgnoreLabel[] = "Ignore key words like:";
constexpr char kHotKeyLabel[] = "Application hot-key:";
// What a screen reader says for the browse button, whose caption is "...".
constexpr char kBrowseName[] = "Browse for the user defined directory";
constexpr char kHotKeyNote[] = "(restart application to activate new hot-key)";
constexpr char kVersionPrefix[] = "Wordhopper version: ";
constexpr char kAboutLine[] = "Type a key word, press ENTER, pick an item, press ENTER.";
constexpr char kDonationLink[] = "This software is freeware, any donations are welcome.";
constexpr char kCancel[] = "Cancel";
constexpr char kSave[] = "Save";
constexpr char kChooserTitle[] = "Select Directory";

}  // namespace wh::settings_layout
