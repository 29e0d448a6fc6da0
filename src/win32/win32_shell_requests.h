// Shell requests through ShellExecuteW / ShellExecuteExW, owned by the main
// window so that the shell's own windows come up in front of it.
#pragma once

#include <windows.h>

#include "platform/shell_requests.h"

namespace wh {

class Win32ShellRequests : public ShellRequests {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }

  // explorer.exe with "/e," and the path right after it.
  bool OpenExplorer(const std::string& path) override;
  bool OpenAddress(const std::string& address) override;
  // The shell's "find" verb on the folder.
  void FindInFolder(const std::string& folder) override;
  // ShellExecuteExW, verb "open", the path as the file: no command line is
  // built, so no character of the name has a meaning of its own.
  bool OpenItem(const std::string& path) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace wh
