// What every window of the program shares: its class is registered with one
// window procedure that binds the C++ object at WM_NCCREATE and hands each
// later message to its OnMessage; an error a handler raises goes to the
// general error handler, which shows it and lets the program carry on. The
// base also keeps the window's DPI scale and follows it when the window
// moves to a monitor of another DPI, makes its child controls and its fonts,
// reads and writes control texts as UTF-8 and remembers which control had
// the focus.
#pragma once

#include <windows.h>

#include <exception>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "win32/scoped_handle.h"

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

// The text of any window or control, UTF-16 as the system keeps it.
std::wstring WindowTextWide(HWND window);
// The text of any window or control as UTF-8, and the other way.
std::string WindowTextUtf8(HWND window);
void SetWindowTextUtf8(HWND window, std::string_view text);

// The program's icon at the system's standard size. A shared icon: the
// system owns it, nobody destroys it.
HICON ProgramIcon();

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

class WindowBase;

// The window procedure of every class registered by WindowBase: the object
// comes as the creation parameter and is bound at WM_NCCREATE, unbound at
// WM_NCDESTROY; messages in between go to its OnMessage, guarded.
LRESULT CALLBACK BoundWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

class WindowBase {
 public:
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;

  // Null until the window is made and after it has gone.
  HWND Handle() const { return hwnd_; }

 protected:
  // How a window class looks: Hidden has no icon, cursor or background (a
  // window that is never shown); Owner has the program's icon and the arrow
  // but paints nothing (a window only its task-bar button shows); Program
  // has the dialog colour behind its controls as well.
  enum class ClassLook { Hidden, Owner, Program };

  // Starts at the system's DPI; the window is made by Create.
  WindowBase();
  // A window still there is unbound first, so its last messages reach no
  // half-destroyed object; a derived window that handles them calls Destroy
  // in its own destructor.
  virtual ~WindowBase();

  // Registers the class `name` (once per process; later calls do nothing).
  static void RegisterWindowClass(const wchar_t* name, ClassLook look);
  // Makes the window of this object; sizes and places are in real pixels,
  // at the system's DPI. A window that comes up on a monitor of another DPI
  // is rescaled at once.
  void Create(DWORD exStyle, const wchar_t* className, std::string_view title, DWORD style, int x,
              int y, int width, int height, HWND owner);
  // Destroys the window now, its messages still handled by this object.
  void Destroy();

  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
  }

  // Pixels as designed at 96 dots per inch, in the screen's pixels.
  int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }
  // The DPI the window's contents are laid out at; a window may choose one
  // below its monitor's to fit on it.
  int Dpi() const { return dpi_; }
  // The DPI of the window's frame: its monitor's, as last told.
  int FrameDpi() const { return frameDpi_; }
  // Asks the system again, for a hidden window moved to another monitor,
  // which is not told.
  void ReadFrameDpi();

  // The window came to a monitor of `dpi` (WM_DPICHANGED); `suggested` is
  // the place the system proposes. By default the window goes there and is
  // rescaled to `dpi`.
  virtual void OnDpiChanged(int dpi, const RECT& suggested);
  // Lays the controls out again at `dpi`, then lets the window make its
  // fonts and the rest anew in OnRescaled.
  void Rescale(int dpi);
  virtual void OnRescaled() {}
  // Makes the window's `fonts` anew with `make` (at another DPI) and gives
  // each control the new font in place of its old one; the old fonts live
  // until every control has let go of them.
  template <typename Make>
  void RemakeFonts(std::initializer_list<ScopedFont*> fonts, Make make) {
    std::vector<ScopedFont> old;
    for (ScopedFont* font : fonts) old.push_back(std::move(*font));
    make();
    auto previous = old.begin();
    for (ScopedFont* font : fonts) ReplaceFont((previous++)->Get(), font->Get());
  }

  // The system's message font at `points`, scaled to the screen, to be
  // changed further before MakeFont.
  LOGFONTW MessageFont(int points) const;
  static ScopedFont MakeFont(const LOGFONTW& face);

  // Makes the child control `id` (WS_CHILD is added to `style`) at a place
  // given in pixels at 96 dots per inch, in `font`. `text` is UTF-8.
  HWND AddControl(const wchar_t* windowClass, std::string_view text, DWORD style, int id, int left,
                  int top, int width, int height, HFONT font, DWORD exStyle = 0);
  HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
  std::string ControlText(int id) const { return WindowTextUtf8(Control(id)); }
  void SetControlText(int id, std::string_view text) { SetWindowTextUtf8(Control(id), text); }

  // Focus memory: the control that had the focus when the window last lost
  // it (or was sent away), given back when the window is activated again.
  void SetRememberedFocus(HWND control) { lastFocus_ = control; }
  // Keeps the focused control if it is one of this window's.
  void RememberFocus();
  // WM_ACTIVATE: on leaving, remembers the focus; on coming back, gives it
  // to the remembered control, or to `fallback` when that one is hidden.
  void KeepFocusAcrossActivation(WPARAM wParam, HWND fallback);

 private:
  friend LRESULT CALLBACK BoundWindowProc(HWND, UINT, WPARAM, LPARAM) noexcept;

  // Gives every control in font `from` the font `to`.
  void ReplaceFont(HFONT from, HFONT to);

  // A control and its place as designed, to be scaled again.
  struct PlacedControl {
    HWND control;
    RECT designed;
  };

  HWND hwnd_ = nullptr;
  HWND lastFocus_ = nullptr;
  int dpi_ = 96;
  int frameDpi_ = 96;
  std::vector<PlacedControl> placed_;
};

}  // namespace wh
