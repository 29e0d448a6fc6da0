// The settings window's behaviour, free of any window system.
#pragma once

#include <string>

#include "app/settings_view.h"
#include "platform/file_system.h"
#include "platform/key_names.h"
#include "platform/version_info.h"
#include "settings/settings.h"

namespace wh {

// What the settings window asks of the program it belongs to (the
// launcher). The window edits a copy; only Save hands it over.
class SettingsOwner {
 public:
  virtual ~SettingsOwner() = default;

  // Save: writes `edited` to the settings file; only when the file took it,
  // makes it the settings in use, applies what takes effect at once, closes
  // the settings window and rebuilds the index. Throws SettingsWriteError
  // with nothing changed.
  virtual void ApplySettings(const Settings& edited) = 0;
  // The window closed, whatever closed it.
  virtual void OnSettingsClosed() = 0;
  // The donation link: opens the page as a launched item is opened.
  virtual void OpenDonationPage() = 0;
};

class SettingsDialog {
 public:
  SettingsDialog(SettingsView& view, SettingsOwner& owner, const VersionInfo& versionInfo,
                 const FileSystem& fileSystem, const KeyNames& keyNames, std::string exePath)
      : view_(view),
        owner_(owner),
        versionInfo_(versionInfo),
        fileSystem_(fileSystem),
        keyNames_(keyNames),
        exePath_(std::move(exePath)) {}

  // Fills the controls from `saved`, dropping any edits left from the last
  // opening. Without `hotKeyAvailable` the hot-key field is empty: the key
  // the start could not register is shown as none.
  void Load(const Settings& saved, bool hotKeyAvailable);
  // Shows the window (the dialog already loaded) and runs OnShow.
  void ShowWindow();
  void OnShow();
  // Hides the window, whatever closed it, and runs OnClose.
  void Close();
  void OnClose();

  // Save: hands the edited settings to the owner. A refused write is shown
  // and leaves the window open with its edits.
  void Save();
  // Cancel.
  void Cancel() { Close(); }
  // The donation link, and the program icon beside it.
  void OpenDonationPage();
  // The browse button of the user-directory field.
  void Browse();

  bool IsVisible() const { return view_.IsVisible(); }

 private:
  // The settings as the controls hold them; `saved` gives what the window
  // does not edit.
  Settings Edited(const Settings& saved) const;

  SettingsView& view_;
  SettingsOwner& owner_;
  const VersionInfo& versionInfo_;
  const FileSystem& fileSystem_;
  const KeyNames& keyNames_;
  std::string exePath_;
  // What the last Load filled the controls from.
  Settings loaded_;
};

}  // namespace wh
