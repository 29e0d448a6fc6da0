// What the settings window's behaviour asks of the window on screen. The
// Win32 window implements it with real controls; tests use a recording fake.
#pragma once

#include <optional>
#include <string>

#include "app/option.h"
#include "settings/hot_key_text.h"

namespace wh {

class SettingsView {
 public:
  virtual ~SettingsView() = default;

  // The check box of `option`.
  virtual void SetChecked(Option option, bool checked) = 0;
  virtual bool Checked(Option option) const = 0;
  // The user-directory field.
  virtual void SetUserDir(const std::string& text) = 0;
  virtual std::string UserDir() const = 0;
  // The file masks.
  virtual void SetMasks(const std::string& text) = 0;
  virtual std::string Masks() const = 0;
  // The ignore list, line breaks as typed.
  virtual void SetIgnoreList(const std::string& text) = 0;
  virtual std::string IgnoreList() const = 0;
  // The hot-key field.
  virtual void SetHotKey(const HotKeyCombo& hotKey) = 0;
  virtual HotKeyCombo HotKey() const = 0;
  // The version line of the About group.
  virtual void SetVersionLabel(const std::string& text) = 0;

  // Shows the window in front of the others, the user-directory field
  // focused.
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual bool IsVisible() const = 0;
  // A modal message box titled "Wordhopper" over the settings window.
  virtual void ShowMessage(const std::string& text) = 0;
  // The directory chooser titled "Select Directory", opened at `start` (or
  // at the root of the current drive when `start` is empty or no
  // directory). The chosen path, or nullopt when the user cancelled.
  virtual std::optional<std::string> ChooseDirectory(const std::string& start) = 0;
};

}  // namespace wh
