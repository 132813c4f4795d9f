// Start-up against an empty window: both programs are started as processes, side by side
// in one run, and timed from CreateProcess until their window is visible and answers a
// message; the medians are compared. The program starts on a folder of a few files and
// on a folder of many, and with a template of 100 lines restored from the last exit; the
// empty window is the same size and shows nothing.
//
//   tarnivo_startup_bench [--repeat N] [--many FOLDER]
//
// Defaults: 7 rounds; without --many only the small folder (6 files, made here). The
// large folder is made with native tools by bench/run_startup_bench.sh: Wine makes files
// slowly from the Windows side.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/bench_support.h"

namespace {

constexpr double kTargetRatio = 1.5;
// The template box's text from the last exit costs nothing measurable.
constexpr int kRestoredLines = 100;
constexpr double kRestoredRatio = 1.05;
constexpr DWORD kTimeoutMs = 60000;

using tarnivo::bench::Median;
using tarnivo::bench::RemoveFolder;
using tarnivo::bench::Seconds;

std::wstring BesideThis(const wchar_t* name) {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring path(self, length);
  return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

struct Search {
  DWORD ProcessId;
  HWND Found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->ProcessId || !IsWindowVisible(window)) return TRUE;
  search->Found = window;
  return FALSE;
}

// Seconds from the start of `exe` until its window is visible and answers WM_NULL; the
// process is ended afterwards. A negative value when it never got there.
double TimeToWindow(const std::wstring& exe, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION process{};
  const double started = Seconds();
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return -1;
  }
  double seconds = -1;
  const double until = started + kTimeoutMs / 1000.0;
  while (Seconds() < until) {
    Search search{process.dwProcessId, nullptr};
    EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    DWORD_PTR answer = 0;
    if (search.Found &&
        SendMessageTimeoutW(search.Found, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, &answer)) {
      seconds = Seconds() - started;
      break;
    }
    if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, kTimeoutMs);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return seconds;
}

// Seconds of a bare enumeration of `folder`, as the list makes it, names kept.
double TimeToEnumerate(const std::wstring& folder) {
  const double started = Seconds();
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &data,
                                       FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return -1;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(data.cFileName);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return Seconds() - started;
}

// A copy of the program whose template box comes back with `lines` lines, as it was left
// at the last exit ("模板\上次退出时.last").
bool MakeRestoringCopy(const std::wstring& folder, const std::wstring& exe, int lines) {
  const std::wstring templates = folder + L"\\模板";
  if (!CreateDirectoryW(folder.c_str(), nullptr) || !CreateDirectoryW(templates.c_str(), nullptr) ||
      !CopyFileW(exe.c_str(), (folder + L"\\tarnivo.exe").c_str(), TRUE)) {
    return false;
  }
  std::string text = "\xEF\xBB\xBF";
  for (int i = 0; i < lines; ++i) text += i % 2 ? "%name%\r\n" : "_%Taxis:3,1,1%_\r\n";
  const HANDLE file = CreateFileW((templates + L"\\上次退出时.last").c_str(), GENERIC_WRITE, 0,
                                  nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
      written == text.size();
  CloseHandle(file);
  return ok;
}

bool MakeFiles(const std::wstring& folder, int count) {
  for (int i = 0; i < count; ++i) {
    const std::wstring path = folder + L"\\IMG_" + std::to_wstring(i) + L".jpg";
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
  }
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int repeat = 7;
  std::wstring many;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::wstring(argv[i]) == L"--repeat") repeat = std::max(1, _wtoi(argv[i + 1]));
    if (std::wstring(argv[i]) == L"--many") many = argv[i + 1];
  }
  const std::wstring scratch = tarnivo::bench::MakeTempFolder(L"tarnivo-startup-");
  if (scratch.empty()) return 1;
  // The program keeps config.ini beside itself: a copy of its own, in the scratch folder.
  const std::wstring program = scratch + L"\\tarnivo.exe";
  const std::wstring few = scratch + L"\\few";
  const std::wstring restoring = scratch + L"\\restoring";
  const bool ready = CopyFileW(BesideThis(L"tarnivo.exe").c_str(), program.c_str(), TRUE) &&
                     CreateDirectoryW(few.c_str(), nullptr) && MakeFiles(few, 6) &&
                     MakeRestoringCopy(restoring, program, kRestoredLines);
  if (!ready) {
    std::fprintf(stderr, "could not prepare %ls\n", scratch.c_str());
    RemoveFolder(scratch);
    return 1;
  }
  const std::wstring empty = BesideThis(L"tarnivo_empty_window.exe");
  std::vector<double> bare, small, restored, large, enumeration;
  for (int round = 0; round < repeat; ++round) {
    bare.push_back(TimeToWindow(empty, L""));
    small.push_back(TimeToWindow(program, L"\"" + few + L"\""));
    restored.push_back(TimeToWindow(restoring + L"\\tarnivo.exe", L"\"" + few + L"\""));
    if (!many.empty()) {
      enumeration.push_back(TimeToEnumerate(many));
      large.push_back(TimeToWindow(program, L"\"" + many + L"\""));
    }
  }
  RemoveFolder(scratch);
  const double emptyWindow = Median(bare);
  const double smallFolder = Median(small);
  std::printf("start-up to a window that answers, medians of %d:\n", repeat);
  std::printf("  empty window               %.3f s\n", emptyWindow);
  std::printf("  program on 6 files         %.3f s   ratio %.2f (target <= %.2f)\n", smallFolder,
              smallFolder / emptyWindow, kTargetRatio);
  const double restoredTemplate = Median(restored);
  std::printf(
      "  with a template of %d lines restored   %.3f s   ratio to without %.2f "
      "(target <= %.2f)\n",
      kRestoredLines, restoredTemplate, restoredTemplate / smallFolder, kRestoredRatio);
  bool met =
      smallFolder / emptyWindow <= kTargetRatio && restoredTemplate / smallFolder <= kRestoredRatio;
  if (!many.empty()) {
    // The large folder's start against the empty window plus a bare enumeration of it.
    const double largeFolder = Median(large);
    const double bareEnumeration = Median(enumeration);
    const double ratio = (largeFolder - emptyWindow) / bareEnumeration;
    std::printf("  bare enumeration of the large folder   %.3f s\n", bareEnumeration);
    std::printf(
        "  program on the large folder            %.3f s   (less the empty window) / "
        "enumeration %.2f (target <= %.2f)\n",
        largeFolder, ratio, kTargetRatio);
    met = met && ratio <= kTargetRatio;
  }
  return met ? 0 : 2;
}
