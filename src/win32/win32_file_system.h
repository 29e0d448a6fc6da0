// The file system through the wide Win32 functions. Paths are UTF-8 inside the
// program; each call converts its path and gives it the "\\?\" form, so that
// paths longer than MAX_PATH work everywhere while the names handed back stay
// as the listing gives them.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace wh {

// `path` as the wide functions should get it: made absolute and normalised as
// the system normalises a path ("/" becomes "\", "." and ".." are resolved),
// then marked "\\?\C:\..." or "\\?\UNC\server\share\..." so that the length
// limit of MAX_PATH doesn't apply. A path already in "\\?\" or "\\.\" form is
// left as it is; the empty path stays empty.
std::wstring ExtendedLengthPath(std::string_view path);

class Win32FileSystem : public FileSystem {
 public:
  char Separator() const override { return '\\'; }

  // The identity is the volume serial number and the file index of the
  // directory that `dir` leads to, so a link and its target share it.
  bool ListDirectory(const std::string& dir, const DirectoryEntrySink& sink,
                     std::optional<DirectoryId>* id) const override;
  // A session opens only the directories that can lead back into the walk:
  // the first, and those reached through a reparse point (a junction or a
  // directory link); ordinary directories form a tree and can't. A directory
  // reached through a reparse point that is the first one's own ordinary
  // subdirectory is declined (List returns false): the walk enters it by its
  // ordinary path.
  std::unique_ptr<ListingSession> BeginListing() const override;
  bool DirectoryExists(const std::string& path) const override;
  bool FileExists(const std::string& path) const override;
  // Reads while other programs have the file open for writing or deleting.
  std::optional<std::string> ReadWholeFile(const std::string& path,
                                           std::size_t maxBytes) const override;
  // Writes a temporary file beside `path`, flushes it to the disk and moves it
  // over `path`. A read-only `path` is refused.
  void WriteFileReplacing(const std::string& path, std::string_view contents) const override;
  bool CanWriteFile(const std::string& path) const override;
  // Makes a file that is gone again when its handle closes, also when the
  // process dies.
  bool CanCreateIn(const std::string& dir) const override;
  bool MakeDirectories(const std::string& dir) const override;
};

}  // namespace wh
