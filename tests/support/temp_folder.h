#pragma once
// A fresh folder under the system temp folder, removed with everything in it at the end.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace tarnivo::test {

class TempFolder {
 public:
  TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();

  // The folder, without a trailing "\".
  const std::wstring& Path() const { return path_; }
  // Path() + "\" + name.
  std::wstring operator/(std::wstring_view name) const;

  // Creates (or replaces) a file holding `bytes`; returns its full path.
  std::wstring WriteFile(std::wstring_view name, std::string_view bytes = {}) const;
  std::wstring MakeFolder(std::wstring_view name) const;

 private:
  std::wstring path_;
};

// The bytes of a file; empty when it cannot be read. `exists` reports whether it opened.
std::string ReadFileBytes(const std::wstring& path, bool* exists = nullptr);
bool FileExists(const std::wstring& path);
// The names of the files (not folders) in `folder`, sorted, so that a lost or extra file shows.
std::vector<std::wstring> FileNamesIn(const std::wstring& folder);
// Removes a folder and everything in it, read-only and hidden files included.
void RemoveTree(const std::wstring& path);

}  // namespace tarnivo::test
