// The settings window's behaviour, free of any window system.
#pragma once

#include <string>

#include "app/settings_view.h"
#include "platform/file_system.h"
#include "platform/version_info.h"

namespace wh {

class Launcher;

class SettingsDialog {
 public:
  SettingsDialog(SettingsView& view, Launcher& launcher, const VersionInfo& versionInfo,
                 const FileSystem& fileSystem, std::string exePath)
      : view_(view),
        launcher_(launcher),
        versionInfo_(versionInfo),
        fileSystem_(fileSystem),
        exePath_(std::move(exePath)) {}

  // Shows the window (the dialog already loaded) and runs OnShow.
  void ShowWindow();
  void OnShow();
  // Hides the window, whatever closed it, and runs OnClose.
  void Close();
  void OnClose();

  // Save: applies completion and the title bar at once, stores the record,
  // writes the file, closes, rebuilds the index. A refused write is shown
  // and leaves the window open.
  void Save();
  // Cancel.
  void Cancel() { Close(); }
  // The donation link, and the program icon beside it.
  void OpenDonationPage();
  // The browse button of the user-directory field.
  void Browse();

  bool IsVisible() const { return view_.IsVisible(); }

 private:
  SettingsView& view_;
  Launcher& launcher_;
  const VersionInfo& versionInfo_;
  const FileSystem& fileSystem_;
  std::string exePath_;
};

}  // namespace wh
