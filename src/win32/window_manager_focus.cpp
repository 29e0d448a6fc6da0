#include "win32/window_manager_focus.h"

namespace wh {

namespace {

// The watch's timer, on the watched window, which sets no timers of its own.
constexpr UINT_PTR kWatchTimer = 0x574D;
constexpr UINT kWatchEveryMs = 50;
constexpr ULONGLONG kWatchForMs = 1000;

// Wine's ntdll exports its version; Windows' doesn't.
bool RunByWine() {
  static const bool wine = [] {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return wine;
}

bool CanTakeFocus(HWND hwnd) { return IsWindowVisible(hwnd) && IsWindowEnabled(hwnd); }

bool OfThisProgram(HWND hwnd) {
  DWORD processId = 0;
  return hwnd != nullptr && GetWindowThreadProcessId(hwnd, &processId) != 0 &&
         processId == GetCurrentProcessId();
}

// Under Wine the tick of the last key, click or pointer move on any of its
// windows.
DWORD LastInputTick() {
  LASTINPUTINFO info{sizeof(info), 0};
  return GetLastInputInfo(&info) ? info.dwTime : 0;
}

// Whether the last withdrawal of a window was confirmed at once. Wine hides
// a window by withdrawing it and waits for the window manager to confirm,
// two seconds at most; on a display without one every wait runs out, and
// none of the help below is needed there (the X focus follows Wine's).
bool withdrawalsConfirmed = true;

void Withdraw(HWND window) {
  const ULONGLONG start = GetTickCount64();
  ShowWindow(window, SW_HIDE);
  withdrawalsConfirmed = GetTickCount64() - start < 1000;
}

void MapAnew(HWND owner) {
  if (!IsWindowVisible(owner) || IsIconic(owner)) return;
  Withdraw(owner);
  ShowWindow(owner, SW_SHOWNA);
}

// The window made foreground last, watched on the one user-interface thread.
struct Watch {
  HWND window = nullptr;
  HWND owner = nullptr;
  ULONGLONG until = 0;
  DWORD lastInput = 0;
  bool handed = false;  // the owner mapped anew since it was made foreground
};
Watch watch;

void EndWatch() {
  if (watch.window != nullptr) KillTimer(watch.window, kWatchTimer);
  watch = {};
}

void CALLBACK CheckForeground(HWND window, UINT, UINT_PTR, DWORD) {
  if (window != watch.window) {
    KillTimer(window, kWatchTimer);
    return;
  }
  if (GetTickCount64() >= watch.until || !IsWindowVisible(window)) return EndWatch();
  HWND foreground = GetForegroundWindow();
  // The desktop window is left as it is: the program's own Wine process
  // makes it foreground when the user focuses a window Wine doesn't know.
  // No foreground at all is nobody's choice.
  const bool elsewhere =
      foreground == nullptr || (foreground != GetDesktopWindow() && !OfThisProgram(foreground));
  if (elsewhere) {
    // After a key or a click the user went there.
    if (foreground != nullptr && LastInputTick() != watch.lastInput) return EndWatch();
    if (!CanTakeFocus(window)) return;
    // Its activation gives the focus back to the control that had it.
    SetForegroundWindow(window);
    watch.handed = false;
  }
  // On the first tick, not at once: the window the manager's focus is then
  // passed on to has been mapped by the manager by now, where at the showing
  // it may not have been yet, and the focus would stay where it was.
  if (!watch.handed) {
    watch.handed = true;
    MapAnew(watch.owner);
  }
}

}  // namespace

HWND ShownPopupOf(HWND owner) {
  HWND popup = GetLastActivePopup(owner);
  if (popup != owner && CanTakeFocus(popup)) return popup;
  struct Search {
    HWND owner;
    HWND found;
  } search{owner, nullptr};
  EnumThreadWindows(
      GetWindowThreadProcessId(owner, nullptr),
      [](HWND hwnd, LPARAM data) -> BOOL {
        auto* search = reinterpret_cast<Search*>(data);
        if (GetWindow(hwnd, GW_OWNER) != search->owner || !CanTakeFocus(hwnd)) return TRUE;
        search->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void HideOwner(HWND owner) {
  if (IsWindowVisible(owner)) Withdraw(owner);
}

void HandKeyboardToForeground(HWND owner) {
  if (!RunByWine() || owner == nullptr || !withdrawalsConfirmed) return;
  HWND window = GetForegroundWindow();
  if (!OfThisProgram(window)) {
    // Hiding a window waits until the window manager has let it go, and so
    // lets it focus the other program first.
    window = ShownPopupOf(owner);
    if (window == nullptr) return;
    SetForegroundWindow(window);
  }
  EndWatch();
  if (SetTimer(window, kWatchTimer, kWatchEveryMs, CheckForeground) != 0) {
    watch = {window, owner, GetTickCount64() + kWatchForMs, LastInputTick()};
  }
}

}  // namespace wh
