// The version numbers a file carries, for the version text of the settings
// window.
#pragma once

#include <cstdint>
#include <string>

namespace wh {

// A file's fixed file version: major.minor.release, and the build number.
struct FileVersion {
  std::uint16_t major = 0;
  std::uint16_t minor = 0;
  std::uint16_t release = 0;
  std::uint16_t build = 0;

  friend bool operator==(const FileVersion&, const FileVersion&) = default;
};

class VersionInfo {
 public:
  virtual ~VersionInfo() = default;

  // The file version of the file at `path` (UTF-8, full path). All four
  // numbers are 0 when the file has no version information, does not exist or
  // cannot be read; never throws for any of these.
  virtual FileVersion GetFileVersion(const std::string& path) const = 0;
};

}  // namespace wh
