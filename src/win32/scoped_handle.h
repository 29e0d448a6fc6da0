// Move-only owners of Win32 handles, GDI objects, device contexts and COM
// resources: what is owned is released when its owner goes, so an early
// return or an exception leaks nothing and nothing is released by hand. There
// is no implicit conversion back to the raw handle; Get() says where the raw
// handle is used.
#pragma once

#include <windows.h>

#include <objbase.h>

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

// GDI objects made by the program (fonts, brushes, pens, bitmaps). Never
// give one a stock object or one that is still selected into a DC.
template <typename Handle>
struct GdiObjectTraits {
  using Raw = Handle;
  static Raw Empty() noexcept { return nullptr; }
  static bool Valid(Raw raw) noexcept { return raw != nullptr; }
  static void Close(Raw raw) noexcept { DeleteObject(raw); }
};

// Device contexts made by CreateCompatibleDC and the like.
struct MemoryDCTraits {
  using Raw = HDC;
  static Raw Empty() noexcept { return nullptr; }
  static bool Valid(Raw raw) noexcept { return raw != nullptr; }
  static void Close(Raw raw) noexcept { DeleteDC(raw); }
};

// Icons made by LoadImageW without LR_SHARED, CreateIcon and the like; shared
// icons (LoadIconW) belong to the system and must not be owned.
struct IconTraits {
  using Raw = HICON;
  static Raw Empty() noexcept { return nullptr; }
  static bool Valid(Raw raw) noexcept { return raw != nullptr; }
  static void Close(Raw raw) noexcept { DestroyIcon(raw); }
};

// Menus not attached to a window (a window destroys its own menu bar).
struct MenuTraits {
  using Raw = HMENU;
  static Raw Empty() noexcept { return nullptr; }
  static bool Valid(Raw raw) noexcept { return raw != nullptr; }
  static void Close(Raw raw) noexcept { DestroyMenu(raw); }
};

// Memory the system handed out with LocalAlloc (FormatMessageW's buffer).
template <typename Pointer>
struct LocalMemoryTraits {
  using Raw = Pointer;
  static Raw Empty() noexcept { return nullptr; }
  static bool Valid(Raw raw) noexcept { return raw != nullptr; }
  static void Close(Raw raw) noexcept {
    LocalFree(const_cast<void*>(static_cast<const void*>(raw)));
  }
};

// Memory a COM function handed out (CoTaskMemAlloc): item ID lists, strings.
template <typename Pointer>
struct CoTaskMemoryTraits {
  using Raw = Pointer;
  static Raw Empty() noexcept { return nullptr; }
  static bool Valid(Raw raw) noexcept { return raw != nullptr; }
  static void Close(Raw raw) noexcept {
    CoTaskMemFree(const_cast<void*>(static_cast<const void*>(raw)));
  }
};

// Views of a file mapping (MapViewOfFile).
template <typename Pointer>
struct MappedViewTraits {
  using Raw = Pointer;
  static Raw Empty() noexcept { return nullptr; }
  static bool Valid(Raw raw) noexcept { return raw != nullptr; }
  static void Close(Raw raw) noexcept { UnmapViewOfFile(raw); }
};

using ScopedHandle = ScopedOwner<KernelHandleTraits>;
using ScopedFindHandle = ScopedOwner<FindHandleTraits>;
using ScopedRegistryKey = ScopedOwner<RegistryKeyTraits>;
using ScopedFont = ScopedOwner<GdiObjectTraits<HFONT>>;
using ScopedBrush = ScopedOwner<GdiObjectTraits<HBRUSH>>;
using ScopedPen = ScopedOwner<GdiObjectTraits<HPEN>>;
using ScopedBitmap = ScopedOwner<GdiObjectTraits<HBITMAP>>;
using ScopedMemoryDC = ScopedOwner<MemoryDCTraits>;
using ScopedIcon = ScopedOwner<IconTraits>;
using ScopedMenu = ScopedOwner<MenuTraits>;
template <typename T>
using ScopedLocalMemory = ScopedOwner<LocalMemoryTraits<T*>>;
template <typename T>
using ScopedCoTaskMemory = ScopedOwner<CoTaskMemoryTraits<T*>>;
template <typename T>
using ScopedMappedView = ScopedOwner<MappedViewTraits<T*>>;

// A device context of a window (or of the screen for a null window) from
// GetDC, given back with ReleaseDC.
class WindowDC {
 public:
  explicit WindowDC(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  HDC Get() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// The painting of one WM_PAINT: BeginPaint now, EndPaint when it goes.
class PaintDC {
 public:
  explicit PaintDC(HWND window) noexcept : window_(window) { dc_ = BeginPaint(window, &paint_); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  ~PaintDC() { EndPaint(window_, &paint_); }
  HDC Get() const noexcept { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_ = nullptr;
};

// An object selected into a DC for a while; the one it replaced is selected
// back when this goes, so the object can be deleted afterwards.
class ScopedSelection {
 public:
  ScopedSelection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
  ScopedSelection(const ScopedSelection&) = delete;
  ScopedSelection& operator=(const ScopedSelection&) = delete;
  ~ScopedSelection() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// COM on this thread for as long as this lives, if CoInitializeEx agreed
// (S_FALSE, already initialised, counts and is balanced too).
class ComApartment {
 public:
  explicit ComApartment(DWORD model = COINIT_APARTMENTTHREADED) noexcept
      : result_(CoInitializeEx(nullptr, model)) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  HRESULT Result() const noexcept { return result_; }
  bool Initialized() const noexcept { return SUCCEEDED(result_); }

 private:
  HRESULT result_;
};

// One reference to a COM object, released when the owner goes.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ComPtr(ComPtr&& other) noexcept : raw_(std::exchange(other.raw_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.raw_, nullptr));
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { Reset(); }

  bool Valid() const noexcept { return raw_ != nullptr; }
  Interface* Get() const noexcept { return raw_; }
  Interface* operator->() const noexcept { return raw_; }
  // Releases what is held and gives the address for CoCreateInstance,
  // QueryInterface and the like.
  void** Receive() noexcept {
    Reset();
    return reinterpret_cast<void**>(&raw_);
  }
  void Reset(Interface* raw = nullptr) noexcept {
    Interface* old = std::exchange(raw_, raw);
    if (old != nullptr) old->Release();
  }

 private:
  Interface* raw_ = nullptr;
};

}  // namespace wh
