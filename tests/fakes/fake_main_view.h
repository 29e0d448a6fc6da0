// A main window that records what the behaviour asked of it, in order.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/main_view.h"

namespace wh::testing {

class FakeMainView : public MainView {
 public:
  void SetCaption(const std::string& text) override {
    caption = text;
    events.push_back("caption " + text);
  }
  void PlaceAt(int left, int top) override {
    position = {left, top};
    events.push_back("place " + std::to_string(left) + "," + std::to_string(top));
  }
  Point Position() const override { return position; }
  ScreenRect Frame() const override {
    return {position.left, position.top, position.left + width, position.top + height};
  }
  std::vector<Monitor> Monitors() const override { return monitors; }
  void CentreOnScreen() override { events.push_back("centre"); }
  void SetBandsVisible(bool infoPanel, bool statusBar) override {
    events.push_back(std::string("bands ") + (infoPanel ? "info" : "-") + "," +
                     (statusBar ? "status" : "-"));
  }
  void SetTopmost(bool topmost, bool showPending) override {
    events.push_back(std::string(topmost ? "topmost" : "normal") +
                     (showPending ? " pending" : " shown"));
  }
  void Show() override {
    visible = true;
    shownOnce = true;
    events.push_back("show");
  }
  bool IsVisible() const override { return visible; }
  bool IsInTray() const override { return !visible && shownOnce; }
  void HideToTray() override {
    visible = false;
    events.push_back("hide");
  }
  void ShowFromTray() override {
    if (shownOnce) visible = true;
    events.push_back("from tray");
  }
  void SetTitleBarVisible(bool on) override {
    titleBar = on;
    events.push_back(on ? "title bar" : "no title bar");
  }
  bool RegisterHotKey(const HotKeyCombo& hotKey) override {
    const bool accepted = hotKey.key != 0 && !refuseHotKey;
    events.push_back("register " + std::to_string(nextHotKeyId++) + (accepted ? "" : " refused"));
    if (accepted) registered = hotKey;
    return accepted;
  }
  void UnregisterHotKey() override {
    registered.reset();
    events.push_back("unregister");
  }
  void SetTrayHint(const std::string& hint) override { trayHint = hint; }
  void SetShowShortcut(const std::string& keyText) override { showShortcut = keyText; }
  void BringToFront() override { events.push_back("front"); }
  void EndMessageLoop() override { events.push_back("quit"); }
  void ShowMessage(const std::string& text) override {
    messages.push_back(text);
    events.push_back("message");
    // What comes in while the box is up.
    if (duringMessage) duringMessage();
  }
  void SetKeywordItems(const std::vector<std::string>& words) override {
    keywordItems = words;
    events.push_back("keywords");
  }
  void ClearItemBox() override {
    itemBox.clear();
    itemIndex = -1;
    events.push_back("clear items");
  }
  void ShowKeywordBox() override {
    itemMode = false;
    events.push_back("keyword box");
  }
  void SetKeywordText(const std::string& text) override {
    keywordText = text;
    selStart = selEnd = 0;
    keywordEntry = -1;
    events.push_back("text '" + text + "'");
  }
  void FocusKeywordBox() override { events.push_back("focus keyword"); }
  void SetStatusPanel(StatusPanel panel, const std::string& text) override { panels[panel] = text; }

  std::string KeywordText() const override { return keywordText; }
  EditState KeywordField() const override { return {keywordText, selStart, selEnd}; }
  void SetKeywordField(const EditState& field, int entry) override {
    keywordText = field.text;
    selStart = field.selStart;
    selEnd = field.selEnd;
    keywordEntry = entry;
  }
  void DropKeywordList() override { events.push_back("drop keywords"); }
  void FillItemBox(const std::vector<std::string>& names) override {
    itemBox = names;
    itemIndex = -1;
    events.push_back("fill items");
  }
  void SelectFirstItem() override {
    itemIndex = itemBox.empty() ? -1 : 0;
    events.push_back("select first");
  }
  void ShowItemBox() override {
    itemMode = true;
    events.push_back("item box");
  }
  void DropItemList() override { events.push_back("drop items"); }
  void FocusItemBox() override { events.push_back("focus items"); }
  int SelectedItem() const override { return itemIndex; }
  // The selected entry's text, or "".
  std::string ItemText() const {
    return itemIndex < 0 ? std::string() : itemBox[static_cast<std::size_t>(itemIndex)];
  }
  void SetProcessCount(const std::string& text) override { processCount = text; }
  void SetPageFile(const std::string& text) override { pageFile = text; }
  void SetGaugeProgress(int progress) override { gauge = progress; }
  void SetGaugeLow(bool low) override { gaugeLow = low; }

  std::vector<std::string> events;
  std::vector<std::string> messages;
  std::vector<std::string> keywordItems;
  std::map<StatusPanel, std::string> panels;
  std::string caption;
  std::string keywordText;
  std::size_t selStart = 0, selEnd = 0;
  int keywordEntry = -1;
  std::vector<std::string> itemBox;
  int itemIndex = -1;
  bool itemMode = false;
  std::string processCount, pageFile;
  int gauge = 0;
  bool gaugeLow = false;
  Point position;
  int width = 471, height = 109;
  // One 1920 x 1080 screen, the task bar at the bottom.
  std::vector<Monitor> monitors = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}}};
  std::function<void()> duringMessage;
  bool visible = false;
  bool shownOnce = false;
  bool titleBar = true;
  bool refuseHotKey = false;
  int nextHotKeyId = 0;
  std::optional<HotKeyCombo> registered;
  std::string trayHint, showShortcut;
};

}  // namespace wh::testing
