#include "app/clipboard.h"

#include <cstring>

namespace tarnivo {

namespace {

// Holds the clipboard open for one scope; a few retries cover a program that has it
// open for a moment.
class ClipboardSession {
 public:
  explicit ClipboardSession(HWND owner) {
    for (int attempt = 0; attempt < 5 && !open_; ++attempt) {
      open_ = OpenClipboard(owner) != FALSE;
      if (!open_) Sleep(10);
    }
  }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;
  ~ClipboardSession() {
    if (open_) CloseClipboard();
  }
  bool IsOpen() const { return open_; }

 private:
  bool open_ = false;
};

class GlobalLock {
 public:
  explicit GlobalLock(HGLOBAL memory) : memory_(memory), data_(::GlobalLock(memory)) {}
  GlobalLock(const GlobalLock&) = delete;
  GlobalLock& operator=(const GlobalLock&) = delete;
  ~GlobalLock() {
    if (data_) GlobalUnlock(memory_);
  }
  void* Data() const { return data_; }

 private:
  HGLOBAL memory_;
  void* data_;
};

}  // namespace

std::wstring ReadClipboardText(HWND owner) {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return {};
  ClipboardSession session(owner);
  if (!session.IsOpen()) return {};
  HANDLE memory = GetClipboardData(CF_UNICODETEXT);
  if (!memory) return {};
  GlobalLock lock(memory);
  const auto* text = static_cast<const wchar_t*>(lock.Data());
  if (!text) return {};
  // The block may be larger than the text; never read past it when a NUL is missing.
  const size_t capacity = GlobalSize(memory) / sizeof(wchar_t);
  return std::wstring(text, wcsnlen(text, capacity));
}

bool WriteClipboardText(HWND owner, const std::wstring& text) {
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) return false;
  {
    GlobalLock lock(memory);
    if (!lock.Data()) {
      GlobalFree(memory);
      return false;
    }
    std::memcpy(lock.Data(), text.c_str(), bytes);
  }
  ClipboardSession session(owner);
  if (!session.IsOpen() || !EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, memory)) {
    GlobalFree(memory);  // ownership passes to the clipboard only on success
    return false;
  }
  return true;
}

}  // namespace tarnivo
