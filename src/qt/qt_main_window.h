// The main window on a Linux desktop: the information panel, the keyword
// band with its two boxes sharing one place, and the status bar; with the
// tray icon and the global hot key. It only turns events into Launcher calls.
#pragma once

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QKeyEvent>
#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "app/key.h"
#include "app/main_view.h"
#include "qt/portal_hot_key.h"
#include "qt/qt_tray.h"
#include "qt/x11_hot_key.h"

namespace wh {

class Launcher;

// The key a Qt key is to the boxes' handlers.
Key QtKeyToKey(int qtKey);

class QtMainWindow : public QWidget, public MainView {
  Q_OBJECT

 public:
  explicit QtMainWindow(QWidget* parent = nullptr);
  ~QtMainWindow() override;

  // Events go to `launcher` from now on.
  void Attach(Launcher* launcher) { launcher_ = launcher; }

  void SetCaption(const std::string& text) override;
  void PlaceAt(int left, int top) override;
  Point Position() const override;
  ScreenRect Frame() const override;
  std::vector<Monitor> Monitors() const override;
  void CentreOnScreen() override;
  void SetBandsVisible(bool infoPanel, bool statusBar) override;
  void SetTopmost(bool topmost, bool showPending) override;
  void Show() override;
  bool IsVisible() const override;
  bool IsInTray() const override { return hiddenToTray_; }
  void HideToTray() override;
  void ShowFromTray() override;
  void SetTitleBarVisible(bool visible) override;
  bool RegisterHotKey(const HotKeyCombo& hotKey) override;
  void UnregisterHotKey() override;
  void SetTrayHint(const std::string& hint) override;
  void SetShowShortcut(const std::string& keyText) override;
  void BringToFront() override;
  void EndMessageLoop() override;
  void ShowMessage(const std::string& text) override;
  void SetKeywordItems(const std::vector<std::string>& words) override;
  void ClearItemBox() override;
  void ShowKeywordBox() override;
  void SetKeywordText(const std::string& text) override;
  void FocusKeywordBox() override;
  void SetStatusPanel(StatusPanel panel, const std::string& text) override;
  std::string KeywordText() const override;
  EditState KeywordField() const override;
  void SetKeywordField(const EditState& field, int entry) override;
  void DropKeywordList() override;
  void FillItemBox(const std::vector<std::string>& names) override;
  void SelectFirstItem() override;
  void ShowItemBox() override;
  void DropItemList() override;
  void FocusItemBox() override;
  int SelectedItem() const override;
  void SetProcessCount(const std::string& text) override;
  void SetPageFile(const std::string& text) override;
  void SetGaugeProgress(int progress) override;
  void SetGaugeLow(bool low) override;

  // The controls, for the program's start and its tests.
  QComboBox* KeywordBox() const { return keywordBox_; }
  QComboBox* ItemBox() const { return itemBox_; }
  QString StatusPanelText(StatusPanel panel) const;
  QProgressBar* Gauge() const { return gauge_; }
  QLabel* ProcessCountLabel() const { return processCount_; }
  QLabel* PageFileLabel() const { return pageFile_; }
  QWidget* InfoPanel() const { return infoPanel_; }
  QWidget* StatusBar() const { return statusBar_; }
  QtTray& Tray() { return tray_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  static bool IsContextMenuKey(const QKeyEvent& key);
  // The boxes' context menu, opened from the keyboard: below the caret, or
  // below the item box while it shows.
  void PopUpMenuAtCaret();

 private:
  // The bands, made once, top to bottom.
  QWidget* CreateInfoPanel();
  QWidget* CreateKeywordBand();
  QWidget* CreateStatusBar();
  // The boxes and the parts of them whose keys eventFilter takes.
  std::array<QWidget*, 5> KeyWatched() const;
  // The boxes' keys go to eventFilter, their context menu is the tray menu.
  void WatchBoxes();
  // The launcher hears when the program becomes the active application.
  void WatchApplicationActivation();
  // Shows the chosen bands and fits the window around them.
  void LayOut();
  void OnTrayCommand(main_layout::TrayCommand command);
  // A key for the keyword box (`fromList`: pressed in its dropped list);
  // true when it is used up.
  bool KeywordBoxKey(QKeyEvent* key, bool fromList);
  bool ItemBoxKey(QKeyEvent* key, bool fromList);
  void RememberFocus();
  void HotKeyPressed();
  void FocusShownBox();

  Launcher* launcher_ = nullptr;
  QWidget* infoPanel_ = nullptr;
  QLabel* processCount_ = nullptr;
  QLabel* pageFile_ = nullptr;
  QProgressBar* gauge_ = nullptr;
  QWidget* keywordBand_ = nullptr;
  QComboBox* keywordBox_ = nullptr;
  QComboBox* itemBox_ = nullptr;
  QWidget* statusBar_ = nullptr;
  QLabel* statusPanels_[3] = {};
  QtTray tray_;
  X11HotKey hotKey_;
  PortalHotKey portalHotKey_;
  QPointer<QWidget> lastFocus_;
  bool hiddenToTray_ = false;
  // A press of the hot key waits to be handled; those after it go with it.
  bool pressWaiting_ = false;
  bool infoPanelVisible_ = true;
  bool statusBarVisible_ = true;
};

}  // namespace wh
