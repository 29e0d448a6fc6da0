#include "posix/posix_version_info.h"

#include <sys/stat.h>

#include "base/program_version.h"

namespace wh {

FileVersion PosixVersionInfo::GetFileVersion(const std::string& path) const {
  // The same file, whatever name it goes by: compare device and inode rather
  // than spellings of the path.
  struct stat file {};
  struct stat self {};
  if (path.empty() || stat(path.c_str(), &file) != 0 || stat("/proc/self/exe", &self) != 0) {
    return {};
  }
  if (file.st_dev != self.st_dev || file.st_ino != self.st_ino) return {};
  return FileVersion{WH_VERSION_MAJOR, WH_VERSION_MINOR, WH_VERSION_RELEASE, WH_VERSION_BUILD};
}

}  // namespace wh
