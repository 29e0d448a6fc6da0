#include "settings/program_paths.h"

#include <gtest/gtest.h>

#include "fakes/fake_file_system.h"

namespace wh {
namespace {

using testing::FakeFileSystem;

TEST(ProgramPathsTest, SettingsStayBesideTheProgramUnlessNeitherItNorItsFolderCanBeWritten) {
  constexpr char kProgramDir[] = "C:\\Program Files\\Wordhopper\\";
  constexpr char kBeside[] = "C:\\Program Files\\Wordhopper\\wordhopper.ini";
  constexpr char kUserDir[] = "C:\\Users\\ann\\AppData\\Roaming\\Wordhopper\\";
  constexpr char kOwn[] = "C:\\Users\\ann\\AppData\\Roaming\\Wordhopper\\wordhopper.ini";
  struct Case {
    const char* name;
    bool fileBeside, fileReadOnly, folderReadOnly, ownFile;
    const char* userDir;
    const char* read;
    const char* write;
  };
  const Case cases[] = {
      {"portable copy, no file yet", false, false, false, false, kUserDir, kBeside, kBeside},
      {"portable copy with its file", true, false, false, true, kUserDir, kBeside, kBeside},
      {"read-only file, writable folder", true, true, false, false, kUserDir, kBeside, kBeside},
      {"writable file in a read-only folder", true, false, true, false, kUserDir, kBeside, kBeside},
      // An administrator's file holds until the user saves settings of their own.
      {"read-only file in a read-only folder", true, true, true, false, kUserDir, kBeside, kOwn},
      {"the user's own file beside a read-only one", true, true, true, true, kUserDir, kOwn, kOwn},
      {"no file in a read-only folder", false, false, true, false, kUserDir, kBeside, kOwn},
      {"no user folder known", false, false, true, false, "", kBeside, kBeside},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeFileSystem fileSystem;
    fileSystem.AddDirectory("C:\\Program Files\\Wordhopper");
    if (c.fileBeside) fileSystem.AddFile(kBeside, "[Form]\r\n");
    if (c.fileReadOnly) fileSystem.MakeReadOnly(kBeside);
    if (c.folderReadOnly) fileSystem.MakeReadOnly("C:\\Program Files\\Wordhopper");
    if (c.ownFile) fileSystem.AddFile(kOwn, "[Form]\r\n");
    const SettingsFiles chosen = ChooseSettingsFiles(fileSystem, kProgramDir, c.userDir);
    EXPECT_EQ(chosen.read, c.read);
    EXPECT_EQ(chosen.write, c.write);
    EXPECT_EQ(fileSystem.DirectoryExists(kUserDir), c.ownFile) << "made nothing";
  }
}

}  // namespace
}  // namespace wh
