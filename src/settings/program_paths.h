// Where the program finds its own files.
#pragma once

#include <string>
#include <string_view>

namespace wh {

// The program's fixed name: the base of the settings file's name and of the
// start-up entry, whatever the executable is called.
inline constexpr std::string_view ProgramName = "wordhopper";

// The directory of `exePath` with its trailing separator ("C:\Tools\" for
// "C:\Tools\wh.exe"). Both `separator` and "/" end a directory name. The empty
// text for a bare file name.
std::string ProgramDirOf(std::string_view exePath, char separator);

// `programDir` + "wordhopper.ini".
std::string SettingsFilePath(std::string_view programDir);

}  // namespace wh
