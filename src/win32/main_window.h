// The Win32 windows of the program: the invisible application window that
// carries the task-bar button, and the main window with its three bands.
// Window procedures only turn messages into Launcher calls.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_layout.h"
#include "app/main_view.h"
#include "app/panel_layout.h"
#include "win32/tray_icon.h"
#include "win32/window_base.h"

namespace wh {

class Launcher;

// The program's owner window: zero-sized, titled "Wordhopper", never drawn.
// Its task-bar button is the program's; minimising it takes the main window
// along, restoring it brings the main window back.
class ApplicationWindow : public WindowBase {
 public:
  ApplicationWindow();
  ~ApplicationWindow() override;

  // Runs instead of minimising the window (from its task-bar button).
  void OnMinimize(std::function<void()> handler) { onMinimize_ = std::move(handler); }
  // Runs when the window is restored from minimised.
  void OnRestore(std::function<void()> handler) { onRestore_ = std::move(handler); }
  // Runs when the window is told to close (from its task-bar button).
  void OnClose(std::function<void()> handler) { onClose_ = std::move(handler); }

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  std::function<void()> onMinimize_;
  std::function<void()> onRestore_;
  std::function<void()> onClose_;
};

class MainWindow : public WindowBase, public MainView {
 public:
  explicit MainWindow(const ApplicationWindow& application);
  ~MainWindow() override;

  // Messages go to `launcher` from now on.
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
  // Shows the window again if it was sent to the tray.
  void ReturnFromTray();
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

 private:
  // A box (or the keyword box's edit field) whose messages pass through
  // BoxProc first: keys for the handlers, mouse messages for the tooltips.
  struct BoxHook {
    MainWindow* self = nullptr;
    WNDPROC original = nullptr;
    int id = 0;  // kKeywordBox for the edit field, kItemBox, 0: tooltips only
  };
  void HookBox(BoxHook& hook, HWND box, int id);
  static LRESULT CALLBACK BoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT OnBoxMessage(const BoxHook& hook, HWND box, UINT message, WPARAM wParam, LPARAM lParam);
  // Mouse messages let the tooltips know where the pointer is.
  void RelayToTooltips(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
  void PopUpTrayMenu();
  // The menu key or Shift+F10 in a box: the same menu, below the caret (the
  // item box has none: below the box).
  static bool IsContextMenuKey(WPARAM virtualKey);
  void PopUpMenuAtCaret(HWND box);
  // The handler sees a key pressed in a box first, held Alt or not (a key
  // with Alt comes as a system key); the box then gives it its usual effect.
  // False when the handler has ended the box.
  bool OnBoxKey(int boxId, HWND box, WPARAM virtualKey);
  // A character typed into the keyword box goes to the handler; one that
  // arrives as two surrogate halves goes as one character. What the handler
  // does not use up goes on to the box's `original` window procedure.
  LRESULT OnKeywordBoxChar(WNDPROC original, HWND box, WPARAM wParam, LPARAM lParam);
  // The edit field inside the keyword box.
  HWND KeywordEdit() const;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnCreate();
  void OnPaint();
  void OnClose();
  void OnActivate(WPARAM wParam);
  void OnMenuCommand(main_layout::TrayCommand command);
  void AddTooltips();
  void MakeFonts();
  // The status bar's panels, scaled.
  void SetStatusParts();
  // At another DPI: new fonts, the bands, the panel and the tray icon.
  void OnRescaled() override;
  // Moves the bands to their places and fits the window around them.
  void LayOut();
  // Sizes the information panel's labels to their present texts.
  void PlacePanel();

  const ApplicationWindow& application_;
  std::unique_ptr<TrayIcon> tray_;
  HWND tooltips_ = nullptr;
  BoxHook hooks_[3];
  // The registered hot key's identifier; -1 when none is registered.
  int hotKeyId_ = -1;
  int nextHotKeyId_ = 0;
  bool hiddenToTray_ = false;
  // The key that opened the context menu, until it is released.
  UINT menuKeyDown_ = 0;
  Launcher* launcher_ = nullptr;
  ScopedFont labelFont_;
  ScopedFont valueFont_;
  // The first half of a character typed as a surrogate pair.
  wchar_t pendingHighSurrogate_ = 0;
  bool infoPanel_ = true;
  bool statusBar_ = true;
  PanelLayout panel_;
};

}  // namespace wh
