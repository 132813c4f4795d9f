// How much filling the file list costs against a bare loop that only enumerates the same
// folder and keeps the names in memory. Both run in one process, alternating, and the
// medians are compared.
//
//   tarnivo_list_bench [files] [--repeat N] [--folder PATH]
//
// Without --folder it creates a temp folder of `files` empty files (default 100 000) and
// removes it at the end; with --folder it measures that folder as it is and leaves it alone.
#include <shlwapi.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "app/file_list.h"
#include "bench/bench_support.h"

namespace {

using tarnivo::FileList;

constexpr double kTargetRatio = 1.5;
constexpr double kTargetSortRatio = 1.2;

struct Options {
  size_t Files = 100000;
  int Repeat = 5;
  std::wstring Folder;  // empty: make a temp folder
};

using tarnivo::bench::Median;
using tarnivo::bench::RemoveFolder;
using tarnivo::bench::Seconds;

bool ParseArguments(int argc, wchar_t** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::wstring argument = argv[i];
    if (argument == L"--repeat" && i + 1 < argc) {
      options.Repeat = std::max(1, _wtoi(argv[++i]));
    } else if (argument == L"--folder" && i + 1 < argc) {
      options.Folder = argv[++i];
    } else if (!argument.empty() && iswdigit(argument[0])) {
      options.Files = static_cast<size_t>(_wtoi64(argument.c_str()));
    } else {
      return false;
    }
  }
  return true;
}

bool IsWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Three names in four are photos ("IMG_<n>.jpg"), the rest other files, so "*.jpg"
// has something to leave out.
std::wstring NameOf(size_t index) {
  return index % 4 == 3 ? L"DSC" + std::to_wstring(index) + L".png"
                        : L"IMG_" + std::to_wstring(index) + L".jpg";
}

bool CreateFiles(const std::wstring& folder, size_t count) {
  const double start = Seconds();
  for (size_t i = 0; i < count; ++i) {
    const std::wstring path = folder + L"\\" + NameOf(i);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      fwprintf(stderr, L"cannot create %ls (error %lu)\n", path.c_str(), GetLastError());
      return false;
    }
    CloseHandle(file);
    if ((i + 1) % 10000 == 0) {
      fwprintf(stderr, L"  %zu files, %.1f s\n", i + 1, Seconds() - start);
    }
  }
  return true;
}

// The baseline: enumerate, keep the names, nothing else.
size_t BareEnumeration(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &data,
                                 FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    names.emplace_back(data.cFileName);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names.size();
}

double Time(const auto& action) {
  const double start = Seconds();
  action();
  return Seconds() - start;
}

// The entries really are 32-bit: every one is reachable by index through the control and
// comes out in the logical order.
bool CheckList(const FileList& list, size_t expected, FileList& mutableList) {
  bool ok = true;
  const auto count = static_cast<size_t>(list.Count());
  const LRESULT boxCount = SendMessageW(list.Handle(), LB_GETCOUNT, 0, 0);
  if (count != expected || boxCount != static_cast<LRESULT>(expected)) {
    fwprintf(stderr, L"count %zu, list box %ld, expected %zu\n", count, static_cast<long>(boxCount),
             expected);
    ok = false;
  }
  if (count > 0) {
    mutableList.SetListIndex(list.Count() - 1);
    if (mutableList.ListIndex() != list.Count() - 1 ||
        list.FileName() != list.Entry(list.Count() - 1)) {
      fwprintf(stderr, L"the last entry cannot be selected\n");
      ok = false;
    }
    mutableList.SetListIndex(-1);
  }
  for (size_t i = 1; i < count; ++i) {
    if (StrCmpLogicalW(list.Entry(i - 1).c_str(), list.Entry(i).c_str()) > 0) {
      fwprintf(stderr, L"out of order: %ls before %ls\n", list.Entry(i - 1).c_str(),
               list.Entry(i).c_str());
      ok = false;
      break;
    }
  }
  return ok;
}

HWND CreateHiddenParent() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"TarnivoListBench";
  if (!RegisterClassW(&windowClass)) return nullptr;
  return CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 400,
                         nullptr, nullptr, instance, nullptr);
}

