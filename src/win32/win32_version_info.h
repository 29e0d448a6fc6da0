// File versions from the version resources of Windows executables.
#pragma once

#include "platform/version_info.h"

namespace wh {

class Win32VersionInfo : public VersionInfo {
 public:
  // The fixed file information of the file's version resource
  // (GetFileVersionInfoW, root block "\"). A block without the fixed
  // information's signature counts as no version information.
  FileVersion GetFileVersion(const std::string& path) const override;
};

}  // namespace wh
