// What every window of the program shares: its window procedure binds the
// C++ object at WM_NCCREATE and hands each later message to its OnMessage;
// an error a handler raises goes to the general error handler, which shows it
// and lets the program carry on.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace wh {

// Shows `text` in a message box titled "Wordhopper" over `owner`; a message
// with no window of the program on screen comes up topmost.
void ShowProgramMessage(HWND owner, const std::string& text);

// The general error handler: ShowProgramMessage, and never an exception.
void ShowHandlerError(HWND owner, const char* text) noexcept;

// The program's tooltip window for the controls of `owner`: shown after the
// pointer rests 1000 ms, hidden after 2500 ms, at once on the next control.
HWND CreateTooltips(HWND owner);

// Gives `control` (a child of `owner`) the tip `text` (UTF-8). `relayed`:
// the control passes its mouse messages on itself (TTM_RELAYEVENT) rather
// than being subclassed by the tooltip.
void AddTooltip(HWND tooltips, HWND owner, HWND control, const char* text, bool relayed = false);

// Runs `handler` and hands what it throws to the general error handler.
template <typename Handler>
auto GuardHandler(HWND owner, Handler&& handler, decltype(handler()) fallback) noexcept {
  try {
    return handler();
  } catch (const std::exception& error) {
    ShowHandlerError(owner, error.what());
  } catch (...) {
    ShowHandlerError(owner, "Unknown error");
  }
  return fallback;
}

// The window procedure of a window class whose windows are objects of T,
// created with `this` as the creation parameter. T provides
// `void Bind(HWND)` (the handle, and null when the window is gone) and
// `LRESULT OnMessage(UINT, WPARAM, LPARAM)`, reachable by this function.
template <typename T>
LRESULT CALLBACK BoundWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  T* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->Bind(hwnd);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->Bind(nullptr);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return GuardHandler(
      hwnd, [&] { return self->OnMessage(message, wParam, lParam); }, LRESULT{0});
}

}  // namespace wh
