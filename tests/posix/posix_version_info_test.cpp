// The running program knows its own version; other files have none on Linux.
#include "posix/posix_version_info.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace wh {
namespace {

namespace fs = std::filesystem;

TEST(PosixVersionInfoTest, OwnExecutableByAnyNameHasTheProgramVersionOthersNone) {
  const fs::path self = fs::read_symlink("/proc/self/exe");
  std::string pattern = (fs::temp_directory_path() / "wh-version-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const fs::path root = pattern;
  fs::create_symlink(self, root / "link to self");
  fs::copy_file(self, root / "copy of self");
  std::ofstream(root / "notes.txt") << "text";

  struct Case {
    std::string what;
    std::string path;
    FileVersion version;
  };
  const FileVersion program{1, 5, 0, 9};
  const std::vector<Case> cases = {
      {"own path", self.string(), program},
      {"own path through /proc", "/proc/self/exe", program},
      {"own path with a detour", (self.parent_path() / "." / self.filename()).string(), program},
      {"a link to the executable", (root / "link to self").string(), program},
      {"a copy of the executable is another file", (root / "copy of self").string(), {}},
      {"a text file", (root / "notes.txt").string(), {}},
      {"a missing file", (root / "missing").string(), {}},
      {"a folder", root.string(), {}},
      {"the empty path", "", {}},
  };
  const PosixVersionInfo info;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what + ": " + c.path);
    EXPECT_EQ(info.GetFileVersion(c.path), c.version);
  }
  std::error_code ignored;
  fs::remove_all(root, ignored);
}

}  // namespace
}  // namespace wh
