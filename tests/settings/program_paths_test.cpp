#include "settings/program_paths.h"

#include <gtest/gtest.h>

#include "fakes/fake_file_system.h"

namespace wh {
namespace {

using testing::FakeFileSystem;

TEST(ProgramPathsTest, SettingsFileBesideTheProgramUnlessNeitherItNorItsFolderCanBeWritten) {
  constexpr char kProgramDir[] = "C:\\Program Files\\Wordhopper\\";
  constexpr char kBeside[] = "C:\\Program Files\\Wordhopper\\wordhopper.ini";
  constexpr char kUserDir[] = "C:\\Users\\ann\\AppData\\Roaming\\Wordhopper\\";
  constexpr char kInUserDir[] = "C:\\Users\\ann\\AppData\\Roaming\\Wordhopper\\wordhopper.ini";
  struct Case {
    const char* name;
    bool fileBeside, fileReadOnly, folderReadOnly;
    const char* userDir;
    const char* expected;
  };
  const Case cases[] = {
      {"portable copy, no file yet", false, false, false, kUserDir, kBeside},
      {"portable copy with its file", true, false, false, kUserDir, kBeside},
      {"read-only file, writable folder", true, true, false, kUserDir, kBeside},
      {"writable file in a read-only folder", true, false, true, kUserDir, kBeside},
      {"read-only file in a read-only folder", true, true, true, kUserDir, kInUserDir},
      {"no file in a read-only folder", false, false, true, kUserDir, kInUserDir},
      {"no user folder known", false, false, true, "", kBeside},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeFileSystem fileSystem;
    fileSystem.AddDirectory("C:\\Program Files\\Wordhopper");
    if (c.fileBeside) fileSystem.AddFile(kBeside, "[Form]\r\n");
    if (c.fileReadOnly) fileSystem.MakeReadOnly(kBeside);
    if (c.folderReadOnly) fileSystem.MakeReadOnly("C:\\Program Files\\Wordhopper");
    EXPECT_EQ(ChooseSettingsFile(fileSystem, kProgramDir, c.userDir), c.expected);
  }
}

}  // namespace
}  // namespace wh
