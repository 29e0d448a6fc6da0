// Move-only owners of Win32 handles: the handle is closed when its owner goes,
// so an early return or an exception leaks nothing. There is no implicit
// conversion back to the raw handle; Get() says where the raw handle is used.
#pragma once

#include <windows.h>

#include <utility>

namespace wh {

template <typename Traits>
class ScopedOwner {
 public:
  using Raw = typename Traits::Raw;

  ScopedOwner() noexcept = default;
  explicit ScopedOwner(Raw raw) noexcept : raw_(raw) {}
  ScopedOwner(ScopedOwner&& other) noexcept : raw_(other.Release()) {}
  ScopedOwner& operator=(ScopedOwner&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  ScopedOwner(const ScopedOwner&) = delete;
  ScopedOwner& operator=(const ScopedOwner&) = delete;
  ~ScopedOwner() { Reset(); }

  bool Valid() const noexcept { return Traits::Valid(raw_); }
  Raw Get() const noexcept { return raw_; }

  // Closes what is owned and gives the address for a function that hands a
  // new handle out through a pointer (RegOpenKeyExW and the like).
  Raw* Receive() noexcept {
    Reset();
    return &raw_;
  }

  // Gives the handle up without closing it.
  Raw Release() noexcept { return std::exchange(raw_, Traits::Empty()); }

  void Reset(Raw raw = Traits::Empty()) noexcept {
    Raw old = std::exchange(raw_, raw);
    if (Traits::Valid(old)) Traits::Close(old);
  }

 private:
  Raw raw_ = Traits::Empty();
};

// Kernel object handles. Some functions fail with NULL, others with
// INVALID_HANDLE_VALUE: neither is owned.
struct KernelHandleTraits {
  using Raw = HANDLE;
  static Raw Empty() noexcept { return nullptr; }
  static bool Valid(Raw raw) noexcept { return raw != nullptr && raw != INVALID_HANDLE_VALUE; }
  static void Close(Raw raw) noexcept { CloseHandle(raw); }
};

// Directory searches of FindFirstFileExW, which FindClose ends.
struct FindHandleTraits {
  using Raw = HANDLE;
  static Raw Empty() noexcept { return INVALID_HANDLE_VALUE; }
  static bool Valid(Raw raw) noexcept { return raw != nullptr && raw != INVALID_HANDLE_VALUE; }
  static void Close(Raw raw) noexcept { FindClose(raw); }
};

struct RegistryKeyTraits {
  using Raw = HKEY;
  static Raw Empty() noexcept { return nullptr; }
  static bool Valid(Raw raw) noexcept { return raw != nullptr; }
  static void Close(Raw raw) noexcept { RegCloseKey(raw); }
};

using ScopedHandle = ScopedOwner<KernelHandleTraits>;
using ScopedFindHandle = ScopedOwner<FindHandleTraits>;
using ScopedRegistryKey = ScopedOwner<RegistryKeyTraits>;

}  // namespace wh
