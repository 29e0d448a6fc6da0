// A horizontal bar gauge from 0 to 100 with its value written across it
// ("37%"). Its window text is that value, so other programs can read it.
#pragma once

#include <windows.h>

namespace wh {

inline constexpr wchar_t kGaugeClass[] = L"WordhopperGauge";

// wParam: the progress; values outside 0..100 are clamped.
inline constexpr UINT kGaugeSetProgress = WM_USER + 1;
// wParam: the bar's COLORREF.
inline constexpr UINT kGaugeSetBarColor = WM_USER + 2;

// Registers the window class once per process.
void RegisterGaugeClass();

}  // namespace wh
