#pragma once
// One running copy per executable path: each copy of the program keeps its own
// "config.ini" beside it, and that file is what the rule protects.
#include <string>

#include "win/handles.h"

namespace tarnivo {

class SingleInstance {
 public:
  // Claims the instance for `executablePath`.
  explicit SingleInstance(const std::wstring& executablePath);
  // False when another process already holds the claim for the same executable.
  bool IsFirst() const { return first_; }

  // The mutex name for a path: case-insensitive, since the file system is.
  static std::wstring MutexName(const std::wstring& executablePath);

 private:
  UniqueHandle mutex_;
  bool first_ = true;
};

}  // namespace tarnivo
