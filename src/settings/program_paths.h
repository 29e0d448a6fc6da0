// Where the program finds its own files.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"

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

// Where the settings are read from and written to.
struct SettingsFiles {
  std::string read;
  std::string write;
};

// Where the settings are kept when the executable's folder may be read only
// (under Program Files for a standard user): beside the executable while a
// settings file there can be written or the folder takes new files, so that
// a portable copy keeps its settings with it; else in `userDir` (the user's
// own application-data folder, trailing separator included). Until the user
// has a file there, the one beside the executable, which an administrator or
// an installer may have put there, is read. An empty `userDir` keeps the file
// beside the executable. Asks the file system whether it may write; makes
// nothing.
SettingsFiles ChooseSettingsFiles(const FileSystem& fileSystem, std::string_view programDir,
                                  std::string_view userDir);

}  // namespace wh
