#pragma once
// Shared by the benchmark programs: a monotonic clock, the median of repeats, a scratch
// folder and its removal, and the window's longest wait during a piece of work.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
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

// The names of the files (not folders) in `folder`, in the order the system gives them.
inline std::vector<std::wstring> FilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(data.cFileName);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
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

struct Timing {
  double Seconds = -1;
  double LongestWait = 0;  // of the window, for a message sent during the work
};

// Sends WM_NULL to a window every few tens of milliseconds from a thread of its own while the
// window's thread does `work`, and returns the longest wait for an answer that fell inside
// the work.
class ResponseProbe {
 public:
  explicit ResponseProbe(HWND window) : window_(window) {
    thread_ = CreateThread(nullptr, 0, Probe, this, 0, nullptr);
  }
  ResponseProbe(const ResponseProbe&) = delete;
  ResponseProbe& operator=(const ResponseProbe&) = delete;
  ~ResponseProbe() { Stop(); }

  // Ends the probe at `end` (the work's end) and returns the longest wait up to then.
  double Stop(double end = Seconds()) {
    stop_ = true;
    // The probe may be waiting for an answer: the window's thread answers it.
    while (thread_ &&
           MsgWaitForMultipleObjects(1, &thread_, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    if (thread_) CloseHandle(thread_);
    thread_ = nullptr;
    double longest = 0;
    for (const auto& [sent, answered] : waits_) {
      if (sent < end) longest = std::max(longest, std::min(answered, end) - sent);
    }
    return longest;
  }

 private:
  static DWORD WINAPI Probe(void* self) {
    auto* probe = static_cast<ResponseProbe*>(self);
    while (!probe->stop_) {
      const double sent = Seconds();
      DWORD_PTR result = 0;
      SendMessageTimeoutW(probe->window_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
      probe->waits_.emplace_back(sent, Seconds());
      // About as often as a user's hand gives the window input; each message asked
      // for costs the run a hand-over of its own.
      Sleep(20);
    }
    return 0;
  }

  HWND window_;
  HANDLE thread_ = nullptr;
  std::atomic<bool> stop_{false};
  std::vector<std::pair<double, double>> waits_;  // sent, answered; read after the thread ends
};

// `work` on the window's thread, timed, with the probe asking the window meanwhile.
inline Timing Measure(HWND window, const std::function<void()>& work) {
  ResponseProbe probe(window);
  const double began = Seconds();
  work();
  const double ended = Seconds();
  return Timing{ended - began, probe.Stop(ended)};
}

}  // namespace tarnivo::bench
