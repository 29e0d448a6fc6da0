#include "app/launcher.h"

#include <exception>
#include <utility>

#include "app/command_line.h"
#include "app/help.h"
#include "app/info_panel.h"
#include "app/main_layout.h"
#include "app/settings_dialog.h"
#include "app/window_placement.h"
#include "base/text.h"
#include "index/classify.h"
#include "platform/packaged_apps.h"
#include "settings/ini_file.h"
#include "settings/program_paths.h"
#include "settings/settings_file.h"
#include "settings/startup_entry.h"

namespace wh {

Launcher::Launcher(MainView& view, MainPlatform platform)
    : view_(view),
      platform_(std::move(platform)),
      index_(platform_.collation, platform_.pathDelimiters) {}

namespace {

SettingsFiles SettingsFilesOf(const MainPlatform& platform, const std::string& programDir) {
  if (!platform.settingsDir.empty()) {
    const std::string path = SettingsFilePath(platform.settingsDir);
    return {path, path};
  }
  return ChooseSettingsFiles(platform.fileSystem, programDir, platform.userSettingsDir);
}

// Holds a flag up for as long as it lives, also when what it guards throws.
class RaisedFlag {
 public:
  explicit RaisedFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~RaisedFlag() { flag_ = false; }
  RaisedFlag(const RaisedFlag&) = delete;
  RaisedFlag& operator=(const RaisedFlag&) = delete;

