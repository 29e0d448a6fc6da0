// The operating system as the main window sees it, all in fakes: the fixtures
// of Launcher and of the windows built on it own one set and hand it out as a
// MainPlatform.
#pragma once

#include <string>

#include "app/launcher.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_key_names.h"
#include "fakes/fake_platform.h"
#include "fakes/fake_text_encoding.h"

namespace wh::testing {

// A Windows machine with the program at C:\Tools\wh.exe. A fixture derives
// from it to reach the fakes by their names.
struct MainPlatformFakes {
  // `fileSystem` stands in for `fs` when given.
  MainPlatform Platform(const FileSystem* fileSystem = nullptr) {
    return MainPlatform{fileSystem ? *fileSystem : fs,
                        folders,
                        numbers,
                        encoding,
                        keyNames,
                        collation,
                        entries,
                        shell,
                        figures,
                        "C:\\Tools\\wh.exe",
                        "\\:",
                        ".exe",
                        settingsDir,
                        userSettingsDir,
                        Wording::Windows,
                        packagedApps};
  }

  FakeFileSystem fs{'\\'};
  FakeShellFolders folders;
  FakeNumberFormat numbers;
  FakeTextEncoding encoding;
  FakeKeyNames keyNames;
  FakeCollation collation;
  FakeStartupEntries entries;
  FakeShell shell;
  FakeFigures figures;
  FakePackagedApps packagedApps;
  std::string settingsDir;  // empty: beside the executable
  std::string userSettingsDir;
};

}  // namespace wh::testing
