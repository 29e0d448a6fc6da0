#include "index/directory_walk.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "base/text.h"
#include "index/wildcard.h"

namespace wh {

namespace {

// The directories a walk has entered. A large tree enters tens of thousands,
// nearly all on one volume: each volume has an open-addressing set of its
// file ids, eight bytes a slot, so that the set stays a small part of what a
// load holds.
class VisitedSet {
 public:
  // False when `id` was there already.
  bool Insert(const DirectoryId& id) {
    for (Volume& v : volumes_) {
      if (v.volume == id.volume) return v.files.Insert(id.file);
    }
    volumes_.push_back(Volume{id.volume, {}});
    return volumes_.back().files.Insert(id.file);
  }

 private:
  class FileSet {
   public:
    bool Insert(std::uint64_t file) {
      // Zero marks a free slot; a file id of zero is kept aside.
      if (file == 0) return !std::exchange(hasZero_, true);
      if ((count_ + 1) * 4 > slots_.size() * 3) Grow();
      const std::size_t mask = slots_.size() - 1;
      for (std::size_t i = Hash(file) & mask;; i = (i + 1) & mask) {
        if (slots_[i] == 0) {
          slots_[i] = file;
          ++count_;
          return true;
        }
        if (slots_[i] == file) return false;
      }
    }

   private:
    static std::size_t Hash(std::uint64_t file) {
      const std::uint64_t h = file * 0x9E3779B97F4A7C15ULL;
      return static_cast<std::size_t>(h ^ (h >> 29));
    }
    void Grow() {
      std::vector<std::uint64_t> old = std::move(slots_);
      slots_.assign(old.empty() ? 256 : old.size() * 2, 0);
      count_ = 0;
      for (std::uint64_t file : old) {
        if (file != 0) Insert(file);
      }
    }

    std::vector<std::uint64_t> slots_;
    std::size_t count_ = 0;
    bool hasZero_ = false;
  };
  struct Volume {
    std::uint64_t volume;
    FileSet files;
  };

  std::vector<Volume> volumes_;
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

namespace {

// Files found in the walk, a few hundred at a time, full paths end to end.
struct FoundBatch {
  std::string paths;
  struct File {
    std::uint32_t offset, length, firstMask;
  };
  std::vector<File> files;
};

// Hands batches from the thread that lists directories to the one that
// indexes what was found; bounded, so that the lister can't run far ahead:
// what waits here is held twice, once more in the index it goes to. A few
// batches are enough to keep both threads busy.
class BatchQueue {
 public:
  static constexpr std::size_t kMostWaiting = 8;

  // False when the reader has stopped listening.
  bool Push(FoundBatch&& batch) {
    std::unique_lock lock(mutex_);
    roomy_.wait(lock, [this] { return batches_.size() < kMostWaiting || stopped_; });
    if (stopped_) return false;
    batches_.push_back(std::move(batch));
    ready_.notify_one();
    return true;
  }
  void Finish(std::exception_ptr error) {
    std::lock_guard lock(mutex_);
    finished_ = true;
    error_ = error;
    ready_.notify_one();
  }
  // False at the end; rethrows what the lister failed with.
  bool Pop(FoundBatch& batch) {
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [this] { return !batches_.empty() || finished_; });
    if (batches_.empty()) {
      if (error_) std::rethrow_exception(error_);
      return false;
    }
    batch = std::move(batches_.front());
    batches_.pop_front();
    roomy_.notify_one();
    return true;
  }
  void Stop() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    roomy_.notify_one();
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_, roomy_;
  std::deque<FoundBatch> batches_;
  bool finished_ = false, stopped_ = false;
  std::exception_ptr error_;
};

// The walk proper, one directory at a time: lists the tree depth first and
// hands each matching file's full path and first mask to a sink that returns
// false to end the walk.
class TreeLister {
 public:
  TreeLister(const FileSystem& fileSystem, const std::string& root,
             const std::vector<PreparedMask>& masks)
      : masks_(masks),
        separator_(fileSystem.Separator()),
        session_(fileSystem.BeginListing()),
        root_(root) {}

  bool Done() const { return !going_ || (rootListed_ && stack_.empty()); }

  // Lists the next directory.
  template <typename Found>
  void Step(Found& found) {
    if (!rootListed_) {
      rootListed_ = true;
      Enter(root_, found);
      return;
    }
    while (!stack_.empty()) {
      Frame& top = stack_.back();
      if (top.next >= top.subdirectories.size()) {
        stack_.pop_back();
        continue;
      }
      const std::string sub = top.dir + top.subdirectories[top.next++];
      Enter(sub, found);
      return;
    }
  }

