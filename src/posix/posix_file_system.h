// The file system on Linux and other POSIX systems.
#pragma once

#include "platform/file_system.h"

namespace wh {

class PosixFileSystem : public FileSystem {
 public:
  char Separator() const override { return '/'; }
  // Takes each entry's type from the directory listing; only links and
  // entries of unknown type cost a stat.
  bool ListDirectory(const std::string& dir, const DirectoryEntrySink& sink,
                     std::optional<DirectoryId>* id) const override;
  // Keeps the directories on the way down open, and opens each subdirectory
  // relative to its parent: the kernel looks up one name, not the whole path.
  std::unique_ptr<ListingSession> BeginListing() const override;
  bool DirectoryExists(const std::string& path) const override;
  bool FileExists(const std::string& path) const override;
  std::optional<std::string> ReadWholeFile(const std::string& path,
                                           std::size_t maxBytes) const override;
  // Through ExpandTilde (posix/tilde_expansion.h).
  std::string ExpandTypedPath(std::string_view typed) const override;
  // A temporary file beside the target, synced, then renamed over it.
  void WriteFileReplacing(const std::string& path, std::string_view contents) const override;
  // New folders get the permissions the umask leaves.
  bool MakeDirectories(const std::string& dir) const override;
};

}  // namespace wh
