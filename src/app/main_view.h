// What the main window's behaviour asks of the window on screen. The Win32
// window implements it with real controls; tests use a recording fake. The
// view makes no decisions: every rule lives in Launcher.
#pragma once

#include <string>
#include <vector>

#include "app/completion.h"
#include "app/window_placement.h"
#include "settings/hot_key_text.h"

namespace wh {

// The status bar's panels: messages, the keyword count, the item count.
enum class StatusPanel { Status, Keywords, Items };

class MainView {
 public:
  virtual ~MainView() = default;

  struct Point {
    int left = 0;
    int top = 0;
  };

  virtual void SetCaption(const std::string& text) = 0;
  // The window's top-left corner, in screen pixels.
  virtual void PlaceAt(int left, int top) = 0;
  virtual Point Position() const = 0;
  // The window's rectangle, its frame included, in screen pixels: its left
  // and top are Position()'s.
  virtual ScreenRect Frame() const = 0;
  // The monitors there are now, each with its work area, in the pixels of
  // PlaceAt; empty when the system can't tell.
  virtual std::vector<Monitor> Monitors() const = 0;
  // Centres the window on the screen at its current size.
  virtual void CentreOnScreen() = 0;
  // Shows or hides the information panel and the status bar and fits the
  // window's height to the bands left.
  virtual void SetBandsVisible(bool infoPanel, bool statusBar) = 0;
  // Puts the window in the topmost band or the normal one. `showPending`:
  // the window isn't on screen yet and must not be shown by this call.
  virtual void SetTopmost(bool topmost, bool showPending) = 0;
  // Makes the window visible (the first time: where it was placed).
  virtual void Show() = 0;
  virtual bool IsVisible() const = 0;
  // The window and its task-bar button go; the tray icon stays. The window
  // keeps its place, contents and mode.
  virtual void HideToTray() = 0;
  // The task-bar button comes back and, if the program was sent to the tray,
  // the window with it, the focus on the control that had it. A window never
  // shown yet is left to Show().
  virtual void ShowFromTray() = 0;
  // Hidden to the tray after being on screen: what a second start brings
  // back. A copy never shown has nothing to bring back.
  virtual bool IsInTray() const = 0;
  // Takes the title bar off (the window gets shorter by its height) or puts
  // it back; nothing when it already is so.
  virtual void SetTitleBarVisible(bool visible) = 0;

  // Registers `hotKey` system-wide for this window under the next
  // identifier; false when the system refuses it.
  virtual bool RegisterHotKey(const HotKeyCombo& hotKey) = 0;
  // Gives the registered hot key back, if one is registered.
  virtual void UnregisterHotKey() = 0;
  // The tray icon's tip.
  virtual void SetTrayHint(const std::string& hint) = 0;
  // The key shown beside "Show Wordhopper" in the tray menu; "" for none.
  virtual void SetShowShortcut(const std::string& keyText) = 0;
  // Makes the program's last active window the foreground window, when it
  // is visible and enabled.
  virtual void BringToFront() = 0;
  // Ends the message loop; the program then ends.
  virtual void EndMessageLoop() = 0;
  // A modal message box titled "Wordhopper" with an OK button; returns when
  // the user closes it.
  virtual void ShowMessage(const std::string& text) = 0;

  // The keyword box's list, in the order given.
  virtual void SetKeywordItems(const std::vector<std::string>& words) = 0;
  // Removes every entry of the item box.
  virtual void ClearItemBox() = 0;
  // Shows the keyword box, then hides the item box.
  virtual void ShowKeywordBox() = 0;
  // Sets the keyword box's text with no list entry selected.
  virtual void SetKeywordText(const std::string& text) = 0;
  virtual void FocusKeywordBox() = 0;
  virtual void SetStatusPanel(StatusPanel panel, const std::string& text) = 0;

  // The keyword box's text, and with its selection for completion.
  virtual std::string KeywordText() const = 0;
  virtual EditState KeywordField() const = 0;
  // Sets text and selection, with the list entry `entry` selected (-1: none).
  virtual void SetKeywordField(const EditState& field, int entry) = 0;
  virtual void DropKeywordList() = 0;

  // Replaces the item box's entries with `names`, which come in the box's
  // own order.
  virtual void FillItemBox(const std::vector<std::string>& names) = 0;
  virtual void SelectFirstItem() = 0;
  // Shows the item box, then hides the keyword box.
  virtual void ShowItemBox() = 0;
  virtual void DropItemList() = 0;
  virtual void FocusItemBox() = 0;
  // Where the item box's selected entry came in the last FillItemBox's
  // `names`; -1 when none is selected.
  virtual int SelectedItem() const = 0;

  // The information panel: the process count, the page-file line, and the
  // gauge with its bar red or in the highlight colour.
  virtual void SetProcessCount(const std::string& text) = 0;
  virtual void SetPageFile(const std::string& text) = 0;
  virtual void SetGaugeProgress(int progress) = 0;
  virtual void SetGaugeLow(bool low) = 0;
};

}  // namespace wh
