// File versions read from real files: this test program carries a version
// block of 2.10.3.1205 (version_test.rc); text files and missing files have none.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "win32/temporary_folder.h"
#include "win32/utf16.h"
#include "win32/win32_version_info.h"

namespace wh {
namespace {

std::string OwnExecutablePath() {
  std::wstring path(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  return WideToUtf8(path);
}

void CopyTestFile(const std::string& from, const std::string& to) {
  ASSERT_TRUE(CopyFileW(Utf8ToWide(from).c_str(), Utf8ToWide(to).c_str(), TRUE))
      << from << " -> " << to << ": error " << GetLastError();
}

TEST(Win32VersionInfoTest, ReadsTheFixedFileVersionOrGivesZeros) {
  const std::string self = OwnExecutablePath();
  ASSERT_FALSE(self.empty());
  testing::TemporaryFolder folder("wh-version");
  const std::string text = folder.Path() + "readme.txt";
  testing::WriteTestFile(text, "no version block here\r\n");
  const std::string fakeExe = folder.Path() + "looks like a program.exe";
  testing::WriteTestFile(fakeExe, "MZ but nothing after it");
  // Neither the name nor the folder may stop the reader: a copy under a name
  // outside the system code page and with spaces.
  const std::string copy = folder.Path() + "Été 日本 copy.exe";
  CopyTestFile(self, copy);

  struct Case {
    std::string what;
    std::string path;
    FileVersion version;
  };
  const std::vector<Case> cases = {
      {"this program", self, {2, 10, 3, 1205}},
      {"a copy of it under a Unicode name", copy, {2, 10, 3, 1205}},
      {"a text file", text, {}},
      {"a file that only starts like a program", fakeExe, {}},
      {"a missing file", folder.Path() + "missing.exe", {}},
      {"a file in a missing folder", folder.Path() + "none\\missing.exe", {}},
      {"a folder", folder.Path(), {}},
      {"the empty path", "", {}},
  };
  const Win32VersionInfo info;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what + ": " + c.path);
    const FileVersion version = info.GetFileVersion(c.path);
    EXPECT_EQ(version, c.version) << version.major << "." << version.minor << "." << version.release
                                  << "." << version.build;
  }
}

}  // namespace
}  // namespace wh
