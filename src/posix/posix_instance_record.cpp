#include "posix/posix_instance_record.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace wh {
namespace {

constexpr off_t kLifeByte = 0;
constexpr off_t kGateByte = 1;
// A start that keeps finding its object removed under it gives up at last
// rather than spin; each retry needs another process to end meanwhile.
constexpr int kMaxAttempts = 64;

SystemError ErrorOf(int code) {
  return SystemError(static_cast<std::uint32_t>(code), std::strerror(code));
}

SystemError LastError() { return ErrorOf(errno); }

// One byte's open-file-description lock. `wait` blocks until granted.
bool SetLock(int fd, short type, off_t byte, bool wait) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = byte;
  lock.l_len = 1;
  lock.l_pid = 0;
  while (fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

// An open object descriptor, closed with its locks when it goes.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

// Holds the gate of an object for one decision.
class Gate {
 public:
  explicit Gate(int fd) : fd_(fd), held_(SetLock(fd, F_WRLCK, kGateByte, true)) {}
  ~Gate() {
    if (held_) SetLock(fd_, F_UNLCK, kGateByte, false);
  }
  Gate(const Gate&) = delete;
  Gate& operator=(const Gate&) = delete;
  bool Held() const { return held_; }

 private:
  int fd_;
  bool held_;
};

class PosixMappedInstanceRecord : public MappedInstanceRecord {
 public:
  PosixMappedInstanceRecord(int fd, void* view, std::string objectName)
      : fd_(fd), view_(view), objectName_(std::move(objectName)) {}

  ~PosixMappedInstanceRecord() override {
    munmap(view_, sizeof(InstanceRecord));
    {
      // The last holder removes the object; turning our shared life lock
      // into an exclusive one succeeds only when no other open holds it.
      // Otherwise our lock goes while the gate is still ours, so that the
      // holder closing after us can't mistake us for a live one.
      Gate gate(fd_);
      struct stat st;
      if (gate.Held() && fstat(fd_, &st) == 0 && st.st_nlink > 0 &&
          SetLock(fd_, F_WRLCK, kLifeByte, false)) {
        shm_unlink(objectName_.c_str());
      } else {
        SetLock(fd_, F_UNLCK, kLifeByte, false);
      }
    }
    close(fd_);
  }

  InstanceRecord& Record() override { return *static_cast<InstanceRecord*>(view_); }

 private:
  int fd_;
  void* view_;
  std::string objectName_;
};

void AppendHex(std::string& out, std::uint64_t value) {
  char digits[17];
  std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(value));
  out += digits;
}

std::uint64_t Fnv1a64(std::string_view text) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 0x100000001b3ull;
  }
  return hash;
}

// An object opened by name with its gate held; `error` is 0 on success,
// ENOENT when there is no such object, ESTALE when it lost its name before
// the gate was ours, else the errno of the failed call.
// Members go in reverse order: the gate is let go before the descriptor
// closes.
struct GatedObject {
  std::unique_ptr<Descriptor> fd;
  std::unique_ptr<Gate> gate;
  int error = 0;
};

GatedObject OpenUnderGate(const std::string& objectName, bool create) {
  GatedObject object;
  const int flags = O_RDWR | (create ? O_CREAT : 0);
  object.fd = std::make_unique<Descriptor>(shm_open(objectName.c_str(), flags, 0600));
  if (object.fd->Get() < 0) {
    object.error = errno;
    return object;
  }
  object.gate = std::make_unique<Gate>(object.fd->Get());
  struct stat st;
  if (!object.gate->Held() || fstat(object.fd->Get(), &st) != 0) {
    object.error = errno;
  } else if (st.st_nlink == 0) {
    object.error = ESTALE;
  }
  return object;
}

void* MapRecord(int fd) {
  void* view = mmap(nullptr, sizeof(InstanceRecord), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  return view == MAP_FAILED ? nullptr : view;
}

}  // namespace

std::string SharedMemoryObjectName(std::string_view recordName) {
  std::string name = "/wordhopper-" + std::to_string(geteuid()) + "-";
  for (char c : recordName) {
    switch (c) {
      case '%':
        name += "%25";
        break;
      case '/':
        name += "%2F";
        break;
      case '\0':
        name += "%00";
        break;
      default:
        name += c;
    }
  }
  // With the leading slash the name may take NAME_MAX bytes: the object's
  // file name is the rest, one shorter than the limit.
  constexpr std::size_t kLimit = NAME_MAX;
  constexpr std::size_t kHashTail = 2 + 16;
  if (name.size() > kLimit) {
    const std::uint64_t hash = Fnv1a64(name);
    name.resize(kLimit - kHashTail);
    name += "%H";
    AppendHex(name, hash);
  }
  return name;
}

InstanceMappings::Created PosixInstanceMappings::Create(const std::string& name) {
  const std::string objectName = SharedMemoryObjectName(name);
  for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
    GatedObject object = OpenUnderGate(objectName, true);
    if (object.error == ENOENT || object.error == ESTALE) continue;
    if (object.error != 0) throw ErrorOf(object.error);
    Descriptor& fd = *object.fd;

    Created created;
    if (SetLock(fd.Get(), F_WRLCK, kLifeByte, false)) {
      // No live holder: new, or left by a copy that ended without letting go.
      if (ftruncate(fd.Get(), 0) != 0 ||
          ftruncate(fd.Get(), static_cast<off_t>(sizeof(InstanceRecord))) != 0) {
        throw LastError();
      }
      created.alreadyExisted = false;
    } else if (errno == EAGAIN || errno == EACCES) {
      struct stat st;
      if (fstat(fd.Get(), &st) != 0) throw LastError();
      if (st.st_size < static_cast<off_t>(sizeof(InstanceRecord)) &&
          ftruncate(fd.Get(), static_cast<off_t>(sizeof(InstanceRecord))) != 0) {
        throw LastError();
      }
      created.alreadyExisted = true;
    } else {
      throw LastError();
    }
    // Shared from here on. Turning exclusive into shared is one step, so
    // the object never shows no holder in between.
    if (!SetLock(fd.Get(), F_RDLCK, kLifeByte, false)) throw LastError();
    void* view = MapRecord(fd.Get());
    if (view == nullptr) throw LastError();
    object.gate.reset();
    created.mapping = std::make_unique<PosixMappedInstanceRecord>(fd.Release(), view, objectName);
    return created;
  }
  throw ErrorOf(EAGAIN);
}

std::unique_ptr<MappedInstanceRecord> PosixInstanceMappings::Open(const std::string& name) {
  const std::string objectName = SharedMemoryObjectName(name);
  for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
    GatedObject object = OpenUnderGate(objectName, false);
    if (object.error == ESTALE) continue;
    if (object.error != 0) return nullptr;
    Descriptor& fd = *object.fd;
    struct stat st;
    if (fstat(fd.Get(), &st) != 0 || st.st_size < static_cast<off_t>(sizeof(InstanceRecord))) {
      return nullptr;
    }
    if (!SetLock(fd.Get(), F_RDLCK, kLifeByte, false)) return nullptr;
    void* view = MapRecord(fd.Get());
    if (view == nullptr) return nullptr;
    object.gate.reset();
    return std::make_unique<PosixMappedInstanceRecord>(fd.Release(), view, objectName);
  }
  return nullptr;
}

}  // namespace wh
