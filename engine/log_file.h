// "Err.LOG" on disk: system ANSI code page bytes (a character the code page cannot hold
// becomes "?"), no byte-order mark, every text written exactly as given (its CR LF pairs
// included), each write going straight to the file.
#pragma once

#include <string>
#include <string_view>

#include "win/handles.h"

namespace tarnivo {

class LogFile {
 public:
  // Creates the file (`path` in the ordinary form), replacing one of that name. False (and no file
  // open) when it cannot be created: a read-only file or a folder of that name, a read-only folder.
  bool Create(const std::wstring& path);
  bool IsOpen() const { return static_cast<bool>(file_); }

  // Appends `text`. After a failed write (full disk) the log stops: later writes are
  // skipped rather than leaving holes in the middle of it. False when nothing was written.
  bool Write(std::wstring_view text);

  void Close() { file_.Reset(); }

 private:
  UniqueFileHandle file_;
  bool failed_ = false;
};

}  // namespace tarnivo
