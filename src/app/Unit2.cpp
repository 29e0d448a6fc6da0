#include "app/Unit2.h"

#include <exception>

#include "app/Unit1.h"
#include "app/help.h"

namespace wh {

void TForm2::ShowWindow() {
  FormShow();
  view_.Show();
}

void TForm2::FormShow() {
  view_.SetVersionLabel("Wordhopper version: " + GetVersionText(versionInfo_, exePath_));
}

void TForm2::Close() {
  view_.Hide();
  FormClose();
}

void TForm2::FormClose() { form1_.SwitchHotKeyOn(); }

void TForm2::Button1Click() {
  const TIniRec& settings = form1_.Settings();
  const bool autoComplete = view_.Checked(SettingsCheckBox::CheckBox18);
  if (!settings.AutoComplete && autoComplete) form1_.SetAutoComplete(true);
  if (settings.AutoComplete && !autoComplete) form1_.SetAutoComplete(false);
  const bool titleBar = view_.Checked(SettingsCheckBox::CheckBox13);
  if (!settings.ShowTitleBar && titleBar) form1_.RestoreTitleBar();
  if (settings.ShowTitleBar && !titleBar) form1_.RemoveTitleBar();
  form1_.DialogToSettings();
  try {
    form1_.WriteSettingsFile();
  } catch (const std::exception& error) {
    view_.ShowMessage(error.what());
    return;
  }
  Close();
  form1_.LoadDirectories(true);
}

void TForm2::Image1Click() {
  form1_.ExecuteItem(form1_.ProgramDir() + "donate.html");
  Close();
}

void TForm2::BrowseClick() {
  std::string start = view_.UserDir();
  if (!start.empty() && !fileSystem_.DirectoryExists(start)) start.clear();
  if (std::optional<std::string> chosen = view_.ChooseDirectory(start)) view_.SetUserDir(*chosen);
}

}  // namespace wh
