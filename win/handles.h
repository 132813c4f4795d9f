#pragma once
// Owning wrappers for the system handles the program holds, so nothing leaks on any path.
#include <windows.h>

#include <utility>

namespace tarnivo {

// Traits: `Handle` type, `Invalid()` value and `Close(handle)`.
template <typename Traits>
class Unique {
 public:
  using Handle = typename Traits::Handle;

  Unique() = default;
  explicit Unique(Handle handle) : handle_(handle) {}
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& other) noexcept : handle_(other.Release()) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  ~Unique() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Invalid(); }
  Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
  void Reset(Handle handle = Traits::Invalid()) {
    if (handle_ != Traits::Invalid()) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

template <typename H, auto CloseFunction>
struct NullInvalidTraits {
  using Handle = H;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { CloseFunction(h); }
};

struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { CloseHandle(h); }
};

struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { FindClose(h); }
};

inline void CloseKernelHandle(HANDLE h) { CloseHandle(h); }
inline void DeleteGdiObject(HGDIOBJ h) { DeleteObject(h); }
inline void DestroyMenuHandle(HMENU h) { DestroyMenu(h); }
inline void CloseRegKey(HKEY h) { RegCloseKey(h); }

using UniqueHandle = Unique<NullInvalidTraits<HANDLE, CloseKernelHandle>>;
using UniqueFileHandle = Unique<FileHandleTraits>;
using UniqueFindHandle = Unique<FindHandleTraits>;  // FindFirstFile searches
using UniqueFont = Unique<NullInvalidTraits<HFONT, DeleteGdiObject>>;
using UniqueBrush = Unique<NullInvalidTraits<HBRUSH, DeleteGdiObject>>;
using UniqueBitmap = Unique<NullInvalidTraits<HBITMAP, DeleteGdiObject>>;
using UniqueMenu = Unique<NullInvalidTraits<HMENU, DestroyMenuHandle>>;
using UniqueRegKey = Unique<NullInvalidTraits<HKEY, CloseRegKey>>;  // opened registry keys

// A window's device context, released when it goes. Null when the window gives none.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// `object` selected into `dc` for one scope; the previous object is selected back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object)
      : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }
  bool Ok() const { return old_ && old_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A memory DC compatible with the screen, with `bitmap` selected while it lives. Get()
// is null when either step failed.
class MemoryDc {
 public:
  explicit MemoryDc(HBITMAP bitmap) : dc_(CreateCompatibleDC(nullptr)) {
    if (dc_) old_ = SelectObject(dc_, bitmap);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  ~MemoryDc() {
    if (!dc_) return;
    if (old_) SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  HDC Get() const { return old_ ? dc_ : nullptr; }

 private:
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

}  // namespace tarnivo
