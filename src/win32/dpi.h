// Dots per inch where the program's windows are. The program declares itself
// aware of each monitor's DPI; from Windows 10 1607 on, each window has the
// DPI of its monitor and is told when that changes. Older systems have one
// DPI for every window, the system's, and these functions give that one.
#pragma once

#include <windows.h>

namespace wh {

// The system's DPI, fixed for the session.
int SystemDpi();
// The DPI of the monitor `window` is on.
int WindowDpi(HWND window);
// A system metric (SM_CXSMICON, SM_CYCAPTION, ...) at `dpi`.
int MetricAtDpi(int index, int dpi);
// The frame of a window whose client area is `frame`, at `dpi`.
void AdjustFrameAtDpi(RECT& frame, DWORD style, DWORD exStyle, int dpi);
// The work area (the screen less the task bar) of the monitor nearest the
// pointer: where a window opened from the tray or a menu belongs.
RECT WorkAreaAtPointer();
// The work area of the monitor `window` is on.
RECT WorkAreaOf(HWND window);

}  // namespace wh
