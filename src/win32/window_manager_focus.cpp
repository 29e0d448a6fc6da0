#include "win32/window_manager_focus.h"

namespace wh {

namespace {

// Wine's ntdll exports its version; Windows' doesn't.
bool RunByWine() {
  static const bool wine = [] {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return wine;
}

}  // namespace

void HandKeyboardToForeground(HWND owner) {
  if (!RunByWine() || owner == nullptr || !IsWindowVisible(owner) || IsIconic(owner)) return;
  ShowWindow(owner, SW_HIDE);
  ShowWindow(owner, SW_SHOWNA);
}

}  // namespace wh
