#include "win32/window_base.h"

#include <commctrl.h>

#include <utility>

#include "win32/dpi.h"
#include "win32/resource_ids.h"
#include "win32/utf16.h"

namespace wh {
namespace {

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

}  // namespace

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
                                  nullptr, Instance(), nullptr);
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

std::wstring WindowTextWide(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::string WindowTextUtf8(HWND window) { return WideToUtf8(WindowTextWide(window)); }

void SetWindowTextUtf8(HWND window, std::string_view text) {
  SetWindowTextW(window, Utf8ToWide(text).c_str());
}

HICON ProgramIcon() { return LoadIconW(Instance(), MAKEINTRESOURCEW(IDI_WORDHOPPER)); }

LRESULT CALLBACK BoundWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  WindowBase* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->placed_.clear();
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  if (message == WM_DPICHANGED) {
    const RECT suggested = *reinterpret_cast<const RECT*>(lParam);
    GuardHandler(
        hwnd,
        [&] {
          self->frameDpi_ = HIWORD(wParam);
          self->OnDpiChanged(HIWORD(wParam), suggested);
          return 0;
        },
        0);
    return 0;
  }
  return GuardHandler(
      hwnd, [&] { return self->OnMessage(message, wParam, lParam); }, LRESULT{0});
}

WindowBase::WindowBase() : dpi_(SystemDpi()), frameDpi_(dpi_) {}

WindowBase::~WindowBase() {
  if (hwnd_ == nullptr) return;
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(std::exchange(hwnd_, nullptr));
}

void WindowBase::RegisterWindowClass(const wchar_t* name, ClassLook look) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = BoundWindowProc;
  wc.hInstance = Instance();
  wc.lpszClassName = name;
  if (look != ClassLook::Hidden) {
    // The small icon is left to the system, which takes the small size from
    // the same icon resource.
    wc.hIcon = ProgramIcon();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  }
  if (look == ClassLook::Program) wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterClassExW(&wc);
}

void WindowBase::Create(DWORD exStyle, const wchar_t* className, std::string_view title,
                        DWORD style, int x, int y, int width, int height, HWND owner) {
  CreateWindowExW(exStyle, className, Utf8ToWide(title).c_str(), style, x, y, width, height, owner,
                  nullptr, Instance(), this);
  if (hwnd_ == nullptr) return;
  ReadFrameDpi();
  if (frameDpi_ != dpi_) Rescale(frameDpi_);
}

void WindowBase::ReadFrameDpi() { frameDpi_ = WindowDpi(hwnd_); }

void WindowBase::OnDpiChanged(int dpi, const RECT& suggested) {
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  Rescale(dpi);
}

void WindowBase::Rescale(int dpi) {
  dpi_ = dpi;
  for (const PlacedControl& placed : placed_) {
    const RECT& at = placed.designed;
    SetWindowPos(placed.control, nullptr, Scale(at.left), Scale(at.top), Scale(at.right - at.left),
                 Scale(at.bottom - at.top), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  OnRescaled();
  // Every control is drawn anew: one that shrank would leave its old text
  // behind.
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void WindowBase::ReplaceFont(HFONT from, HFONT to) {
  for (const PlacedControl& placed : placed_) {
    if (reinterpret_cast<HFONT>(SendMessageW(placed.control, WM_GETFONT, 0, 0)) == from) {
      SendMessageW(placed.control, WM_SETFONT, reinterpret_cast<WPARAM>(to), TRUE);
    }
  }
}

void WindowBase::Destroy() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

LOGFONTW WindowBase::MessageFont(int points) const {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  LOGFONTW face = metrics.lfMessageFont;
  face.lfHeight = -MulDiv(points, dpi_, 72);
  return face;
}

ScopedFont WindowBase::MakeFont(const LOGFONTW& face) {
  return ScopedFont(CreateFontIndirectW(&face));
}

HWND WindowBase::AddControl(const wchar_t* windowClass, std::string_view text, DWORD style, int id,
                            int left, int top, int width, int height, HFONT font, DWORD exStyle) {
  HWND control =
      CreateWindowExW(exStyle, windowClass, Utf8ToWide(text).c_str(), WS_CHILD | style, Scale(left),
                      Scale(top), Scale(width), Scale(height), hwnd_,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (control != nullptr) placed_.push_back({control, {left, top, left + width, top + height}});
  return control;
}

void WindowBase::RememberFocus() {
  HWND focus = GetFocus();
  if (focus != nullptr && IsChild(hwnd_, focus)) lastFocus_ = focus;
}

void WindowBase::KeepFocusAcrossActivation(WPARAM wParam, HWND fallback) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    RememberFocus();
    return;
  }
  SetFocus(lastFocus_ != nullptr && IsWindowVisible(lastFocus_) ? lastFocus_ : fallback);
}

}  // namespace wh
