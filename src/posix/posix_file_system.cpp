#include "posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/syscall.h>
#endif

#include <cerrno>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "posix/tilde_expansion.h"

namespace wh {

namespace {

struct DirCloser {
  void operator()(DIR* d) const { closedir(d); }
};

struct Fd {
  int fd = -1;
  explicit Fd(int f) : fd(f) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd >= 0) close(fd);
  }
};

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

namespace {

void ReportIdentity(int fd, std::optional<DirectoryId>* id) {
  if (!id) return;
  struct stat st;
  if (fstat(fd, &st) == 0) {
    *id = DirectoryId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
  } else {
    id->reset();
  }
}

// A link, or a file system that doesn't say, costs a stat to tell whether
// the entry leads to a directory.
bool IsDirectoryEntry(int dirFd, const char* name, unsigned char type) {
  if (type == DT_DIR) return true;
  if (type != DT_LNK && type != DT_UNKNOWN) return false;
  struct stat st;
  return fstatat(dirFd, name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}

#ifdef __linux__
struct LinuxDirent64 {
  std::uint64_t d_ino;
  std::int64_t d_off;
  unsigned short d_reclen;
  unsigned char d_type;
  char d_name[1];
};
#endif

}  // namespace

namespace {

// Lists the open directory `fd`; the caller keeps and closes it.
void ListOpenDirectory(int fd, const DirectoryEntrySink& sink, std::optional<DirectoryId>* id) {
  ReportIdentity(fd, id);
#ifdef __linux__
  // Read directly: opendir would add a stat and a buffer per directory.
  alignas(8) char buffer[32768];
  while (true) {
    const long got = syscall(SYS_getdents64, fd, buffer, sizeof buffer);
    if (got <= 0) break;  // the end, or an error: either way the listing is over
    for (long offset = 0; offset < got;) {
      const auto* entry = reinterpret_cast<const LinuxDirent64*>(buffer + offset);
      offset += entry->d_reclen;
      sink(entry->d_name, IsDirectoryEntry(fd, entry->d_name, entry->d_type));
    }
  }
#else
  const int own = dup(fd);
  if (own < 0) return;
  std::unique_ptr<DIR, DirCloser> d(fdopendir(own));
  if (!d) {
    close(own);
    return;
  }
  while (const dirent* entry = readdir(d.get())) {
    sink(entry->d_name, IsDirectoryEntry(dirfd(d.get()), entry->d_name, entry->d_type));
  }
#endif
}

constexpr int kOpenDirectory = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

class PosixListingSession : public ListingSession {
 public:
  ~PosixListingSession() override {
    for (const Level& level : chain_) {
      if (level.fd >= 0) close(level.fd);
    }
  }

  bool List(const std::string& dir, const DirectoryEntrySink& sink,
            std::optional<DirectoryId>* id) override {
    std::string path = dir.empty() ? std::string("./") : dir;
    if (path.back() != '/') path.push_back('/');
    // Leave the levels that are not on the way to this directory.
    while (!chain_.empty() && (path.size() <= chain_.back().end ||
                               std::string_view(path).substr(0, chain_.back().end) !=
                                   std::string_view(path_).substr(0, chain_.back().end))) {
      if (chain_.back().fd >= 0) close(chain_.back().fd);
      chain_.pop_back();
    }
    const std::string_view rest =
        chain_.empty()
            ? std::string_view()
            : std::string_view(path).substr(chain_.back().end, path.size() - chain_.back().end - 1);
    int fd = -1;
    if (!rest.empty() && rest.find('/') == std::string_view::npos && rest != "." && rest != "..") {
      // One level below the last: opened relative to its parent, so that no
      // path grows past the system's limit however deep the tree.
      const int parent = ParentFd(path);
      if (parent < 0) return false;
      fd = openat(parent, std::string(rest).c_str(), kOpenDirectory);
    } else {
      for (const Level& level : chain_) {
        if (level.fd >= 0) close(level.fd);
      }
      chain_.clear();
      fd = open(path.c_str(), kOpenDirectory);
    }
    if (fd < 0) return false;
    Fd owned(fd);  // closed if the sink throws
    ListOpenDirectory(fd, sink, id);
    path_ = std::move(path);
    chain_.push_back({path_.size(), fd});
    owned.fd = -1;
    // Only the deepest levels keep their descriptors, and the first, which
    // was opened by its path.
    const std::size_t n = chain_.size();
    if (n > kKept + 1 && chain_[n - 1 - kKept].fd >= 0) {
      close(chain_[n - 1 - kKept].fd);
      chain_[n - 1 - kKept].fd = -1;
    }
    return true;
  }

 private:
  struct Level {
    std::size_t end;  // the length of its path (with the separator) in path_
    int fd;           // -1 once closed to keep the count of descriptors down
  };

