// The keyboard for the program's foreground window where an X window manager
// decides who has it (the program run by Wine on a Linux desktop).
#pragma once

#include <windows.h>

namespace wh {

// The window of the program the user should be typing in: the owner's last
// active one, or, when that one is hidden (a closed settings window), any
// other of its windows on screen. Null when none is.
HWND ShownPopupOf(HWND owner);

// Called right after one of the windows `owner` owns was made foreground, or
// the system was to make one so (the settings window closed). On Windows,
// nothing: SetForegroundWindow has done it.
//
// Under Wine before 9.0 a window manager is never told of a change of
// foreground, so the keyboard stays with whatever window it focused last
// (the tray, another program), and the window looks active but gets no keys.
// What such a manager does act on is a new top-level window that belongs to
// no other: it focuses it, and Wine passes that focus on to the foreground
// window. So `owner` (the program's owner window, never drawn) is mapped
// anew, when it is shown at all.
//
// Another Wine process can still take the foreground meanwhile: a window
// that closes leaves the manager to focus the window focused before it,
// which may be another program's, and Wine hands that program the
// foreground. So the foreground goes back to the program's window when it
// was lost during the closing, and for a second after, checked on a timer,
// when it goes to none or to another program's window with no key or click
// since. The owner is mapped anew on the first check, once the manager has
// mapped the window, and after each taking back.
void HandKeyboardToForeground(HWND owner);

// Hides the program's owner window, as the window goes to the tray. Under
// Wine it also tells whether a window manager answers on this display: with
// none, HandKeyboardToForeground leaves the keyboard to Wine, as each of its
// own hides of the owner would cost a two-second wait.
void HideOwner(HWND owner);

}  // namespace wh