size_t CountFiles(const std::wstring& folder, const wchar_t* pattern) {
  tarnivo::WorkList list;
  tarnivo::ListFolder(folder, pattern, tarnivo::FileListFlags{}, list);
  return list.Entries.size();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Options options;
  if (!ParseArguments(argc, argv, options)) {
    fwprintf(stderr, L"usage: tarnivo_list_bench [files] [--repeat N] [--folder PATH]\n");
    return 2;
  }
  const bool ownFolder = options.Folder.empty();
  if (ownFolder) {
    options.Folder = tarnivo::bench::MakeTempFolder(L"tarnivo-bench-");
    if (options.Folder.empty()) {
      fwprintf(stderr, L"cannot create a temp folder\n");
      return 1;
    }
    wprintf(L"creating %zu files in %ls\n", options.Files, options.Folder.c_str());
    if (IsWine()) {
      // Wine compares each new name with every entry of the folder, so this step grows
      // with the square of the count; a folder made by native tools can be passed instead.
      wprintf(
          L"(under Wine this takes long for large counts: see --folder and run_list_bench.sh)\n");
    }
    fflush(stdout);
    const double created = Time([&] {
      if (!CreateFiles(options.Folder, options.Files)) options.Files = 0;
    });
    if (options.Files == 0) {
      RemoveFolder(options.Folder);
      return 1;
    }
    wprintf(L"created in %.1f s\n", created);
  }

  const HWND parent = CreateHiddenParent();
  FileList jpg, all;
  const RECT bounds{0, 0, 200, 300};
  if (!parent || !jpg.Create(parent, 1, bounds) || !all.Create(parent, 2, bounds)) {
    fwprintf(stderr, L"cannot create the list controls\n");
    if (ownFolder) RemoveFolder(options.Folder);
    return 1;
  }
  jpg.SetPattern(L"*.jpg");
  all.SetPattern(L"*");

  // One untimed pass of each warms the caches the same way for all three.
  size_t total = BareEnumeration(options.Folder);
  if (!jpg.SetPath(options.Folder) || !all.SetPath(options.Folder)) {
    fwprintf(stderr, L"cannot list %ls\n", options.Folder.c_str());
    if (ownFolder) RemoveFolder(options.Folder);
    return 1;
  }
  total = CountFiles(options.Folder, L"*");

  std::vector<double> bare, listJpg, listAll, bySize, byModified;
  for (int r = 0; r < options.Repeat; ++r) {
    bare.push_back(Time([&] { BareEnumeration(options.Folder); }));
    listJpg.push_back(Time([&] { jpg.SetPath(options.Folder); }));
    listAll.push_back(Time([&] { all.SetPath(options.Folder); }));
    // The list of every file put in another order, as the menu 排序 does it.
    bySize.push_back(Time([&] { all.SetOrder({tarnivo::SortKey::Size, true}); }));
    byModified.push_back(Time([&] { all.SetOrder({tarnivo::SortKey::Modified, false}); }));
    all.SetOrder({});
  }
  const double bareTime = Median(bare);
  const double jpgTime = Median(listJpg);
  const double allTime = Median(listAll);

  const bool ok =
      CheckList(all, total, all) && CheckList(jpg, CountFiles(options.Folder, L"*.jpg"), jpg);
  wprintf(L"folder: %ls, %zu files, %d runs each, medians:\n", options.Folder.c_str(), total,
          options.Repeat);
  wprintf(L"  bare enumeration             %8.1f ms\n", bareTime * 1000);
  wprintf(L"  file list, \"*.jpg\" (%6d)   %8.1f ms   ratio %.2f\n", jpg.Count(), jpgTime * 1000,
          jpgTime / bareTime);
  wprintf(L"  file list, \"*\"     (%6d)   %8.1f ms   ratio %.2f\n", all.Count(), allTime * 1000,
          allTime / bareTime);
  const double sizeTime = Median(bySize), modifiedTime = Median(byModified);
  wprintf(L"  then sorted by size          %8.1f ms   (listed + sorted) / listed %.2f\n",
          sizeTime * 1000, (allTime + sizeTime) / allTime);
  wprintf(
      L"  then sorted by date modified %8.1f ms   (listed + sorted) / listed %.2f (target <= "
      L"%.2f)\n",
      modifiedTime * 1000, (allTime + modifiedTime) / allTime, kTargetSortRatio);
  const double worst = std::max(jpgTime, allTime) / bareTime;
  wprintf(L"target ratio at most %.2f: %ls\n", kTargetRatio,
          worst <= kTargetRatio ? L"met" : L"NOT met");
  wprintf(L"32-bit entries reachable and in logical order: %ls\n", ok ? L"yes" : L"NO");

  DestroyWindow(parent);
  if (ownFolder) RemoveFolder(options.Folder);
  return ok ? 0 : 1;
}
