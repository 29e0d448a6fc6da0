#include "win32/window_base.h"

#include <commctrl.h>

#include "win32/utf16.h"

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

HWND CreateTooltips(HWND owner) {
  HWND tooltips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tooltips, TTM_SETDELAYTIME, TTDT_INITIAL, 1000);
  SendMessageW(tooltips, TTM_SETDELAYTIME, TTDT_AUTOPOP, 2500);
  SendMessageW(tooltips, TTM_SETDELAYTIME, TTDT_RESHOW, 0);
  return tooltips;
}

void AddTooltip(HWND tooltips, HWND owner, HWND control, const char* text, bool relayed) {
  TOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.uFlags = TTF_IDISHWND | (relayed ? 0 : TTF_SUBCLASS);
  info.hwnd = owner;
  info.uId = reinterpret_cast<UINT_PTR>(control);
  // The tooltip keeps a copy of the text.
  std::wstring wide = Utf8ToWide(text);
  info.lpszText = wide.data();
  SendMessageW(tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace wh
