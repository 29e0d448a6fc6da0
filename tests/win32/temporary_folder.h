// Scratch folders and links for the Windows test programs.
#pragma once

#include <string>

namespace wh::testing {

// A new, empty folder under the system's temporary folder, removed with all
// it holds when the object goes. Links inside are removed, never followed.
class TemporaryFolder {
 public:
  explicit TemporaryFolder(const std::string& stem);
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  ~TemporaryFolder();

  // UTF-8, ending in "\".
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// Creates the file `path` (UTF-8, any length) with `contents`, or fails the test.
void WriteTestFile(const std::string& path, const std::string& contents);
// Creates the directory `path` (any length); its parent must exist.
void MakeTestDirectory(const std::string& path);

// Makes `link` a directory link to `target` by whatever this system allows: a
// symbolic link, a junction, or, under Wine, which supports neither, a Unix
// symbolic link made by the Linux side. Returns how, or the empty text when
// nothing worked.
std::string MakeDirectoryLink(const std::string& link, const std::string& target);

}  // namespace wh::testing
