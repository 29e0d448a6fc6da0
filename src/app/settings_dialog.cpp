#include "app/settings_dialog.h"

#include <exception>

#include "app/help.h"
#include "app/launcher.h"

namespace wh {

void SettingsDialog::ShowWindow() {
  OnShow();
  view_.Show();
}

void SettingsDialog::OnShow() {
  view_.SetVersionLabel("Wordhopper version: " + GetVersionText(versionInfo_, exePath_));
}

void SettingsDialog::Close() {
  view_.Hide();
  OnClose();
}

void SettingsDialog::OnClose() { launcher_.SwitchHotKeyOn(); }

void SettingsDialog::Save() {
  const Settings& settings = launcher_.CurrentSettings();
  const bool autoComplete = view_.Checked(Option::AutoComplete);
  if (!settings.AutoComplete && autoComplete) launcher_.SetAutoComplete(true);
  if (settings.AutoComplete && !autoComplete) launcher_.SetAutoComplete(false);
  const bool titleBar = view_.Checked(Option::ShowTitleBar);
  if (!settings.ShowTitleBar && titleBar) launcher_.RestoreTitleBar();
  if (settings.ShowTitleBar && !titleBar) launcher_.RemoveTitleBar();
  launcher_.DialogToSettings();
  try {
    launcher_.WriteSettingsFile();
  } catch (const std::exception& error) {
    view_.ShowMessage(error.what());
    return;
  }
  Close();
  launcher_.LoadDirectories(true);
}

void SettingsDialog::OpenDonationPage() {
  launcher_.ExecuteItem(launcher_.ProgramDir() + "donate.html");
  Close();
}

void SettingsDialog::Browse() {
  std::string start = view_.UserDir();
  if (!start.empty() && !fileSystem_.DirectoryExists(start)) start.clear();
  if (std::optional<std::string> chosen = view_.ChooseDirectory(start)) view_.SetUserDir(*chosen);
}

}  // namespace wh
