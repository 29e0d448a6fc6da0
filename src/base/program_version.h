// The program's own version, in one place for the Windows version resource and
// for the platforms whose executables carry no version block. Plain macros, so
// that the resource compiler reads this file as well as C++ does.
#pragma once

#define WH_VERSION_MAJOR 1
#define WH_VERSION_MINOR 5
#define WH_VERSION_RELEASE 0
#define WH_VERSION_BUILD 9

// The same as texts, for the resource's string table.
#define WH_VERSION_TEXT "1.5.0.9"
#define WH_PRODUCT_VERSION_TEXT "1.5"
