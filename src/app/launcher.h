// The main window's behaviour, free of any window system. It owns the
// index and the settings in use, and shows everything through a MainView.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/key.h"
#include "app/main_view.h"
#include "app/settings_dialog.h"
#include "app/wording.h"
#include "index/item_index.h"
#include "index/loader.h"
#include "platform/collation.h"
#include "platform/file_system.h"
#include "platform/key_names.h"
#include "platform/number_format.h"
#include "platform/shell_folders.h"
#include "platform/shell_requests.h"
#include "platform/startup_entry.h"
#include "platform/system_figures.h"
#include "platform/text_encoding.h"
#include "settings/hot_key_text.h"
#include "settings/program_paths.h"
#include "settings/settings.h"

namespace wh {

// The operating system as the main window uses it. Everything here outlives
// the window.
struct MainPlatform {
  const FileSystem& fileSystem;
  const ShellFolders& shellFolders;
  const NumberFormat& numberFormat;
  const TextEncoding& textEncoding;
  const KeyNames& keyNames;
  const Collation& collation;
  StartupEntryStore& startupEntries;
  ShellRequests& shell;
  const SystemFigures& systemFigures;
  // The running executable's full path.
  std::string exePath;
  // The characters that end a path's directory part ("\\:" on Windows).
  std::string pathDelimiters;
  // What the start-up entry's command adds to the program's name (".exe").
  std::string executableSuffix;
  // The folder of the settings file, with its trailing separator; empty for
  // the executable's own folder (Linux keeps it in the user's configuration).
  // Made at the first write, if missing.
  std::string settingsDir;
  // The user's own folder for the settings file, trailing separator
  // included, for when the executable's folder can't take it; empty: none.
  // Made at the first write, if missing.
  std::string userSettingsDir = {};
  // Whose words the help and the settings window use.
  Wording wording = Wording::Windows;
  const PackagedApps& packagedApps = kNoPackagedApps;
};

// The steps of a start that need no window: the settings file chosen and
// read, and the index loaded on a thread of its own, so that walking the
// sources overlaps the making of the windows. Made before the main window,
// once this copy is known to be the only one; its Start takes it over.
class StartPreparation {
 public:
  explicit StartPreparation(const MainPlatform& platform);

 private:
  friend class Launcher;
  std::string programDir_;
  SettingsFiles settingsFiles_;
  Settings settings_;
  bool settingsUnread_ = false;
  std::unique_ptr<BackgroundLoad> load_;
};

class Launcher : public SettingsOwner {
 public:
  Launcher(MainView& view, MainPlatform platform);

  // Takes the settings read, places the window, brings the start-up entry
  // in line, fits the bands, takes the loaded index, and shows the window
  // when `firstArgument` is the show argument. The load's thread is done
  // when this returns, also when it throws.
  void Start(std::string_view firstArgument, StartPreparation prepared);
  // The same, the preparation made now.
  void Start(std::string_view firstArgument);
  void ClearIndex();

  // Showing the window. Each cause has one entry, and each ends in
  // ShowFromTray, the one way the window comes on screen:
  //   Start            with the show argument, at once;
  //   HotKeyPressed    the system hot key: reloads first when the settings
  //                    ask for it, then shows and takes the keyboard;
  //   OnTrayShow       the tray menu's "Show" and the icon;
  //   OnSecondStart    another copy was started and ended at once.
  // ShowFromTray runs OnFirstShow once a run, when the window first appears.
  void ShowFromTray();
  void OnFirstShow();
  // `showArgument`: the other copy was started with the show argument, which
  // shows a window never shown yet; without it only a window hidden to the
  // tray comes back. Either way the window comes to the front.
  void OnSecondStart(bool showArgument);

  // The close box: true when the close goes on and the program ends; false
  // when the window went to the tray instead.
  bool OnClose();

  // Tray menu "Exit": stores the window's position, then ends the program.
  void OnTrayExit();
  void OnTrayHelp() { ShowHelp(); }
  void OnTrayShow();
  void OnTrayHide() { HideToTray(); }
  void OnTrayReload() { LoadDirectories(true); }

  // The system hot key arrived; it shows the window from wherever it is.
  // A press while the start is under way (a message box of the start lets
  // the window system's messages through) waits for its end, and the window
  // then shows once, however many presses came; a press while an earlier
  // one is still at work is part of that one.
  void HotKeyPressed();
  // The registration was refused.
  void HotKeyFailed();
  // While the settings window is open the hot key is given back, so that it
  // can be pressed into the hot-key field; closing it registers the key of
  // the start-up again.
  void SwitchHotKeyOff();
  void SwitchHotKeyOn();

