// The program's icon in the notification area, with its menu. The icon has a
// hidden window of its own for its notifications; it comes back by itself
// when the shell's task bar is created anew.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <string>

#include "win32/window_base.h"

namespace wh {

class TrayIcon {
 public:
  // Called with the identifier of the menu item chosen (window_ids.h).
  using CommandHandler = std::function<void(int command)>;

  // Adds the icon at once, with an empty tip.
  TrayIcon(HICON icon, CommandHandler onCommand);
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // The tip: its first 127 characters, and only the part before a "|".
  void SetHint(const std::string& hint);
  // The key shown beside "Show Wordhopper"; "" for none.
  void SetShowShortcut(const std::string& keyText);
  // Opens the menu at the pointer, as the context menu of `owner`'s
  // controls or of the icon. Returns when the menu has closed.
  void PopUpMenu(HWND owner);

  HWND Handle() const { return hwnd_; }

 private:
  friend LRESULT CALLBACK BoundWindowProc<TrayIcon>(HWND, UINT, WPARAM, LPARAM) noexcept;
  void Bind(HWND hwnd) { hwnd_ = hwnd; }
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Add();
  // Sends the icon, its tip and its callback with `message`.
  NOTIFYICONDATAW Notify(DWORD message);
  void UpdateTip();

  HWND hwnd_ = nullptr;
  HMENU menu_ = nullptr;
  HICON icon_;
  CommandHandler onCommand_;
  UINT taskbarCreated_ = 0;
  std::wstring hint_;
  std::wstring tipSent_;
};

}  // namespace wh
