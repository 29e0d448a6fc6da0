// Identifiers of the program's resources, shared by wordhopper.rc and the
// window code. Plain macros, so that the resource compiler reads this file too.
#pragma once

// The program icon: the executable's icon in the shell, the windows' icon and
// the tray icon. Load it with LoadIconW(instance, MAKEINTRESOURCEW(IDI_WORDHOPPER))
// or LoadImageW for a given size.
#define IDI_WORDHOPPER 1
