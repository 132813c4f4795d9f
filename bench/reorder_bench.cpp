// What a run costs when its renames must be ordered: a shift (each new name is held by the
// next file) and a rotation (one cycle, broken with one temporary name), each through the
// real window with its journal, against a bare MoveFileW loop that makes the same renames
// in a working order: the shift last first, the rotation through one temporary name. Each
// round puts the files back with a bare loop, untimed; each round's ratios are taken and
// their medians reported, with the window's longest wait for a message during the runs.
//
//   tarnivo_reorder_bench [files] [--repeat N]
//
// The rotation's files are named by their dates: each file's last write is the next
// file's name (the last one's, the first's), and the template "%modified%" + ".jpg"
// rotates them all.
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
#include "tests/support/dated_files.h"

namespace {

using tarnivo::test::RotationName;
using tarnivo::test::SetModified;

constexpr double kTargetRatio = 1.15;
constexpr double kTargetWaitSeconds = 0.100;
const wchar_t* const kShiftTemplate = L"IMG_\r\n%Taxis:5,2,1%\r\n.jpg";
const wchar_t* const kRotationTemplate = L"%modified%\r\n.jpg";

using tarnivo::bench::Measure;
using tarnivo::bench::Median;
using tarnivo::bench::RemoveFolder;
using tarnivo::bench::Seconds;
using tarnivo::bench::Timing;

// A rename of one file: old path, new path.
using Renames = std::vector<std::pair<std::wstring, std::wstring>>;

std::wstring ShiftName(int k) {
  wchar_t name[32];
  swprintf(name, 32, L"IMG_%05d.jpg", k);
  return name;
}

bool MakeFile(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

// Renames, timed; false when one fails.
bool Bare(const Renames& renames, double* seconds) {
  const double start = Seconds();
  bool all = true;
  for (const auto& [from, to] : renames) all = MoveFileW(from.c_str(), to.c_str()) && all;
  if (seconds) *seconds = Seconds() - start;
  return all;
}

Renames Backwards(const Renames& renames) {
  Renames back;
  for (auto rename = renames.rbegin(); rename != renames.rend(); ++rename) {
    back.emplace_back(rename->second, rename->first);
  }
  return back;
}

// The shift: IMG_k to IMG_k+1, last first.
Renames ShiftRenames(const std::wstring& folder, int files) {
  Renames renames;
  for (int k = files; k >= 1; --k) {
    renames.emplace_back(folder + L"\\" + ShiftName(k), folder + L"\\" + ShiftName(k + 1));
  }
  return renames;
}

// The rotation: the first file to a temporary name, then each file onto the name the one
// before it left, the last onto the first's, and the temporary one last.
Renames RotationRenames(const std::wstring& folder, int files) {
  const auto path = [&folder](int k) { return folder + L"\\" + RotationName(k); };
  const std::wstring temporary = folder + L"\\rotation.tmp";
  Renames renames{{path(1), temporary}, {path(files), path(1)}};
  for (int k = files - 1; k >= 2; --k) renames.emplace_back(path(k), path(k + 1));
  renames.emplace_back(temporary, path(2));
  return renames;
}

// The run through the window on `folder` with `templateText`, the start image clicked.
Timing WindowRun(const std::wstring& programFolder, const std::wstring& folder,
                 const wchar_t* templateText) {
  tarnivo::MainWindowOptions options;
  options.ProgramFolder = programFolder;
  options.Arguments = L"\"" + folder + L"\"";
  options.OnUnloaded = [] {};
  options.ShellOpen = [](HWND, const std::wstring&, const std::wstring&) {};
  tarnivo::MainWindow window(std::move(options));
  if (!window.Create(SW_SHOWNOACTIVATE)) return {};
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  SendMessageW(GetDlgItem(window.Handle(), tarnivo::ids::TextRull), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(templateText));
  const HWND start = GetDlgItem(window.Handle(), tarnivo::ids::ImgStart);
  return Measure(window.Handle(), [&] {
    SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(tarnivo::ids::ImgStart, STN_CLICKED),
                 reinterpret_cast<LPARAM>(start));
  });
}

struct Scenario {
  const wchar_t* Name;
  std::wstring Folder;
  const wchar_t* Template;
  Renames Forth;                  // the bare loop
  std::function<bool()> Renamed;  // the files bear their new names
};

// Rounds of the bare loop and the window's run, each followed by the loop back.
bool RunRounds(const Scenario& scenario, const std::wstring& programFolder, int rounds) {
  std::vector<double> ratios, waits;
  const Renames back = Backwards(scenario.Forth);
  for (int round = 0; round < rounds; ++round) {
    double bare = 0;
    if (!Bare(scenario.Forth, &bare) || !Bare(back, nullptr)) return false;
    const Timing run = WindowRun(programFolder, scenario.Folder, scenario.Template);
    if (run.Seconds < 0 || !scenario.Renamed() || !Bare(back, nullptr)) return false;
    ratios.push_back(run.Seconds / bare);
    waits.push_back(run.LongestWait);
    std::wprintf(L"%ls round %d: bare %.3f s, run %.3f s (longest wait %.0f ms)\n", scenario.Name,
                 round + 1, bare, run.Seconds, run.LongestWait * 1e3);
  }
  std::wprintf(
      L"%ls: ratio run / bare median %.3f, best %.3f (target at most %.2f); "
      L"longest wait %.1f ms (target under %.0f ms)\n",
      scenario.Name, Median(ratios), *std::min_element(ratios.begin(), ratios.end()), kTargetRatio,
      *std::max_element(waits.begin(), waits.end()) * 1e3, kTargetWaitSeconds * 1e3);
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int files = 2000;
  int rounds = 5;
  for (int i = 1; i < argc; ++i) {
    const std::wstring argument = argv[i];
    if (argument == L"--repeat" && i + 1 < argc) {
      rounds = std::max(1, _wtoi(argv[++i]));
    } else if (!argument.empty() && iswdigit(argument[0])) {
      files = std::max(2, _wtoi(argument.c_str()));
    } else {
      std::fwprintf(stderr, L"usage: tarnivo_reorder_bench [files] [--repeat N]\n");
      return 2;
    }
  }
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  const std::wstring root = tarnivo::bench::MakeTempFolder(L"tarnivo-reorder-bench-");
  if (root.empty()) return 1;
  const std::wstring program = root + L"\\program";
  const std::wstring shifted = root + L"\\shift";
  const std::wstring rotated = root + L"\\rotation";
  bool made = CreateDirectoryW(program.c_str(), nullptr) &&
              CreateDirectoryW(shifted.c_str(), nullptr) &&
              CreateDirectoryW(rotated.c_str(), nullptr);
  for (int k = 1; k <= files && made; ++k) {
    const std::wstring rotation = rotated + L"\\" + RotationName(k);
    made = MakeFile(shifted + L"\\" + ShiftName(k)) && MakeFile(rotation) &&
           SetModified(rotation, k % files + 1);
  }
  const Scenario scenarios[] = {
      {L"shift", shifted, kShiftTemplate, ShiftRenames(shifted, files),
       [&] {
         return GetFileAttributesW((shifted + L"\\" + ShiftName(1)).c_str()) ==
                    INVALID_FILE_ATTRIBUTES &&
                GetFileAttributesW((shifted + L"\\" + ShiftName(files + 1)).c_str()) !=
                    INVALID_FILE_ATTRIBUTES;
       }},
      {L"rotation", rotated, kRotationTemplate, RotationRenames(rotated, files),
       [&] {
         // The first file, dated as the second's name, bears that name now.
         WIN32_FILE_ATTRIBUTE_DATA data{};
         FILETIME local{};
         SYSTEMTIME time{};
         return GetFileAttributesExW((rotated + L"\\" + RotationName(2)).c_str(),
                                     GetFileExInfoStandard, &data) &&
                FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) &&
                FileTimeToSystemTime(&local, &time) && time.wSecond == 2 % 60;
       }},
  };
  std::wprintf(L"files: %d, rounds: %d\n", files, rounds);
  bool complete = made;
  for (const Scenario& scenario : scenarios) {
    complete = complete && RunRounds(scenario, program, rounds);
  }
  RemoveFolder(root);
  if (!complete) {
    std::fwprintf(stderr, L"the files could not be made, or a run did not rename every file\n");
    return 1;
  }
  std::fflush(stdout);
  return 0;
}
