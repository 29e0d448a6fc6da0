// The program's icon in the notification area, with its menu. The icon has a
// hidden window of its own for its notifications; it comes back by itself
// when the shell's task bar is created anew, and is loaded again at the
// small-icon size when the task bar's DPI changes.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <string>

#include "app/main_layout.h"
#include "win32/scoped_handle.h"
#include "win32/window_base.h"

namespace wh {

class TrayIcon : public WindowBase {
 public:
  // Called with the menu item chosen.
  using CommandHandler = std::function<void(main_layout::TrayCommand command)>;

  // Adds the icon at once, with an empty tip.
  explicit TrayIcon(CommandHandler onCommand);
  ~TrayIcon() override;

  // Loads the icon again if the task bar's small-icon size has changed.
  void FitIcon();

  // The tip: its first 127 characters, and only the part before a "|".
  void SetHint(const std::string& hint);
  // The key shown beside the menu's first item; "" for none.
  void SetShowShortcut(const std::string& keyText);
  // Opens the menu at the pointer, as the context menu of `owner`'s
  // controls or of the icon. Returns when the menu has closed.
  void PopUpMenu(HWND owner);
  // At `at` (screen), for a menu opened from the keyboard.
  void PopUpMenu(HWND owner, POINT at);

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // A hidden window has nothing to rescale; only the icon may change.
  void OnDpiChanged(int, const RECT&) override { FitIcon(); }
  // Whether the icon had to be loaded.
  bool LoadIconAtTaskbarSize();
  void Add();
  // Sends the icon, its tip and its callback with `message`.
  NOTIFYICONDATAW Notify(DWORD message);
  void UpdateTip();

  ScopedMenu menu_;
  ScopedIcon icon_;
  int iconSize_ = 0;
  CommandHandler onCommand_;
  UINT taskbarCreated_ = 0;
  std::wstring hint_;
  std::wstring tipSent_;
};

}  // namespace wh
