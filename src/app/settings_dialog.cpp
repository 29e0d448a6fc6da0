#include "app/settings_dialog.h"

#include "app/help.h"
#include "app/settings_layout.h"
#include "settings/ini_file.h"

namespace wh {

namespace {

// The settings file keeps one line per key: line breaks typed into the
// ignore list become blanks.
std::string JoinLines(const std::string& text) {
  std::string joined;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      joined += ' ';
    } else {
      joined += text[i];
    }
  }
  return joined;
}

}  // namespace

void SettingsDialog::Load(const Settings& saved, bool hotKeyAvailable) {
  loaded_ = saved;
  view_.SetHotKey(hotKeyAvailable ? ParseHotKeyText(saved.HotKey, keyNames_) : HotKeyCombo{});
  for (const settings_layout::OptionRow& row : settings_layout::kOptions) {
    view_.SetChecked(row.option, saved.*row.field);
  }
  view_.SetIgnoreList(saved.IgnoreList);
  view_.SetUserDir(saved.UserDir);
  view_.SetMasks(saved.UserMasks);
}

Settings SettingsDialog::Edited(const Settings& saved) const {
  Settings edited = saved;
  // The field's typing rules drop a lone Shift as the key is typed; a key
  // loaded from the file keeps its modifiers.
  edited.HotKey = FormatHotKeyText(view_.HotKey(), keyNames_);
  for (const settings_layout::OptionRow& row : settings_layout::kOptions) {
    edited.*row.field = view_.Checked(row.option);
  }
  edited.IgnoreList = JoinLines(view_.IgnoreList());
  edited.UserDir = view_.UserDir();
  edited.UserMasks = view_.Masks();
  return edited;
}

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

void SettingsDialog::OnClose() { owner_.OnSettingsClosed(); }

void SettingsDialog::Save() {
  try {
    owner_.ApplySettings(Edited(loaded_));
  } catch (const SettingsWriteError& error) {
    view_.ShowMessage(error.what());
  }
}

void SettingsDialog::OpenDonationPage() {
  owner_.OpenDonationPage();
  Close();
}

void SettingsDialog::Browse() {
  std::string start = view_.UserDir();
  if (!start.empty() && !fileSystem_.DirectoryExists(start)) start.clear();
  if (std::optional<std::string> chosen = view_.ChooseDirectory(start)) view_.SetUserDir(*chosen);
}

}  // namespace wh
