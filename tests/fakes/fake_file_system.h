// An in-memory file system: directories list their entries in the order they
// were added, links to directories share the target's identity, directories
// can be made unreadable and files or folders read-only.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace wh::testing {

class FakeFileSystem : public FileSystem {
 public:
  explicit FakeFileSystem(char separator = '\\') : separator_(separator) {}

  // Each creates the missing parent directories.
  void AddDirectory(const std::string& path);
  void AddFile(const std::string& path, std::string contents = {});
  // A directory entry at `path` that leads to the directory `target`.
  void AddDirectoryLink(const std::string& path, const std::string& target);
  void MakeUnreadable(const std::string& dirPath) { unreadable_.insert(Normal(dirPath)); }
  void MakeReadOnly(const std::string& path) { readOnly_.insert(Normal(path)); }
  void Remove(const std::string& path);

  // The contents of a file, or nullopt.
  std::optional<std::string> Contents(const std::string& path) const;
  int ListingCount() const { return listings_; }
  int WriteCount() const { return writes_; }

  char Separator() const override { return separator_; }
  bool ListDirectory(const std::string& dir, const DirectoryEntrySink& sink,
                     std::optional<DirectoryId>* id) const override;
  bool DirectoryExists(const std::string& path) const override;
  bool FileExists(const std::string& path) const override;
  std::optional<std::string> ReadWholeFile(const std::string& path,
                                           std::size_t maxBytes) const override;
  void WriteFileReplacing(const std::string& path, std::string_view contents) const override;
  bool CanWriteFile(const std::string& path) const override {
    ++probes_;
    return readOnly_.count(Normal(path)) == 0;
  }
  bool CanCreateIn(const std::string& dir) const override {
    ++probes_;
    return readOnly_.count(Normal(dir)) == 0;
  }
  // Refused below a read-only folder.
  bool MakeDirectories(const std::string& dir) const override;
  // How often CanWriteFile and CanCreateIn were asked.
  int ProbeCount() const { return probes_; }

 private:
  struct Node {
    bool isDirectory = false;
    std::string contents;
    std::vector<std::string> children;  // names, in listing order
    std::string linkTarget;             // normalised path, for links
    std::uint64_t id = 0;
  };

  std::string Normal(const std::string& path) const;
  std::string Parent(const std::string& normal) const;
  std::string Leaf(const std::string& normal) const;
  Node* Insert(const std::string& normal, bool isDirectory);
  // Follows links; nullptr when nothing is there.
  const Node* Resolve(const std::string& normal, std::string* resolved = nullptr) const;

  char separator_;
  mutable std::map<std::string, Node> nodes_;
  std::set<std::string> unreadable_;
  std::set<std::string> readOnly_;
  std::uint64_t nextId_ = 1;
  mutable int listings_ = 0;
  mutable int writes_ = 0;
  mutable int probes_ = 0;
};

}  // namespace wh::testing
