// File versions on Linux and other POSIX systems.
#pragma once

#include "platform/version_info.h"

namespace wh {

// ELF executables carry no version block, so there is nothing to read from a
// file. The running program knows its own version, though: asked about its own
// executable (the file /proc/self/exe leads to, by whatever path or link it is
// named), this gives the program's version; every other path, and every path
// where /proc is not mounted, gives all zeros.
class PosixVersionInfo : public VersionInfo {
 public:
  FileVersion GetFileVersion(const std::string& path) const override;
};

}  // namespace wh
