// What the rename run costs against a bare loop of MoveFileW over the same names. The run
// goes through the real window (its list, its log, its progress line and its hand-overs
// to the message loop); the bare loop only renames. Each round makes two equal folders,
// one for each, so both pay the same file-system cost; the medians are compared.
//
//   tarnivo_run_bench [files] [--repeat N]
//
// Default: 2000 files, 3 rounds. Under Wine a rename scans the whole folder, so the cost
// per file grows with the folder; a small folder shows the program's own overhead best.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/main_window.h"
#include "bench/bench_support.h"
#include "engine/number_format.h"
#include "engine/rename_run.h"

namespace {

constexpr double kTargetRatio = 1.25;
const wchar_t* const kTemplate = L"%name%\r\n_\r\n%Taxis:6,1,1%\r\n%ext%";

struct Options {
  int Files = 2000;
  int Repeat = 3;
};

using tarnivo::bench::Median;
using tarnivo::bench::Seconds;

bool ParseArguments(int argc, wchar_t** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::wstring argument = argv[i];
    if (argument == L"--repeat" && i + 1 < argc) {
      options.Repeat = std::max(1, _wtoi(argv[++i]));
    } else if (!argument.empty() && iswdigit(argument[0])) {
      options.Files = std::max(1, _wtoi(argument.c_str()));
    } else {
      return false;
    }
  }
  return true;
}

std::wstring MakeFolder(const std::wstring& parent, const std::wstring& name) {
  const std::wstring path = parent + L"\\" + name;
  return CreateDirectoryW(path.c_str(), nullptr) ? path : std::wstring();
}

// Empty files IMG_00001.jpg ... in list order (zero-padded, so every order agrees).
std::vector<std::wstring> FileNames(int count) {
  std::vector<std::wstring> names;
  names.reserve(static_cast<size_t>(count));
  for (int i = 1; i <= count; ++i)
    names.push_back(L"IMG_" + tarnivo::FormatZeroPadded(i, 5) + L".jpg");
  return names;
}

