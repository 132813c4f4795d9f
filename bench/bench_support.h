#pragma once
// Shared by the benchmark programs: a monotonic clock, the median of repeats and a
// scratch folder, and its removal.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace tarnivo::bench {

inline double Seconds() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// A new folder under the system temp folder named `prefix` + process id + attempt; ""
// when none can be made. The caller removes it.
inline std::wstring MakeTempFolder(const std::wstring& prefix) {
  wchar_t root[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, root);
  if (length == 0 || length > MAX_PATH) return {};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::wstring candidate = std::wstring(root, length) + prefix +
                                   std::to_wstring(GetCurrentProcessId()) + L"-" +
                                   std::to_wstring(attempt);
    if (CreateDirectoryW(candidate.c_str(), nullptr)) return candidate;
  }
  return {};
}

// Deletes `folder` with everything in it; says so on stderr when something stays behind.
inline void RemoveFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveFolder(path);
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  if (!RemoveDirectoryW(folder.c_str())) {
    fwprintf(stderr, L"could not remove %ls (error %lu)\n", folder.c_str(), GetLastError());
  }
}

}  // namespace tarnivo::bench
