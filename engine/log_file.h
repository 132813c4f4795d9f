// The program's own files in its folder, "Err.LOG" and "Undo.LOG": written from the
// program's side only, each write going straight to the file (nothing is buffered in the
// program, so a killed process loses nothing it wrote).
#pragma once

#include <string>
#include <string_view>

#include "win/handles.h"

namespace tarnivo {

class OutputFile {
 public:
  // Creates the file (`path` in the ordinary form), replacing one of that name. False (and
  // no file open) when it cannot be created: a read-only file or a folder of that name, a
  // read-only folder.
  bool Create(const std::wstring& path);
  // Opens an existing file to write at its end; false under the same conditions.
  bool OpenToAppend(const std::wstring& path);
  bool IsOpen() const { return static_cast<bool>(file_); }
  // True once a write has failed.
  bool Failed() const { return failed_; }

  // Appends `bytes`. After a failed write (full disk) the file stops: later writes are
  // skipped rather than leaving holes in the middle of it. False when not all was written.
  bool Write(std::string_view bytes);
  // Hands what was written to the disk (FlushFileBuffers).
  void Flush();
  void Close() { file_.Reset(); }

 private:
  bool Open(const std::wstring& path, DWORD disposition);

  UniqueFileHandle file_;
  bool failed_ = false;
};

// "Err.LOG": system ANSI code page bytes (a character the code page cannot hold becomes
// "?"), no byte-order mark, every text written exactly as given (its CR LF pairs included).
class LogFile {
 public:
  bool Create(const std::wstring& path) { return file_.Create(path); }
  bool IsOpen() const { return file_.IsOpen(); }
  // Appends `text`; as OutputFile::Write.
  bool Write(std::wstring_view text);
  void Close() { file_.Close(); }

 private:
  OutputFile file_;
};

// The whole of the file at `path` (ordinary form) into `bytes`. False when it cannot be
// read (missing, a folder, locked, too large for memory).
bool ReadWholeFile(const std::wstring& path, std::string& bytes);

}  // namespace tarnivo