  // The settings window, once it exists.
  void AttachSettings(SettingsDialog* dialog) { dialog_ = dialog; }
  // Tray menu "Settings": loads the dialog, gives the hot key back, shows
  // the settings window.
  void OnTraySettings();
  void ApplySettings(const Settings& edited) override;
  void OnSettingsClosed() override { SwitchHotKeyOn(); }
  void OpenDonationPage() override;
  void RemoveTitleBar() { view_.SetTitleBarVisible(false); }
  void RestoreTitleBar() { view_.SetTitleBarVisible(true); }

  // Every key pressed in the keyword box, before it takes its own effect.
  void OnKeywordKey(Key key);
  // Every key pressed in the item box, before it takes its own effect.
  void OnItemKey(Key key);
  // A character typed into the keyword box (one whole character; "\b" for
  // BACKSPACE). True when completion used it up.
  bool OnKeywordChar(std::string_view typed);
  void SetAutoComplete(bool on) { autoComplete_ = on; }
  bool AutoCompleteOn() const { return autoComplete_; }

  void SearchItems(const std::string& pattern);
  void ExecuteItem(const std::string& path);
  void RefreshInfoPanel();
  void HideToTray();
  // The program became the active application.
  void ApplicationActivated();

  void LoadDirectories(bool includeRecent);
  void ResetKeywordMode();
  // After a shell request: back to keyword mode and hidden when it opened,
  // else LaunchFailed.
  void Opened(bool opened);
  // Reports a start the shell refused. The window stays as it is, also
  // through hiding and showing, so that the user can try again or mend it.
  void LaunchFailed();
  // Telling the user something. Failures the user can cause or meet go
  // through ReportStatus: the status line, and a message box as well when
  // the settings ask for one. Prompts and figures go to the status line
  // alone, through ShowStatusText. Errors of the program itself (a settings
  // file or start-up entry the system refused) always get a box, through
  // ShowError. Nothing else in the launcher talks to the user.
  void ReportStatus(const std::string& message);
  void ShowStatusText(const std::string& message);
  void ShowHelp();
  void ApplyBandVisibility();
  void ApplyStayOnTop(bool showPending);

  // The general error handler: an error a handler raised, in a message box.
  void ShowError(const std::string& text);

  const Settings& CurrentSettings() const { return settings_; }
  const std::string& ProgramDir() const { return programDir_; }
  const ItemIndex& Index() const { return index_; }

 private:
  // Shows a load's problems, the keyword box's list, and the counts in the
  // status bar.
  void ShowLoad(const LoadReport& report);
  // Start's steps, with the presses of the hot key held back.
  void RunStart(std::string_view firstArgument, StartPreparation prepared);
  // A press of the hot key: reloads first when `reload`, then shows the
  // window and gives it the keyboard. Not again while it runs.
  void RunPress(bool reload);
  // A window mostly off every monitor (its position saved on one since
  // unplugged) goes onto the nearest one; one on screen stays exactly.
  void KeepOnScreen();
  // The full path of the item box's selected item; "" when none is selected.
  std::string SelectedItemPath() const;
  const std::string& SettingsPath() const { return settingsFiles_.write; }
  // Throws SettingsWriteError, also when the file could not be read.
  void WriteSettingsFile(const Settings& settings);
  // The settings file's folder, made if missing; a write fails without it.
  void MakeSettingsFolder() const;
  // The hot key as the user sees it.
  std::string HotKeyTextShown() const;

  MainView& view_;
  MainPlatform platform_;
  std::string programDir_;
  SettingsFiles settingsFiles_;
  // As the file held it, then as the last Save wrote it.
  Settings settings_;
  // The settings file was there but could not be read: the program runs on
  // the defaults and writes nothing over the file, which may hold the
  // user's settings.
  bool settingsUnread_ = false;
  ItemIndex index_;
  // The items of the item box, in its order.
  std::vector<std::uint32_t> itemBoxItems_;
  bool shown_ = false;
  bool autoComplete_ = false;
  // The hot key of the start-up, and whether it is registered now.
  HotKeyCombo hotKey_;
  bool hotKeyRegistered_ = false;
  // The start could not register its key: the user sees "n/a" for it until
  // a Save gives the record a key of the user's choice. Only the start's
  // refusal counts: a later one re-registers the start's key and must not
  // hide a key the user has saved meanwhile.
  bool hotKeyUnavailable_ = false;
  SettingsDialog* dialog_ = nullptr;
  // Start is running; a press of the hot key came meanwhile.
  bool starting_ = false;
  bool pressedWhileStarting_ = false;
  // A press of the hot key is at work.
  bool pressing_ = false;
};

}  // namespace wh
