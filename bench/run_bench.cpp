// What the rename run and its undo cost against a bare loop of MoveFileW over the same
// names. The run goes through the real window (its list, its log, its journal, its progress
// line and its hand-overs to the message loop), and so does the undo after it, chosen from
// the menu; the bare loop only renames, forth and then back. All work in one folder that
// each leaves as it found it, so all pay the same file-system cost; each round's ratios are
// taken and their medians reported. A second thread asks the window for an answer (WM_NULL)
// every few tens of milliseconds during the run and the undo; the longest wait is reported.
//
//   tarnivo_run_bench [files] [--repeat N] [--folder F]
//
// Default: 2000 files, 5 rounds, in a scratch folder the benchmark fills itself; with
// --folder, in F, which holds the empty files IMG_00001.jpg ... and nothing else
// (bench/run_run_bench.sh makes it with native tools). Under Wine a rename scans the whole
// folder, so the cost per file grows with the folder; a small folder shows the program's
// own overhead best.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "app/batch_setup.h"
#include "app/control_ids.h"
#include "app/main_window.h"
#include "app/menu_ids.h"
#include "bench/bench_support.h"
#include "engine/number_format.h"
#include "engine/rename_run.h"

namespace {

constexpr double kTargetRatio = 1.10;
constexpr double kTargetWaitSeconds = 0.100;
const wchar_t* const kTemplate = L"%name%\r\n_\r\n%Taxis:6,1,1%\r\n%ext%";

struct Options {
  int Files = 2000;
  int Repeat = 5;
  std::wstring Folder;  // empty: a scratch folder of the benchmark's own
};

using tarnivo::bench::Measure;
using tarnivo::bench::Median;
using tarnivo::bench::RemoveFolder;
using tarnivo::bench::Seconds;
using tarnivo::bench::Timing;

bool ParseArguments(int argc, wchar_t** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::wstring argument = argv[i];
    if (argument == L"--repeat" && i + 1 < argc) {
      options.Repeat = std::max(1, _wtoi(argv[++i]));
    } else if (argument == L"--folder" && i + 1 < argc) {
      options.Folder = argv[++i];
      while (options.Folder.size() > 3 && options.Folder.back() == L'\\') options.Folder.pop_back();
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

// The files of `folder` matching `pattern`.
int CountFiles(const std::wstring& folder, const wchar_t* pattern) {
  int count = 0;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\" + pattern).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do ++count;
  while (FindNextFileW(find, &data));
  FindClose(find);
  return count;
}

int CountRenamed(const std::wstring& folder) { return CountFiles(folder, L"IMG_?????_??????.jpg"); }
int CountOriginal(const std::wstring& folder) { return CountFiles(folder, L"IMG_?????.jpg"); }

using RenamePairs = std::vector<std::pair<std::wstring, std::wstring>>;

// The renames the template gives, old and new path, worked out beforehand.
RenamePairs PairsFor(const std::wstring& folder, const std::vector<std::wstring>& names) {
  RenamePairs paths;
  for (size_t i = 0; i < names.size(); ++i) {
    const std::wstring base = names[i].substr(0, names[i].size() - 4);
    paths.emplace_back(folder + L"\\" + names[i],
                       folder + L"\\" + base + L"_" +
                           tarnivo::FormatZeroPadded(static_cast<int64_t>(i) + 1, 6) + L".jpg");
  }
  return paths;
}

// The bare loop back: the renames undone, last first, as the undo does them.
double BareLoopBack(const RenamePairs& paths) {
  const double start = Seconds();
  for (auto path = paths.rbegin(); path != paths.rend(); ++path) {
    MoveFileW(path->second.c_str(), path->first.c_str());
  }
  return Seconds() - start;
}

// The bare loop itself, then the loop back.
void BareLoops(const RenamePairs& paths, Timing& forth, Timing& back) {
  const double start = Seconds();
  for (const auto& [from, to] : paths) MoveFileW(from.c_str(), to.c_str());
  forth.Seconds = Seconds() - start;
  back.Seconds = BareLoopBack(paths);
}

// The run without the window: no progress line, no hand-overs, no list; the log and the
// journal as the window's run has them.
double EngineRun(const std::wstring& programFolder, const std::wstring& folder,
                 const std::vector<std::wstring>& names) {
  auto list = std::make_shared<tarnivo::WorkList>();
  list->Folder = folder;
  for (const std::wstring& name : names) list->Entries.push_back(tarnivo::ListedFile{name});
  tarnivo::BatchSources sources;  // the default settings: a log
  sources.Folders.Program = programFolder;
  tarnivo::RenameRunSetup setup = tarnivo::AssembleRun(sources, std::move(list), kTemplate);
  const double began = Seconds();
  tarnivo::RunRename(std::move(setup), tarnivo::BatchHost{});
  return Seconds() - began;
}

// The real run and its undo: the window on `folder`, the template typed, the start image
// clicked; then "撤    销" chosen from the menu of a right press in the template box.
// `renamed`: the files the run left renamed.
void WindowRunAndUndo(const std::wstring& programFolder, const std::wstring& folder, Timing& run,
                      Timing& undo, int& renamed) {
  tarnivo::MainWindowOptions options;
  options.ProgramFolder = programFolder;
  options.Arguments = L"\"" + folder + L"\"";
  options.OnUnloaded = [] {};
  options.ShellOpen = [](HWND, const std::wstring&, const std::wstring&) {};
  options.PopupMenu = [](HMENU menu, POINT) {
    const UINT state = GetMenuState(menu, tarnivo::ids::menuundo, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && !(state & MF_GRAYED) ? tarnivo::ids::menuundo : 0;
  };
  tarnivo::MainWindow window(std::move(options));
  if (!window.Create(SW_SHOWNOACTIVATE)) return;
  // The window as the user sees it before a click: shown and painted.
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  const HWND rull = GetDlgItem(window.Handle(), tarnivo::ids::TextRull);
  SendMessageW(rull, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kTemplate));
  const HWND start = GetDlgItem(window.Handle(), tarnivo::ids::ImgStart);
  run = Measure(window.Handle(), [&] {
    SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(tarnivo::ids::ImgStart, STN_CLICKED),
                 reinterpret_cast<LPARAM>(start));
  });
  renamed = CountRenamed(folder);
  undo = Measure(window.Handle(), [&] {
    SendMessageW(rull, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    SendMessageW(rull, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  });
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
  std::vector<double> bare, bareBack, run, undo, engine, runWaits, undoWaits;
  // Each round's own ratios: the two sides of one round ran a moment apart, so what other
  // programs on the machine do weighs on both alike.
  std::vector<double> runRatios, undoRatios, engineRatios;
  bool complete = true;
  // One folder for all: each step leaves the names as it found them, so all work on the
  // same folder in the same state.
  const std::wstring program = MakeFolder(root, L"program");
  const bool ownFolder = options.Folder.empty();
  const std::wstring folder = ownFolder ? MakeFolder(root, L"files") : options.Folder;
  if (ownFolder ? !CreateFiles(folder, names)
                : CountOriginal(folder) != options.Files || CountRenamed(folder) != 0) {
    std::fwprintf(stderr, L"cannot create the files, or the folder holds others\n");
    complete = false;
  }
  const RenamePairs paths = PairsFor(folder, names);
  for (int round = 0; round < options.Repeat && complete; ++round) {
    Timing bareForth, bareBackward, windowRun, windowUndo;
    int renamedRun = 0, renamedEngine = 0;
    // Rotate which goes first, so that none profits alone from a warm cache.
    const std::function<void()> steps[] = {
        [&] { BareLoops(paths, bareForth, bareBackward); },
        [&] { WindowRunAndUndo(program, folder, windowRun, windowUndo, renamedRun); },
        [&] {
          engine.push_back(EngineRun(program, folder, names));
          renamedEngine = CountRenamed(folder);
          BareLoopBack(paths);
        },
    };
    for (int step = 0; step < 3; ++step) {
      steps[(step + round) % 3]();
      if (CountOriginal(folder) != options.Files) complete = false;
    }
    bare.push_back(bareForth.Seconds);
    bareBack.push_back(bareBackward.Seconds);
    run.push_back(windowRun.Seconds);
    undo.push_back(windowUndo.Seconds);
    runRatios.push_back(run.back() / bare.back());
    undoRatios.push_back(undo.back() / bareBack.back());
    engineRatios.push_back(engine.back() / bare.back());
    runWaits.push_back(windowRun.LongestWait);
    undoWaits.push_back(windowUndo.LongestWait);
    std::wprintf(
        L"round %d: bare %.3f s, run %.3f s (longest wait %.0f ms), run without window %.3f s; "
        L"bare back %.3f s, undo %.3f s (longest wait %.0f ms)\n",
        round + 1, bare.back(), run.back(), runWaits.back() * 1e3, engine.back(), bareBack.back(),
        undo.back(), undoWaits.back() * 1e3);
    if (windowRun.Seconds < 0 || windowUndo.Seconds < 0 || renamedRun != options.Files ||
        renamedEngine != options.Files) {
      complete = false;
    }
  }
  RemoveFolder(program);
  if (ownFolder) RemoveFolder(folder);
  RemoveFolder(root);
  if (!complete) {
    std::fwprintf(stderr, L"a round did not rename (or restore) every file\n");
    return 1;
  }
  const auto perFile = [&](double seconds) { return seconds * 1e6 / options.Files; };
  std::wprintf(L"files: %d, rounds: %d\n", options.Files, options.Repeat);
  std::wprintf(L"bare MoveFileW loop: %.3f s (%.1f us per file)\n", Median(bare),
               perFile(Median(bare)));
  std::wprintf(L"rename run (window, journal): %.3f s (%.1f us per file)\n", Median(run),
               perFile(Median(run)));
  std::wprintf(L"run without window: %.3f s (%.1f us per file)\n", Median(engine),
               perFile(Median(engine)));
  std::wprintf(L"bare loop back: %.3f s (%.1f us per file)\n", Median(bareBack),
               perFile(Median(bareBack)));
  std::wprintf(L"undo (window): %.3f s (%.1f us per file)\n", Median(undo), perFile(Median(undo)));
  const auto best = [](const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
  };
  // The fastest time of each side is the one the machine's other work weighed on least.
  std::wprintf(
      L"ratio run / bare: median %.3f, best round %.3f, fastest / fastest %.3f "
      L"(target at most %.2f)\n",
      Median(runRatios), best(runRatios), best(run) / best(bare), kTargetRatio);
  std::wprintf(L"ratio run without window / bare: median %.3f, best round %.3f\n",
               Median(engineRatios), best(engineRatios));
  std::wprintf(
      L"ratio undo / bare back: median %.3f, best round %.3f, fastest / fastest %.3f "
      L"(target at most %.2f)\n",
      Median(undoRatios), best(undoRatios), best(undo) / best(bareBack), kTargetRatio);
  std::wprintf(L"longest wait of the window: run %.1f ms, undo %.1f ms (target under %.0f ms)\n",
               *std::max_element(runWaits.begin(), runWaits.end()) * 1e3,
               *std::max_element(undoWaits.begin(), undoWaits.end()) * 1e3,
               kTargetWaitSeconds * 1e3);
  std::fflush(stdout);
  return 0;
}
