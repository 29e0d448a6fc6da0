// A settings window that holds its controls' values in memory.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/settings_view.h"

namespace wh::testing {

class FakeSettingsView : public SettingsView {
 public:
  void SetChecked(Option option, bool checked) override { boxes[option] = checked; }
  bool Checked(Option option) const override {
    auto found = boxes.find(option);
    return found != boxes.end() && found->second;
  }
  void SetUserDir(const std::string& text) override { userDir = text; }
  std::string UserDir() const override { return userDir; }
  void SetMasks(const std::string& text) override { masks = text; }
  std::string Masks() const override { return masks; }
  void SetIgnoreList(const std::string& text) override { ignoreList = text; }
  std::string IgnoreList() const override { return ignoreList; }
  void SetHotKey(const HotKeyCombo& combo) override { hotKey = combo; }
  HotKeyCombo HotKey() const override { return hotKey; }
  void SetVersionLabel(const std::string& text) override { versionLabel = text; }
  void Show() override { visible = true; }
  void Hide() override { visible = false; }
  bool IsVisible() const override { return visible; }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  std::optional<std::string> ChooseDirectory(const std::string& start) override {
    chooserStarts.push_back(start);
    return chosen;
  }

  std::map<Option, bool> boxes;
  std::string userDir, masks, ignoreList, versionLabel;
  HotKeyCombo hotKey{115};  // F4, as the field starts out
  bool visible = false;
  std::vector<std::string> messages;
  std::vector<std::string> chooserStarts;
  std::optional<std::string> chosen;
};

}  // namespace wh::testing
