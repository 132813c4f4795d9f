#pragma once
// Owning wrappers for the system handles the window code holds, so nothing leaks on any path.
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

using UniqueHandle = Unique<NullInvalidTraits<HANDLE, CloseKernelHandle>>;
using UniqueFileHandle = Unique<FileHandleTraits>;
using UniqueFindHandle = Unique<FindHandleTraits>;  // FindFirstFile searches
using UniqueFont = Unique<NullInvalidTraits<HFONT, DeleteGdiObject>>;
using UniqueBrush = Unique<NullInvalidTraits<HBRUSH, DeleteGdiObject>>;
using UniqueBitmap = Unique<NullInvalidTraits<HBITMAP, DeleteGdiObject>>;
using UniqueMenu = Unique<NullInvalidTraits<HMENU, DestroyMenuHandle>>;

}  // namespace tarnivo
