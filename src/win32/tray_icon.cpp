#include "win32/tray_icon.h"

#include "win32/utf16.h"
#include "win32/window_ids.h"

namespace wh {
namespace {

using namespace win32;

constexpr UINT kIconId = 1;
constexpr UINT kCallbackMessage = WM_USER + 1;

NOTIFYICONDATAW IconData(HWND hwnd) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = hwnd;
  data.uID = kIconId;
  return data;
}

}  // namespace

TrayIcon::TrayIcon(HICON icon, CommandHandler onCommand)
    : icon_(icon), onCommand_(std::move(onCommand)) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = BoundWindowProc<TrayIcon>;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kTrayWindowClass;
  RegisterClassExW(&wc);
  // A hidden top-level window rather than a message-only one: only those
  // hear that the task bar was created anew.
  hwnd_ = CreateWindowExW(0, kTrayWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                          GetModuleHandleW(nullptr), this);
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");

  menu_ = CreatePopupMenu();
  const struct {
    int id;
    const wchar_t* caption;
  } items[] = {{kShow1, L"Show Wordhopper"},
               {kHide1, L"Hide Wordhopper"},
               {kReloaddirectories1, L"Reload directories"},
               {kSettings1, L"Settings"},
               {kHelp1, L"Help"},
               {kExit1, L"Exit"}};
  for (const auto& item : items) AppendMenuW(menu_, MF_STRING, item.id, item.caption);
  Add();
}

TrayIcon::~TrayIcon() {
  NOTIFYICONDATAW data = IconData(hwnd_);
  Shell_NotifyIconW(NIM_DELETE, &data);
  if (menu_) DestroyMenu(menu_);
  if (hwnd_) DestroyWindow(hwnd_);
}

NOTIFYICONDATAW TrayIcon::Notify(DWORD message) {
  NOTIFYICONDATAW data = IconData(hwnd_);
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kCallbackMessage;
  data.hIcon = icon_;
  lstrcpynW(data.szTip, tipSent_.c_str(), ARRAYSIZE(data.szTip));
  Shell_NotifyIconW(message, &data);
  return data;
}

void TrayIcon::Add() {
  NOTIFYICONDATAW data = Notify(NIM_ADD);
  data.uVersion = NOTIFYICON_VERSION;
  Shell_NotifyIconW(NIM_SETVERSION, &data);
}

void TrayIcon::SetHint(const std::string& hint) {
  hint_ = Utf8ToWide(hint);
  UpdateTip();
}

void TrayIcon::UpdateTip() {
  std::wstring tip = hint_.substr(0, hint_.find(L'|'));
  if (tip.size() > 127) tip.resize(127);
  if (tip == tipSent_) return;
  tipSent_ = tip;
  Notify(NIM_MODIFY);
}

void TrayIcon::SetShowShortcut(const std::string& keyText) {
  std::wstring caption = L"Show Wordhopper";
  if (!keyText.empty()) caption += L"\t" + Utf8ToWide(keyText);
  ModifyMenuW(menu_, kShow1, MF_BYCOMMAND | MF_STRING, kShow1, caption.c_str());
}

void TrayIcon::PopUpMenu(HWND owner) {
  POINT at{};
  GetCursorPos(&at);
  // Without the foreground the menu would not close on a click elsewhere;
  // the posted null message lets it go at once when it is dismissed.
  SetForegroundWindow(owner);
  const int command = TrackPopupMenu(menu_, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x,
                                     at.y, 0, owner, nullptr);
  PostMessageW(owner, WM_NULL, 0, 0);
  if (command != 0) onCommand_(command);
}

LRESULT TrayIcon::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kCallbackMessage) {
    switch (LOWORD(lParam)) {
      case WM_LBUTTONDOWN:
      case WM_RBUTTONUP:
      case NIN_KEYSELECT:
        PopUpMenu(hwnd_);
        break;
      case WM_MOUSEMOVE:
        UpdateTip();
        break;
    }
    return 0;
  }
  if (message == taskbarCreated_ && taskbarCreated_ != 0) {
    Add();
    return 0;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace wh
