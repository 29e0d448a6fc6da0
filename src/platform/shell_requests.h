// Requests to the desktop shell: open a folder, an address, a file; search a
// folder. None of them goes through a command interpreter, so no file name
// or typed text can run anything but what it names.
#pragma once

#include <string>

namespace wh {

class ShellRequests {
 public:
  virtual ~ShellRequests() = default;
  // OpenExplorer and OpenAddress are given the keyword box's text as typed;
  // they read a typed path as the platform's FileSystem::ExpandTypedPath
  // does, so that they open what ClassifyEnter looked at.

  // Opens the file manager on `path` (a directory or a network path) with
  // its folder tree. False when the shell refused the request (no program
  // for it, or nothing to open); true once it is on its way.
  virtual bool OpenExplorer(const std::string& path) = 0;
  // Opens a web, news or mail address, or a typed file path, with its
  // default program. False when the shell refused it, as OpenExplorer.
  virtual bool OpenAddress(const std::string& address) = 0;
  // Opens the desktop's own search window on `folder`. Fire and forget.
  virtual void FindInFolder(const std::string& folder) = 0;
  // Starts the file at `path` as the shell opens it (programs run, documents
  // and shortcuts open), in a normal window. False when it could not be
  // started.
  virtual bool OpenItem(const std::string& path) = 0;
};

}  // namespace wh
