#include "platform/win32/window_base.h"

#include "platform/win32/utf16.h"

namespace wh {

void ShowProgramMessage(HWND owner, const std::string& text) {
  UINT flags = MB_OK | MB_SETFOREGROUND;
  // A message without a window on screen must not hide behind other programs.
  if (owner == nullptr || !IsWindowVisible(owner)) {
    owner = nullptr;
    flags |= MB_TOPMOST | MB_TASKMODAL;
  }
  MessageBoxW(owner, Utf8ToWide(text).c_str(), L"Wordhopper", flags);
}

void ShowHandlerError(HWND owner, const char* text) noexcept {
  try {
    ShowProgramMessage(owner, text);
  } catch (...) {
    MessageBoxW(owner, L"Out of memory", L"Wordhopper", MB_OK | MB_ICONERROR);
  }
}

}  // namespace wh