 private:
  struct Frame {
    std::string dir;  // ends with the separator
    std::vector<std::string> subdirectories;
    std::size_t next = 0;
  };

  // Lists one directory: reports its matching files and remembers its
  // subdirectories for later, unless the walk has been there before.
  template <typename Found>
  void Enter(std::string dir, Found& found) {
    if (dir.empty() || dir.back() != separator_) dir.push_back(separator_);
    Frame frame;
    std::optional<DirectoryId> id;
    bool checked = false;
    bool skip = false;
    auto check = [&] {
      if (checked) return;
      checked = true;
      skip = id ? !visited_.Insert(*id) : dir.size() >= kLongestPath;
    };
    session_->List(
        dir,
        [&](std::string_view name, bool isDirectory) {
          check();
          if (skip || !going_) return;
          if (isDirectory) {
            if (!name.starts_with('.')) frame.subdirectories.emplace_back(name);
            return;
          }
          for (std::size_t m = 0; m < masks_.size(); ++m) {
            if (masks_[m].Matches(name, scratch_)) {
              path_.assign(dir);
              path_.append(name);
              going_ = found(path_, m);
              break;
            }
          }
        },
        &id);
    check();
    if (skip || frame.subdirectories.empty()) return;
    frame.dir = std::move(dir);
    stack_.push_back(std::move(frame));
  }

  const std::vector<PreparedMask>& masks_;
  const char separator_;
  const std::unique_ptr<ListingSession> session_;
  const std::string root_;
  VisitedSet visited_;
  std::vector<Frame> stack_;
  std::string scratch_, path_;
  bool rootListed_ = false;
  bool going_ = true;
};

// The listing thread's part: the rest of the tree into `queue`, a batch at a
// time, until it is listed or the reader stops listening. What the listing
// throws is handed to the reader with the end of the queue.
void ListAhead(TreeLister& lister, BatchQueue& queue) {
  try {
    FoundBatch batch;
    bool listening = true;
    auto batched = [&](std::string_view path, std::size_t firstMask) {
      batch.files.push_back({static_cast<std::uint32_t>(batch.paths.size()),
                             static_cast<std::uint32_t>(path.size()),
                             static_cast<std::uint32_t>(firstMask)});
      batch.paths.append(path);
      if (batch.files.size() >= 256) {
        listening = queue.Push(std::move(batch));
        batch = FoundBatch();
      }
      return listening;
    };
    while (listening && !lister.Done()) lister.Step(batched);
    if (listening && !batch.files.empty()) queue.Push(std::move(batch));
    queue.Finish(nullptr);
  } catch (...) {
    queue.Finish(std::current_exception());
  }
}

// The caller's part: the listed files, in walk order, to `onFile`.
void TakeQueued(BatchQueue& queue, const FoundFileSink& onFile) {
  FoundBatch batch;
  while (queue.Pop(batch)) {
    for (const FoundBatch::File& f : batch.files) {
      onFile(std::string_view(batch.paths).substr(f.offset, f.length), f.firstMask);
    }
  }
}

// Small trees (a Start Menu) are walked on the caller's thread; past this
// many directories a second thread takes over the listing.
constexpr int kDirectoriesBeforeThread = 256;

}  // namespace

std::thread StartThread(std::function<void()> work) { return std::thread(std::move(work)); }

void WalkTree(const FileSystem& fileSystem, const std::string& root,
              const std::vector<std::string>& masks, const FoundFileSink& onFile,
              ThreadStarter startThread) {
  std::vector<PreparedMask> prepared;
  for (const std::string& m : masks) prepared.emplace_back(m);

  TreeLister lister(fileSystem, root, prepared);
  auto direct = [&onFile](std::string_view path, std::size_t firstMask) {
    onFile(path, firstMask);
    return true;
  };
  for (int listed = 0; !lister.Done() && listed < kDirectoriesBeforeThread; ++listed) {
    lister.Step(direct);
  }
  if (lister.Done()) return;

  // A large tree: listing directories is mostly the system's work, indexing
  // what they hold ours. A second thread lists ahead while this one takes the
  // files in walk order, so that the two overlap. The walk is over when this
  // returns.
  BatchQueue queue;
  std::thread listing;
  try {
    listing = startThread([&] { ListAhead(lister, queue); });
  } catch (const std::system_error&) {
    // Out of threads: the rest is listed here, as a small tree is.
    while (!lister.Done()) lister.Step(direct);
    return;
  }
  // Whatever the indexing throws, the lister is stopped and waited for.
  struct Join {
    BatchQueue& queue;
    std::thread& thread;
    ~Join() {
      queue.Stop();
      thread.join();
    }
  } join{queue, listing};
  TakeQueued(queue, onFile);
}

}  // namespace wh