  // The descriptor of the last level, reopened level by level from the
  // nearest one still open when it was closed. `path` begins with the
  // levels' path.
  int ParentFd(const std::string& path) {
    std::size_t open = chain_.size() - 1;
    while (chain_[open].fd < 0) --open;  // the first level is never closed
    for (std::size_t i = open + 1; i < chain_.size(); ++i) {
      const std::size_t from = chain_[i - 1].end;
      const std::string name = path.substr(from, chain_[i].end - from - 1);
      chain_[i].fd = openat(chain_[i - 1].fd, name.c_str(), kOpenDirectory);
      if (chain_[i].fd < 0) return -1;
      if (i - 1 > open && i - 1 + kKept < chain_.size()) {
        close(chain_[i - 1].fd);
        chain_[i - 1].fd = -1;
      }
    }
    return chain_.back().fd;
  }

  static constexpr std::size_t kKept = 32;  // descriptors kept below the first
  std::vector<Level> chain_;                // each level inside the one before
  std::string path_;                        // the path of the last level
};

}  // namespace

bool PosixFileSystem::ListDirectory(const std::string& dir, const DirectoryEntrySink& sink,
                                    std::optional<DirectoryId>* id) const {
  Fd fd(open(dir.empty() ? "." : dir.c_str(), kOpenDirectory));
  if (fd.fd < 0) return false;
  ListOpenDirectory(fd.fd, sink, id);
  return true;
}

std::unique_ptr<ListingSession> PosixFileSystem::BeginListing() const {
  return std::make_unique<PosixListingSession>();
}

bool PosixFileSystem::DirectoryExists(const std::string& path) const {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PosixFileSystem::FileExists(const std::string& path) const {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::optional<std::string> PosixFileSystem::ReadWholeFile(const std::string& path,
                                                          std::size_t maxBytes) const {
  Fd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.fd < 0) return std::nullopt;
  struct stat st;
  if (fstat(fd.fd, &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  if (static_cast<std::uint64_t>(st.st_size) > maxBytes) return std::nullopt;
  std::string data;
  char buffer[65536];
  while (true) {
    const ssize_t n = read(fd.fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (n == 0) break;
    data.append(buffer, static_cast<std::size_t>(n));
    if (data.size() > maxBytes) return std::nullopt;  // grew while being read
  }
  return data;
}

namespace {

// What a settings path stands for: a symbolic link (a dotfile manager's) is
// followed to the file it names, so that the file is replaced and the link
// stays. nullopt for a link that can't be read or that loops.
std::optional<std::string> FollowLinks(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
    const ssize_t n = readlink(path.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) return std::nullopt;
    target.resize(static_cast<std::size_t>(n));
    const std::size_t slash = path.rfind('/');
    if (target.front() != '/' && slash != std::string::npos) {
      target.insert(0, path, 0, slash + 1);
    }
    path = std::move(target);
  }
  return std::nullopt;
}

bool ReadAll(int fd, std::string& data) {
  char buffer[65536];
  while (true) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return true;
    data.append(buffer, static_cast<std::size_t>(n));
  }
}

bool WriteWhole(int fd, std::string_view contents) {
  return lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, contents) &&
         ftruncate(fd, static_cast<off_t>(contents.size())) == 0 && fsync(fd) == 0;
}

// For a file that may be written in a folder that may not: no temporary file
// can go beside it, so the file itself is rewritten. Should that write fail
// part way, the old contents are put back.
bool RewriteInPlace(const std::string& path, std::string_view contents) {
  Fd fd(open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK));
  if (fd.fd < 0) return false;
  struct stat st;
  std::string old;
  if (fstat(fd.fd, &st) != 0 || !S_ISREG(st.st_mode) || !ReadAll(fd.fd, old)) return false;
  if (WriteWhole(fd.fd, contents)) return true;
  WriteWhole(fd.fd, old);
  return false;
}

}  // namespace

void PosixFileSystem::WriteFileReplacing(const std::string& path, std::string_view contents) const {
  const std::optional<std::string> target = FollowLinks(path);
  if (!target) throw FileWriteError{path};
  // A read-only settings file stays as the user made it, as it would on
  // Windows, although a rename could replace it.
  struct stat existing;
  const bool exists = stat(target->c_str(), &existing) == 0;
  if (exists && ((existing.st_mode & 0222) == 0 || access(target->c_str(), W_OK) != 0)) {
    throw FileWriteError{path};
  }
  std::string temp = *target + ".XXXXXX";
  Fd fd(mkstemp(temp.data()));
  if (fd.fd < 0) {
    if (exists && RewriteInPlace(*target, contents)) return;
    throw FileWriteError{path};
  }
  // Keep the permissions the settings file had.
  fchmod(fd.fd, exists ? (existing.st_mode & 07777) : 0644);
  if (!WriteAll(fd.fd, contents) || fsync(fd.fd) != 0 ||
      rename(temp.c_str(), target->c_str()) != 0) {
    unlink(temp.c_str());
    throw FileWriteError{path};
  }
}

std::string PosixFileSystem::ExpandTypedPath(std::string_view typed) const {
  return ExpandTilde(typed);
}

bool PosixFileSystem::MakeDirectories(const std::string& dir) const {
  std::string path = dir;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  if (path.empty() || DirectoryExists(path)) return DirectoryExists(path);
  const std::size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeDirectories(path.substr(0, slash))) {
    return false;
  }
  return (mkdir(path.c_str(), 0777) == 0 || errno == EEXIST) && DirectoryExists(path);
}

}  // namespace wh