 private:
  bool& flag_;
};

}  // namespace

StartPreparation::StartPreparation(const MainPlatform& platform)
    : programDir_(ProgramDirOf(platform.exePath, platform.fileSystem.Separator())) {
  try {
    settingsFiles_ = SettingsFilesOf(platform, programDir_);
    settings_ = ReadSettings(platform.fileSystem, platform.textEncoding, settingsFiles_.read,
                             &settingsUnread_);
  } catch (...) {
    // Whatever stopped the read (most likely memory) says nothing of the
    // file: the program goes on with the defaults, as for a file it can't
    // read, and leaves the file alone.
    settings_ = Settings();
    settingsUnread_ = true;
  }
  load_ = std::make_unique<BackgroundLoad>(true, settings_,
                                           LoadPlatform{platform.fileSystem, platform.shellFolders,
                                                        platform.packagedApps},
                                           platform.collation, platform.pathDelimiters);
}

void Launcher::Start(std::string_view firstArgument) {
  Start(firstArgument, StartPreparation(platform_));
}

void Launcher::Start(std::string_view firstArgument, StartPreparation prepared) {
  pressedWhileStarting_ = false;
  {
    const RaisedFlag starting(starting_);
    RunStart(firstArgument, std::move(prepared));
  }
  // The presses that came during the start ask for one showing, without a
  // reload: the index is as fresh as one would make it.
  if (std::exchange(pressedWhileStarting_, false)) RunPress(false);
}

void Launcher::RunStart(std::string_view firstArgument, StartPreparation prepared) {
  programDir_ = std::move(prepared.programDir_);
  settingsFiles_ = std::move(prepared.settingsFiles_);
  index_.KeywordList.Clear();
  index_.ItemList.Clear();
  index_.MatchList.Clear();
  settings_ = std::move(prepared.settings_);
  settingsUnread_ = prepared.settingsUnread_;

  if (!settings_.AlwaysScreenCenter) {
    view_.PlaceAt(settings_.FormLeft, settings_.FormTop);
    KeepOnScreen();
  }

  // A refused start-up entry is shown, but start-up goes on: nothing that
  // follows depends on the entry, and without the hot key and the index the
  // program would be of no use.
  try {
    SyncStartupEntry(settings_.StartWithWindows,
                     programDir_ + std::string(ProgramName) + platform_.executableSuffix,
                     platform_.startupEntries);
  } catch (const StartupEntryError& error) {
    ShowError(error.what());
  }

  hotKey_ = ParseHotKeyText(settings_.HotKey, platform_.keyNames);
  SwitchHotKeyOn();
  hotKeyUnavailable_ = !hotKeyRegistered_;
  view_.SetTrayHint("Wordhopper (Hot-key: " + HotKeyTextShown() + ")");
  view_.SetShowShortcut(hotKeyUnavailable_ ? "" : FormatHotKeyText(hotKey_, platform_.keyNames));

  ApplyBandVisibility();
  ResetKeywordMode();
  ShowLoad(prepared.load_->Finish(index_));

  if (IsShowArgument(firstArgument)) ShowFromTray();
}

void Launcher::ClearIndex() {
  itemBoxItems_.clear();
  index_.KeywordList.Clear();
  index_.ItemList.Clear();
  index_.MatchList.Clear();
}

void Launcher::OnFirstShow() {
  view_.SetCaption("Wordhopper (Hot-key: " + HotKeyTextShown() + ")");
  if (!settings_.HelpShown) ShowHelp();
  if (!settings_.ShowTitleBar) RemoveTitleBar();
  if (settings_.AutoComplete) SetAutoComplete(true);
  ApplyStayOnTop(true);
  view_.BringToFront();
}

bool Launcher::OnClose() {
  if (!settings_.HelpShown) {
    settings_.HelpShown = true;
    if (!settingsUnread_) WriteSettingsFile(settings_);
  }
  if (dialog_ != nullptr && dialog_->IsVisible()) dialog_->Close();
  if (settings_.HideToSystemTray) {
    view_.HideToTray();
    return false;
  }
  return true;
}

void Launcher::OnTrayShow() {
  // A window already on screen stays there: hiding it to show it again
  // would only make it flicker.
  ApplyStayOnTop(!view_.IsVisible());
  ShowFromTray();
  view_.BringToFront();
}

void Launcher::ShowFromTray() {
  // Checked at each showing: monitors come and go while the program runs.
  KeepOnScreen();
  view_.ShowFromTray();
  if (!shown_) {
    shown_ = true;
    OnFirstShow();
    if (settings_.AlwaysScreenCenter) view_.CentreOnScreen();
  }
  view_.Show();
}

void Launcher::OnSecondStart(bool showArgument) {
  if (showArgument || view_.IsInTray()) ShowFromTray();
  view_.BringToFront();
}

void Launcher::HotKeyPressed() {
  if (starting_) {
    pressedWhileStarting_ = true;
    return;
  }
  RunPress(settings_.ReloadOnPopup);
}

void Launcher::RunPress(bool reload) {
  // A press that comes through a message box of this one (a reload's report,
  // the help of the first showing) would reload and report over again.
  if (pressing_) return;
  const RaisedFlag pressing(pressing_);
  if (reload) LoadDirectories(settings_.LoadUserDirOnPopup);
  ShowFromTray();
  view_.BringToFront();
  ApplyStayOnTop(false);
}

void Launcher::KeepOnScreen() {
  const ScreenRect frame = view_.Frame();
  const ScreenRect placed = PlaceOnMonitors(frame, view_.Monitors());
  if (placed.left != frame.left || placed.top != frame.top) view_.PlaceAt(placed.left, placed.top);
}

void Launcher::HotKeyFailed() { ReportStatus("Unable to assign hot-key."); }

std::string Launcher::HotKeyTextShown() const {
  return hotKeyUnavailable_ ? "n/a" : settings_.HotKey;
}

void Launcher::SwitchHotKeyOff() {
  if (!hotKeyRegistered_) return;
  view_.UnregisterHotKey();
  hotKeyRegistered_ = false;
}

void Launcher::SwitchHotKeyOn() {
  if (hotKeyRegistered_) return;
  // A text that names no key can't be registered; the system would take key
  // 0 for a key of its own.
  hotKeyRegistered_ = hotKey_.key != 0 && view_.RegisterHotKey(hotKey_);
  if (!hotKeyRegistered_) HotKeyFailed();
}

void Launcher::OnTraySettings() {
  if (dialog_ == nullptr) return;
  dialog_->Load(settings_, !hotKeyUnavailable_);
  SwitchHotKeyOff();
  dialog_->ShowWindow();
}

void Launcher::ApplySettings(const Settings& edited) {
  // Written first: settings the file refused would be lost at the next start
  // while the program went on with them.
  WriteSettingsFile(edited);
  const Settings before = std::exchange(settings_, edited);
  hotKeyUnavailable_ = false;
  // The others take effect at their next use, or at the next start.
  if (before.AutoComplete != edited.AutoComplete) SetAutoComplete(edited.AutoComplete);
  if (before.ShowTitleBar != edited.ShowTitleBar) view_.SetTitleBarVisible(edited.ShowTitleBar);
  if (dialog_ != nullptr) dialog_->Close();
  LoadDirectories(true);
}

void Launcher::OpenDonationPage() { ExecuteItem(programDir_ + "donate.html"); }

void Launcher::WriteSettingsFile(const Settings& settings) {
  // A Save over a file that could not be read would replace the user's
  // settings by the defaults shown; refused as the system refuses a write,
  // the settings window stays open and the file is read again next start.
  if (settingsUnread_) throw SettingsWriteError(SettingsPath());
  MakeSettingsFolder();
  WriteSettings(settings, platform_.fileSystem, platform_.textEncoding, settingsFiles_.write,
                settingsFiles_.read);
}

void Launcher::MakeSettingsFolder() const {
  // Not before: a run that writes nothing leaves no empty folder behind.
  platform_.fileSystem.MakeDirectories(
      ProgramDirOf(settingsFiles_.write, platform_.fileSystem.Separator()));
}

void Launcher::OnTrayExit() {
  // The position is worth keeping, but a settings file that can't be written
  // must not keep the user from ending the program.
  if (!settingsUnread_) {
    try {
      const MainView::Point position = view_.Position();
      MakeSettingsFolder();
      SaveFormPosition(position.top, position.left, platform_.fileSystem, platform_.textEncoding,
                       settingsFiles_.write, settingsFiles_.read);
    } catch (const std::exception& error) {
      ShowError(error.what());
    }
  }
  view_.EndMessageLoop();
}

void Launcher::OnKeywordKey(Key key) {
  const std::string typed = view_.KeywordText();
  if (CharCount(typed) > 5 && settings_.ShowInfoPanel) RefreshInfoPanel();

  if (key == Key::Enter) {
    const std::string text = view_.KeywordText();
    switch (ClassifyEnter(text, platform_.fileSystem)) {
      case EnterAction::OpenExplorer:
        Opened(platform_.shell.OpenExplorer(text));
        return;
      case EnterAction::OpenAddress:
        Opened(platform_.shell.OpenAddress(text));
        return;
      case EnterAction::Search:
        SearchItems(text);
        if (index_.MatchList.Count() == 1 && settings_.StartOnOneMatch) {
          ExecuteItem(SelectedItemPath());
        }
        break;
    }
  }
  if (key == Key::Down || key == Key::Up) view_.DropKeywordList();
  if (key == Key::Escape) {
    if (!view_.KeywordText().empty()) {
      ResetKeywordMode();
      ShowStatusText("Type a keyword or press ESC to hide Wordhopper.");
    } else {
      HideToTray();
    }
  }
}

void Launcher::OnItemKey(Key key) {
  if (key == Key::Enter) ExecuteItem(SelectedItemPath());
  if (key == Key::Escape) ResetKeywordMode();
  if (key == Key::Down || key == Key::Up) view_.DropItemList();
}

bool Launcher::OnKeywordChar(std::string_view typed) {
  if (!autoComplete_) return false;
  const CompletionStep step =
      CompleteKeyword(view_.KeywordField(), typed, index_.KeywordList.Words(), platform_.collation);
  if (step.handled) view_.SetKeywordField(step.field, step.entry);
  return step.handled;
}

void Launcher::SearchItems(const std::string& pattern) {
  MatchItems(index_.ItemList, pattern, index_.MatchList);
  if (index_.MatchList.Count() > 0) {
    itemBoxItems_ = index_.MatchList.InItemBoxOrder(index_.ItemList);
    std::vector<std::string> names;
    names.reserve(itemBoxItems_.size());
    for (std::uint32_t item : itemBoxItems_) names.emplace_back(index_.ItemList.Name(item));
    view_.FillItemBox(names);
    view_.SelectFirstItem();
    view_.ShowItemBox();
    view_.DropItemList();
    view_.FocusItemBox();
  } else if (!settings_.UseFindDialog) {
    ReportStatus("No items with pattern \"" + view_.KeywordText() + "\" found.");
  } else {
    platform_.shell.FindInFolder(platform_.shellFolders.ShellFolderPath(KnownFolder::Personal));
    ResetKeywordMode();
    HideToTray();
  }
}

std::string Launcher::SelectedItemPath() const {
  const int entry = view_.SelectedItem();
  if (entry < 0 || static_cast<std::size_t>(entry) >= itemBoxItems_.size()) return {};
  return index_.ItemList.Path(itemBoxItems_[static_cast<std::size_t>(entry)]);
}

void Launcher::ExecuteItem(const std::string& path) {
  bool started = true;
  // A packaged app is no file: only the shell can tell whether it is there.
  // A bookmarked folder's item (its path ends in the separator) opens as
  // the folder; any other item is a file.
  const FileSystem& files = platform_.fileSystem;
  const bool isFolder = !path.empty() && path.back() == files.Separator();
  if (!path.empty() && (IsPackagedAppPath(path) ||
                        (isFolder ? files.DirectoryExists(path) : files.FileExists(path)))) {
    started = platform_.shell.OpenItem(path);
    if (settings_.HideWhenLaunching) HideToTray();
  } else {
    ReportStatus("Execute failed, file not found.");
  }
  if (started) {
    ResetKeywordMode();
  } else {
    LaunchFailed();
  }
}

void Launcher::Opened(bool opened) {
  if (opened) {
    ResetKeywordMode();
    HideToTray();
  } else {
    // The typed text stays, to be mended and tried again.
    LaunchFailed();
  }
}

void Launcher::LaunchFailed() { ReportStatus("Unknown execute error."); }

void Launcher::RefreshInfoPanel() {
  const InfoPanelFigures figures = ComputeInfoPanelFigures(platform_.systemFigures.Memory());
  const std::string separator = platform_.numberFormat.ThousandsSeparator();
  view_.SetGaugeProgress(figures.GaugeProgress());
  if (settings_.ShowInfoPanel) {
    view_.SetPageFile(PageFileText(figures, separator));
    view_.SetProcessCount(ProcessCountText(platform_.systemFigures.ProcessCount()));
    view_.SetGaugeLow(figures.LowOnMemory());
  }
  if (settings_.ShowTitleBar) ShowStatusText(MemoryStatusText(figures, separator));
}

void Launcher::HideToTray() { view_.HideToTray(); }

void Launcher::ApplicationActivated() {
  if (settings_.ShowInfoPanel || settings_.ShowTitleBar) RefreshInfoPanel();
  if (!settings_.HelpShown) ShowStatusText(main_layout::kKeywordPrompt);
}

void Launcher::LoadDirectories(bool includeRecent) {
  ResetKeywordMode();
  index_.MatchList.Clear();
  // Made aside and taken whole: a walk that the file system breaks off leaves
  // the index as it was, and the keyword list and counts shown with it.
  ItemIndex loaded(platform_.collation, platform_.pathDelimiters);
  const LoadReport report = wh::LoadDirectories(
      includeRecent, settings_, loaded,
      LoadPlatform{platform_.fileSystem, platform_.shellFolders, platform_.packagedApps});
  index_ = std::move(loaded);
  ShowLoad(report);
}

void Launcher::ShowLoad(const LoadReport& report) {
  for (const std::string& problem : report.problems) ReportStatus(problem);
  view_.SetKeywordItems(index_.KeywordList.Words());
  if (settings_.ShowStatusBar) {
    const std::string separator = platform_.numberFormat.ThousandsSeparator();
    view_.SetStatusPanel(StatusPanel::Keywords,
                         "Keywords: " + FormatCount(report.keywordCount, separator));
    view_.SetStatusPanel(StatusPanel::Items, "Items: " + FormatCount(report.itemCount, separator));
  }
}

void Launcher::ResetKeywordMode() {
  itemBoxItems_.clear();
  view_.ClearItemBox();
  view_.ShowKeywordBox();
  view_.SetKeywordText("");
  if (view_.IsVisible()) view_.FocusKeywordBox();
}

void Launcher::ReportStatus(const std::string& message) {
  if (settings_.ShowStatusBar) ShowStatusText(message);
  if (settings_.MessageBoxOnError) view_.ShowMessage(message);
}

void Launcher::ShowStatusText(const std::string& message) {
  if (settings_.ShowStatusBar) view_.SetStatusPanel(StatusPanel::Status, message);
}

void Launcher::ShowHelp() { view_.ShowMessage(HelpText(platform_.wording)); }

void Launcher::ApplyBandVisibility() {
  view_.SetBandsVisible(settings_.ShowInfoPanel, settings_.ShowStatusBar);
}

void Launcher::ApplyStayOnTop(bool showPending) {
  view_.SetTopmost(settings_.StayOnTop, showPending);
}

void Launcher::ShowError(const std::string& text) { view_.ShowMessage(text); }

}  // namespace wh
