#include "win32/tray_icon.h"

#include <iterator>

#include "win32/dpi.h"
#include "win32/resource_ids.h"
#include "win32/utf16.h"
#include "win32/window_ids.h"

namespace wh {
namespace {

using namespace win32;
using main_layout::kTrayMenu;
using main_layout::TrayCommand;

// The menu's items carry the identifiers the end-to-end driver knows, in the
// table's order.
constexpr int MenuId(TrayCommand command) { return kTrayShow + static_cast<int>(command); }
constexpr bool MenuIdsFollowTable() {
  constexpr int kIds[] = {kTrayShow, kTrayHide, kTrayReload, kTraySettings, kTrayHelp, kTrayExit};
  if (std::size(kTrayMenu) != std::size(kIds)) return false;
  for (std::size_t i = 0; i < std::size(kIds); ++i) {
    if (MenuId(kTrayMenu[i].command) != kIds[i]) return false;
  }
  return true;
}
static_assert(MenuIdsFollowTable());

constexpr UINT kCallbackMessage = WM_USER + 1;

// The notification area is on the task bar's monitor, wherever the
// program's windows are.
int TaskbarDpi() {
  HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  return taskbar != nullptr ? WindowDpi(taskbar) : SystemDpi();
}

NOTIFYICONDATAW IconData(HWND hwnd) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = hwnd;
  data.uID = kTrayIconId;
  return data;
}

}  // namespace

TrayIcon::TrayIcon(CommandHandler onCommand) : onCommand_(std::move(onCommand)) {
  RegisterWindowClass(kTrayWindowClass, ClassLook::Hidden);
  // A hidden top-level window rather than a message-only one: only those
  // hear that the task bar was created anew.
  Create(0, kTrayWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr);
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");

  menu_.Reset(CreatePopupMenu());
  for (const main_layout::TrayMenuItem& item : kTrayMenu) {
    AppendMenuW(menu_.Get(), MF_STRING, MenuId(item.command), Utf8ToWide(item.caption).c_str());
  }
  LoadIconAtTaskbarSize();
  Add();
}

TrayIcon::~TrayIcon() {
  NOTIFYICONDATAW data = IconData(Handle());
  Shell_NotifyIconW(NIM_DELETE, &data);
  Destroy();
}

bool TrayIcon::LoadIconAtTaskbarSize() {
  const int dpi = TaskbarDpi();
  const int size = MetricAtDpi(SM_CXSMICON, dpi);
  if (size == iconSize_ && icon_.Get() != nullptr) return false;
  // Drawn from the icon's nearest image rather than shrunk by the shell.
  icon_.Reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                            MAKEINTRESOURCEW(IDI_WORDHOPPER), IMAGE_ICON, size,
                                            MetricAtDpi(SM_CYSMICON, dpi), LR_DEFAULTCOLOR)));
  iconSize_ = size;
  return true;
}

void TrayIcon::FitIcon() {
  if (LoadIconAtTaskbarSize()) Notify(NIM_MODIFY);
}

NOTIFYICONDATAW TrayIcon::Notify(DWORD message) {
  NOTIFYICONDATAW data = IconData(Handle());
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kCallbackMessage;
  data.hIcon = icon_.Get();
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
  const int show = MenuId(TrayCommand::Show);
  ModifyMenuW(menu_.Get(), show, MF_BYCOMMAND | MF_STRING, show,
              Utf8ToWide(main_layout::ShowCaption(keyText)).c_str());
}

void TrayIcon::PopUpMenu(HWND owner) {
  POINT at{};
  GetCursorPos(&at);
  PopUpMenu(owner, at);
}

void TrayIcon::PopUpMenu(HWND owner, POINT at) {
  // Without the foreground the menu would not close on a click elsewhere;
  // the posted null message lets it go at once when it is dismissed.
  SetForegroundWindow(owner);
  const int command = TrackPopupMenu(menu_.Get(), TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                                     at.x, at.y, 0, owner, nullptr);
  PostMessageW(owner, WM_NULL, 0, 0);
  for (const main_layout::TrayMenuItem& item : kTrayMenu) {
    if (command == MenuId(item.command)) return onCommand_(item.command);
  }
}

LRESULT TrayIcon::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kCallbackMessage) {
    switch (LOWORD(lParam)) {
      case WM_LBUTTONDOWN:
      case WM_RBUTTONUP:
      case NIN_KEYSELECT:
        PopUpMenu(Handle());
        break;
      case WM_MOUSEMOVE:
        UpdateTip();
        break;
    }
    return 0;
  }
  if (message == taskbarCreated_ && taskbarCreated_ != 0) {
    LoadIconAtTaskbarSize();
    Add();
    return 0;
  }
  // A change of the displays' scale reaches every top-level window, this
  // hidden one included, as one of these.
  if (message == WM_DISPLAYCHANGE || message == WM_SETTINGCHANGE) FitIcon();
  return Default(message, wParam, lParam);
}

}  // namespace wh
