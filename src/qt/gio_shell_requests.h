// Shell requests on a Linux desktop, through GIO: launcher entries start as
// their entry says, everything else opens with the desktop's default handler
// for its URI. Nothing goes through a shell, so no character of a file name or
// of typed text runs anything.
#pragma once

#include <string>

#include "platform/shell_requests.h"

namespace wh {

// The URI a typed address or path stands for: a text that names its scheme
// ("http://…", "mailto:…", "news:…", "file:…") as typed; an absolute path as
// its "file://" URI; a network path "\\server\share\dir" as
// "smb://server/share/dir"; "www.…", or a host name with a dot before any
// "/", with "http://" before it. The empty text for anything else (a plain
// word), which is no address.
std::string AddressUri(const std::string& address);

class GioShellRequests : public ShellRequests {
 public:
  // The folder in the file manager (its default handler for directories);
  // a network path through its "smb:" URI. A leading "~" or "~user" is
  // that home folder, as in a shell (ExpandTilde).
  bool OpenExplorer(const std::string& typed) override;
  // The AddressUri of the typed text, "~" expanded as above, with the
  // default handler for its scheme or, for a file, its type.
  bool OpenAddress(const std::string& typed) override;
  // A Linux desktop has no common search verb: the folder (the home folder
  // when none is known) opens in the file manager, whose search the user then
  // has at hand.
  void FindInFolder(const std::string& folder) override;
  // A ".desktop" launcher entry is started through GDesktopAppInfo, as a
  // menu starts it (a link entry opens its URL); any other file opens with
  // the default handler of its type. False when the start failed, also when
  // the entry's command can't be found, which GIO doesn't report.
  bool OpenItem(const std::string& path) override;
};

}  // namespace wh
