#include "index/directory_walk.h"

#include "index/text.h"
#include "index/wildcard.h"

namespace wh {

namespace {

// The directories a walk has entered: an open-addressing set, since a large
// tree enters tens of thousands.
class VisitedSet {
 public:
  // False when `id` was there already.
  bool Insert(const DirectoryId& id) {
    if ((count_ + 1) * 2 > slots_.size()) Grow();
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = Hash(id) & mask;; i = (i + 1) & mask) {
      if (!occupied_[i]) {
        slots_[i] = id;
        occupied_[i] = true;
        ++count_;
        return true;
      }
      if (slots_[i] == id) return false;
    }
  }

 private:
  static std::size_t Hash(const DirectoryId& id) {
    std::uint64_t h = (id.file ^ (id.volume * 0x9E3779B97F4A7C15ULL)) * 0xff51afd7ed558ccdULL;
    return static_cast<std::size_t>(h ^ (h >> 32));
  }
  void Grow() {
    std::vector<DirectoryId> old = std::move(slots_);
    std::vector<bool> oldUsed = std::move(occupied_);
    slots_.assign(old.empty() ? 256 : old.size() * 2, DirectoryId{});
    occupied_.assign(slots_.size(), false);
    count_ = 0;
    for (std::size_t i = 0; i < old.size(); ++i) {
      if (oldUsed[i]) Insert(old[i]);
    }
  }

  std::vector<DirectoryId> slots_;
  std::vector<bool> occupied_;
  std::size_t count_ = 0;
};

// A mask made ready for many names: upper-cased once, and "*.ext" masks
// (nearly all of them) tested as a suffix.
struct PreparedMask {
  std::string upper;
  std::string suffix;  // ".EXT" when the mask is "*.EXT" with no other wild card
  bool isSuffix = false;

  explicit PreparedMask(std::string_view mask) : upper(AsciiUpper(mask)) {
    if (upper.size() >= 2 && upper[0] == '*' && upper.find_first_of("*?", 1) == std::string::npos) {
      suffix = upper.substr(1);
      isSuffix = true;
    }
  }

  bool Matches(std::string_view name, std::string& scratch) const {
    if (isSuffix) {
      return name.size() >= suffix.size() &&
             AsciiEqualIgnoringCase(name.substr(name.size() - suffix.size()), suffix);
    }
    scratch.assign(name);
    for (char& c : scratch) c = AsciiUpper(c);
    return GlobMatch(scratch, upper);
  }
};

// Paths can't grow past this on any platform we run on; it ends a walk where
// the platform can't tell directories apart.
constexpr std::size_t kLongestPath = 32767;

}  // namespace

bool MaskMatches(std::string_view name, std::string_view mask) {
  std::string scratch;
  return PreparedMask(mask).Matches(name, scratch);
}

void WalkTree(const FileSystem& fileSystem, const std::string& root,
              const std::vector<std::string>& masks, const FoundFileSink& onFile) {
  const char separator = fileSystem.Separator();
  std::vector<PreparedMask> prepared;
  for (const std::string& m : masks) prepared.emplace_back(m);

  VisitedSet visited;
  struct Frame {
    std::string dir;  // ends with the separator
    std::vector<std::string> subdirectories;
    std::size_t next = 0;
  };
  std::vector<Frame> stack;
  std::string scratch;
  std::string path;

  // Lists one directory: reports its matching files and remembers its
  // subdirectories for later, unless the walk has been there before.
  auto enter = [&](std::string dir) {
    if (dir.empty() || dir.back() != separator) dir.push_back(separator);
    Frame frame;
    std::optional<DirectoryId> id;
    bool checked = false;
    bool skip = false;
    auto check = [&] {
      if (checked) return;
      checked = true;
      skip = id ? !visited.Insert(*id) : dir.size() >= kLongestPath;
    };
    fileSystem.ListDirectory(
        dir,
        [&](std::string_view name, bool isDirectory) {
          check();
          if (skip) return;
          if (isDirectory) {
            if (!name.starts_with('.')) frame.subdirectories.emplace_back(name);
            return;
          }
          for (std::size_t m = 0; m < prepared.size(); ++m) {
            if (prepared[m].Matches(name, scratch)) {
              path.assign(dir);
              path.append(name);
              onFile(path, m);
              break;
            }
          }
        },
        &id);
    check();
    if (skip || frame.subdirectories.empty()) return;
    frame.dir = std::move(dir);
    stack.push_back(std::move(frame));
  };

  enter(root);
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (top.next >= top.subdirectories.size()) {
      stack.pop_back();
      continue;
    }
    const std::string sub = top.dir + top.subdirectories[top.next++];
    enter(sub);
  }
}

}  // namespace wh