bool CreateFiles(const std::wstring& folder, const std::vector<std::wstring>& names) {
  for (const std::wstring& name : names) {
    HANDLE file = CreateFileW((folder + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
  }
  return true;
}

void RemoveFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveFolder(folder + L"\\" + name);
      } else {
        DeleteFileW((folder + L"\\" + name).c_str());
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(folder.c_str());
}

int CountRenamed(const std::wstring& folder) {
  int count = 0;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\IMG_?????_??????.jpg").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do ++count;
  while (FindNextFileW(find, &data));
  FindClose(find);
  return count;
}

// The bare loop: the same renames the template gives, names worked out beforehand.
double BareLoop(const std::wstring& folder, const std::vector<std::wstring>& names) {
  std::vector<std::pair<std::wstring, std::wstring>> paths;
  for (size_t i = 0; i < names.size(); ++i) {
    const std::wstring base = names[i].substr(0, names[i].size() - 4);
    paths.emplace_back(folder + L"\\" + names[i],
                       folder + L"\\" + base + L"_" +
                           tarnivo::FormatZeroPadded(static_cast<int64_t>(i) + 1, 6) + L".jpg");
  }
  const double start = Seconds();
  for (const auto& [from, to] : paths) MoveFileW(from.c_str(), to.c_str());
  return Seconds() - start;
}

// The run without the window: no progress line, no hand-overs, no list.
double EngineRun(const std::wstring& programFolder, const std::wstring& folder,
                 const std::vector<std::wstring>& names) {
  tarnivo::RenameRunSetup setup;
  setup.Folder = folder + L"\\";
  setup.Names = names;
  setup.TemplateText = kTemplate;
  setup.LogPath = programFolder + L"\\Err.LOG";
  const double began = Seconds();
  tarnivo::RunRename(std::move(setup));
  return Seconds() - began;
}

// The real run: the window on `folder`, the template typed, the start image clicked.
double WindowRun(const std::wstring& programFolder, const std::wstring& folder) {
  tarnivo::MainWindowOptions options;
  options.ProgramFolder = programFolder;
  options.Arguments = L"\"" + folder + L"\"";
  options.OnUnloaded = [] {};
  options.ShellOpen = [](HWND, const std::wstring&, const std::wstring&) {};
  tarnivo::MainWindow window(std::move(options));
  if (!window.Create(SW_SHOWNOACTIVATE)) return -1;
  const HWND rull = GetDlgItem(window.Handle(), tarnivo::ids::TextRull);
  SendMessageW(rull, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kTemplate));
  const HWND start = GetDlgItem(window.Handle(), tarnivo::ids::ImgStart);
  const double began = Seconds();
  SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(tarnivo::ids::ImgStart, STN_CLICKED),
               reinterpret_cast<LPARAM>(start));
  return Seconds() - began;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Options options;
  if (!ParseArguments(argc, argv, options)) {
    std::fwprintf(stderr, L"usage: tarnivo_run_bench [files] [--repeat N]\n");
    return 2;
  }
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  const std::wstring root = tarnivo::bench::MakeTempFolder(L"tarnivo-run-bench-");
  if (root.empty()) return 1;
  const std::vector<std::wstring> names = FileNames(options.Files);
  std::vector<double> bare, run, engine;
  bool complete = true;
  for (int round = 0; round < options.Repeat && complete; ++round) {
    const std::wstring program = MakeFolder(root, L"program");
    const std::wstring runFolder = MakeFolder(root, L"run");
    const std::wstring bareFolder = MakeFolder(root, L"bare");
    const std::wstring engineFolder = MakeFolder(root, L"engine");
    if (!CreateFiles(runFolder, names) || !CreateFiles(bareFolder, names) ||
        !CreateFiles(engineFolder, names)) {
      std::fwprintf(stderr, L"cannot create the files\n");
      complete = false;
      break;
    }
    // Rotate which goes first, so that none profits alone from a warm cache.
    const std::function<void()> steps[] = {
        [&] { bare.push_back(BareLoop(bareFolder, names)); },
        [&] { run.push_back(WindowRun(program, runFolder)); },
        [&] { engine.push_back(EngineRun(program, engineFolder, names)); },
    };
    for (int step = 0; step < 3; ++step) steps[(step + round) % 3]();
    const int renamedRun = CountRenamed(runFolder);
    const int renamedBare = CountRenamed(bareFolder);
    const int renamedEngine = CountRenamed(engineFolder);
    std::wprintf(L"round %d: bare %.3f s, run %.3f s, run without window %.3f s\n", round + 1,
                 bare.back(), run.back(), engine.back());
    if (run.back() < 0 || renamedRun != options.Files || renamedBare != options.Files ||
        renamedEngine != options.Files) {
      complete = false;
    }
    RemoveFolder(program);
    RemoveFolder(runFolder);
    RemoveFolder(bareFolder);
    RemoveFolder(engineFolder);
  }
  RemoveFolder(root);
  if (!complete) {
    std::fwprintf(stderr, L"a round did not rename every file\n");
    return 1;
  }
  const double bareMedian = Median(bare);
  const double runMedian = Median(run);
  const double ratio = runMedian / bareMedian;
  std::wprintf(L"files: %d, rounds: %d\n", options.Files, options.Repeat);
  std::wprintf(L"bare MoveFileW loop: %.3f s (%.1f us per file)\n", bareMedian,
               bareMedian * 1e6 / options.Files);
  std::wprintf(L"rename run (window): %.3f s (%.1f us per file)\n", runMedian,
               runMedian * 1e6 / options.Files);
  std::wprintf(L"run without window: %.3f s (%.1f us per file)\n", Median(engine),
               Median(engine) * 1e6 / options.Files);
  std::wprintf(L"ratio run / bare: %.3f (target at most %.2f)\n", ratio, kTargetRatio);
  std::fflush(stdout);
  return 0;
}
