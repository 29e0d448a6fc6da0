// TForm2: the settings window's behaviour, free of any window system.
#pragma once

#include <string>

#include "app/settings_view.h"
#include "platform/file_system.h"
#include "platform/version_info.h"

namespace wh {

class TForm1;

class TForm2 {
 public:
  TForm2(SettingsView& view, TForm1& form1, const VersionInfo& versionInfo,
         const FileSystem& fileSystem, std::string exePath)
      : view_(view),
        form1_(form1),
        versionInfo_(versionInfo),
        fileSystem_(fileSystem),
        exePath_(std::move(exePath)) {}

  // Shows the window (the dialog already loaded) and runs FormShow.
  void ShowWindow();
  void FormShow();
  // Hides the window, whatever closed it, and runs FormClose.
  void Close();
  void FormClose();

  // Save: applies completion and the title bar at once, stores the record,
  // writes the file, closes, rebuilds the index. A refused write is shown
  // and leaves the window open.
  void Button1Click();
  // Cancel.
  void Button2Click() { Close(); }
  // The donation link (Image1 and Label8).
  void Image1Click();
  // The browse button of the user-directory field.
  void BrowseClick();

  bool IsVisible() const { return view_.IsVisible(); }

 private:
  SettingsView& view_;
  TForm1& form1_;
  const VersionInfo& versionInfo_;
  const FileSystem& fileSystem_;
  std::string exePath_;
};

}  // namespace wh
