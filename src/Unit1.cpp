#include "Unit1.h"

#include <exception>

#include "command_line.h"
#include "help.h"
#include "settings/program_paths.h"
#include "settings/settings_file.h"
#include "settings/startup_entry.h"

namespace wh {

TForm1::TForm1(MainView& view, MainPlatform platform)
    : view_(view),
      platform_(std::move(platform)),
      index_(platform_.collation, platform_.pathDelimiters) {}

std::string TForm1::SettingsPath() const { return SettingsFilePath(programDir_); }

void TForm1::FormCreate(std::string_view firstArgument) {
  programDir_ = ProgramDirOf(platform_.exePath, platform_.fileSystem.Separator());
  index_.KeywordList.Clear();
  index_.ItemList.Clear();
  index_.MatchList.Clear();
  settings_ = ReadSettings(platform_.fileSystem, platform_.textEncoding, SettingsPath());
  storedHotKeyText_ = settings_.HotKey;

  if (!settings_.AlwaysScreenCenter) view_.PlaceAt(settings_.FormLeft, settings_.FormTop);

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

  ApplyBandVisibility();
  LoadDirectories(true);

  if (IsShowArgument(firstArgument)) ShowMainWindow();
}

void TForm1::FormDestroy() {
  index_.KeywordList.Clear();
  index_.ItemList.Clear();
  index_.MatchList.Clear();
}

void TForm1::ShowMainWindow() {
  if (!shown_) {
    shown_ = true;
    FormShow();
    if (settings_.AlwaysScreenCenter) view_.CentreOnScreen();
  }
  view_.Show();
}

void TForm1::FormShow() {
  view_.SetCaption("Wordhopper (Hot-key: " + settings_.HotKey + ")");
  if (!settings_.FirstShow) ShowHelp();
  ApplyStayOnTop(true);
  view_.BringToFront();
}

bool TForm1::FormClose() {
  if (!settings_.FirstShow) {
    settings_.FirstShow = true;
    WriteSettings(settings_, storedHotKeyText_, platform_.fileSystem, platform_.textEncoding,
                  SettingsPath());
  }
  if (settings_.HideToSystemTray) {
    view_.HideToTray();
    return false;
  }
  return true;
}

void TForm1::Exit1Click() {
  // The position is worth keeping, but a settings file that can't be written
  // must not keep the user from ending the program.
  try {
    const MainView::Point position = view_.Position();
    SaveFormPosition(position.top, position.left, platform_.fileSystem, platform_.textEncoding,
                     SettingsPath());
  } catch (const std::exception& error) {
    ShowError(error.what());
  }
  view_.EndMessageLoop();
}

void TForm1::LoadDirectories(bool includeRecent) {
  const LoadPlatform load{platform_.fileSystem, platform_.shellFolders, platform_.numberFormat};
  wh::LoadDirectories(includeRecent, settings_, index_, *this, load);
}

void TForm1::ResetKeywordMode() {
  view_.ClearItemBox();
  view_.ShowKeywordBox();
  view_.SetKeywordText("");
  if (view_.IsVisible()) view_.FocusKeywordBox();
}

void TForm1::ReportStatus(const std::string& message) {
  if (settings_.ShowStatusBar) ShowStatusText(message);
  if (settings_.MessageBoxOnError) view_.ShowMessage(message);
}

void TForm1::ShowStatusText(const std::string& message) {
  if (settings_.ShowStatusBar) view_.SetStatusPanel(0, message);
}

void TForm1::ShowHelp() { view_.ShowMessage(HelpText()); }

void TForm1::ApplyBandVisibility() {
  view_.SetBandsVisible(settings_.ShowInfoPanel, settings_.ShowStatusBar);
}

void TForm1::ApplyStayOnTop(bool showPending) { view_.SetTopmost(settings_.StayOnTop, showPending); }

void TForm1::ShowError(const std::string& text) { view_.ShowMessage(text); }

void TForm1::SetKeywordItems(const std::vector<std::string>& words) {
  view_.SetKeywordItems(words);
}

void TForm1::SetStatusPanel(int panel, const std::string& text) {
  view_.SetStatusPanel(panel, text);
}

}  // namespace wh
