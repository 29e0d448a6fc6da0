// The file-system operations the index and the settings file need. One
// implementation per platform (win32/, posix/), and an in-memory fake for
// tests. All paths are UTF-8.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace wh {

// Identifies a directory on its volume, whatever the path used to reach it,
// so that a walk can tell it has been there before (links, junctions).
struct DirectoryId {
  std::uint64_t volume = 0;
  std::uint64_t file = 0;
  friend bool operator==(const DirectoryId&, const DirectoryId&) = default;
};

// Receives one entry of a directory listing: its name (the long name, never a
// path) and whether the listing marks it as a directory. Links to directories
// count as directories.
using DirectoryEntrySink = std::function<void(std::string_view name, bool isDirectory)>;

// Thrown by WriteFileReplacing when the system refuses the write; what() is
// "Unable to write to <path>".
class FileWriteError : public std::runtime_error {
 public:
  explicit FileWriteError(const std::string& path)
      : std::runtime_error("Unable to write to " + path), path(path) {}
  std::string path;
};

class FileSystem;

// Lists many directories of one tree, one after another, as a walk does. An
// implementation may keep directories open for the session to reach their
// subdirectories quicker; what it keeps dies with the session, so nothing of a
// tree that has changed since is used. Listing behaves as
// FileSystem::ListDirectory.
class ListingSession {
 public:
  virtual ~ListingSession() = default;
  virtual bool List(const std::string& dir, const DirectoryEntrySink& sink,
                    std::optional<DirectoryId>* id) = 0;
};

// A walk may list directories on a thread other than the one that made the
// file system, one call at a time: the listing calls keep no state of their
// own outside a ListingSession.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The separator that the platform puts between path components.
  virtual char Separator() const = 0;

  // Lists the entries of `dir` (with or without a trailing separator) in the
  // order the system returns them, "." and ".." included where the system
  // reports them. Returns false, having called `sink` for nothing, when the
  // listing can't be started; an error in the middle ends the listing early
  // but still returns true. When `id` is given it receives the directory's
  // identity, or nullopt where the platform can't tell, before `sink` is
  // first called.
  virtual bool ListDirectory(const std::string& dir, const DirectoryEntrySink& sink,
                             std::optional<DirectoryId>* id) const = 0;

  // A session for listing one tree; by default it lists as ListDirectory.
  virtual std::unique_ptr<ListingSession> BeginListing() const;

  // True when `path` exists and is a directory (links to directories count).
  virtual bool DirectoryExists(const std::string& path) const = 0;

  // True when `path` names an existing entry that is not a directory.
  virtual bool FileExists(const std::string& path) const = 0;

  // Reads the whole file. nullopt when it doesn't exist, is a directory, or
  // can't be read; a file larger than `maxBytes` also gives nullopt.
  virtual std::optional<std::string> ReadWholeFile(const std::string& path,
                                                   std::size_t maxBytes) const = 0;

  // Replaces the file at `path` by `contents` as one step: readers see the old
  // file or the new one, never a part. A POSIX symbolic link at `path` stays;
  // the file it leads to is replaced. A writable file in a folder where no new
  // file can be made is rewritten in place instead. Throws FileWriteError when
  // the system refuses; the old file then stays as it was.
  virtual void WriteFileReplacing(const std::string& path, std::string_view contents) const = 0;

  // The path the user means by a typed text, read as the user's shell reads
  // it: on POSIX a leading "~" or "~user" is that user's home folder. As
  // typed by default; "~" means nothing to Windows.
  virtual std::string ExpandTypedPath(std::string_view typed) const { return std::string(typed); }

  // True when this user may rewrite the existing file at `path`, and when a
  // new file may be made in the existing folder `dir`. A system that can't
  // tell says yes and leaves the answer to the write itself.
  virtual bool CanWriteFile(const std::string& path) const {
    (void)path;
    return true;
  }
  virtual bool CanCreateIn(const std::string& dir) const {
    (void)dir;
    return true;
  }

  // Makes the folder `dir` (a trailing separator allowed) and any missing
  // folder above it. True when it is there afterwards. A system that can't
  // make folders only says whether it is there.
  virtual bool MakeDirectories(const std::string& dir) const { return DirectoryExists(dir); }
};

inline std::unique_ptr<ListingSession> FileSystem::BeginListing() const {
  class Plain : public ListingSession {
   public:
    explicit Plain(const FileSystem& fileSystem) : fileSystem_(fileSystem) {}
    bool List(const std::string& dir, const DirectoryEntrySink& sink,
              std::optional<DirectoryId>* id) override {
      return fileSystem_.ListDirectory(dir, sink, id);
    }

   private:
    const FileSystem& fileSystem_;
  };
  return std::make_unique<Plain>(*this);
}

}  // namespace wh
