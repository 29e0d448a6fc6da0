#include "win32/gauge.h"

#include <algorithm>
#include <string>

#include "win32/scoped_handle.h"

namespace wh {
namespace {

// Window extra bytes: the progress, then the bar colour.
constexpr int kProgressSlot = 0;
constexpr int kColorSlot = sizeof(LONG_PTR);

void Paint(HWND hwnd) {
  const PaintDC paint(hwnd);
  HDC dc = paint.Get();
  RECT client{};
  GetClientRect(hwnd, &client);
  const int progress = static_cast<int>(GetWindowLongPtrW(hwnd, kProgressSlot));
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  RECT bar = client;
  bar.right = bar.left + (client.right - client.left) * progress / 100;
  const ScopedBrush barBrush(
      CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(hwnd, kColorSlot))));
  FillRect(dc, &bar, barBrush.Get());
  FrameRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

  const std::wstring text = std::to_wstring(progress) + L"%";
  const ScopedSelection font(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawTextW(dc, text.c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

LRESULT CALLBACK GaugeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_NCCREATE:
      SetWindowLongPtrW(hwnd, kColorSlot, GetSysColor(COLOR_HIGHLIGHT));
      break;
    case kGaugeSetProgress: {
      const int progress = std::clamp(static_cast<int>(wParam), 0, 100);
      SetWindowLongPtrW(hwnd, kProgressSlot, progress);
      SetWindowTextW(hwnd, (std::to_wstring(progress) + L"%").c_str());
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    }
    case kGaugeSetBarColor:
      SetWindowLongPtrW(hwnd, kColorSlot, static_cast<LONG_PTR>(wParam));
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_SETFONT:
      SetPropW(hwnd, L"WordhopperFont", reinterpret_cast<HANDLE>(wParam));
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(GetPropW(hwnd, L"WordhopperFont"));
    case WM_NCDESTROY:
      RemovePropW(hwnd, L"WordhopperFont");
      break;
    case WM_PAINT:
      Paint(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

void RegisterGaugeClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = GaugeProc;
  wc.cbWndExtra = 2 * sizeof(LONG_PTR);
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kGaugeClass;
  RegisterClassExW(&wc);
}

}  // namespace wh
