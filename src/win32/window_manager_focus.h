// The keyboard for the program's foreground window where an X window manager
// decides who has it (the program run by Wine on a Linux desktop).
#pragma once

#include <windows.h>

namespace wh {

// On Windows, nothing: SetForegroundWindow has done it. Under Wine before
// 9.0 a window manager is never told of a change of foreground, so the
// keyboard stays with whatever window it focused last (the tray, another
// program), and the window a hot key, a tray command or Save brought up
// looks active but gets no keys. What such a manager does act on is a new
// top-level window that belongs to no other: it focuses it, and Wine passes
// that focus on to the foreground window. So `owner` (the program's owner
// window, never drawn) is mapped anew, when it is shown at all.
void HandKeyboardToForeground(HWND owner);

}  // namespace wh
