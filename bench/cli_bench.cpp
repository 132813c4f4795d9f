// A run from the command line against a bare loop of MoveFileW over the same names, both
// started as processes, side by side in one run: `tarnivo.exe FOLDER /run /template-file T`
// (listing, planning, Err.LOG, the write-ahead Undo.LOG, the summary on its output) and
// this program started again as a child that lists the folder and renames each file. Each
// round puts the names back untimed; the median of the rounds' ratios is reported.
//
//   tarnivo_cli_bench [files] [--repeat N] [--folder F]
//
// Default: 2000 files, 5 rounds, in a scratch folder of the benchmark's own; with --folder,
// in F, which holds the empty files IMG_00001.jpg ... and nothing else (bench/run_cli_bench.sh
// makes it with native tools).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "bench/bench_support.h"

namespace {

constexpr double kTargetRatio = 1.05;
constexpr DWORD kTimeoutMs = 600000;
constexpr char kTemplate[] = "%name%\r\n_\r\n%Taxis:6,1,1%\r\n%ext%";

using tarnivo::bench::Median;
using tarnivo::bench::RemoveFolder;
using tarnivo::bench::Seconds;

std::wstring Self() {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  return std::wstring(self, length);
}

std::wstring BesideThis(const wchar_t* name) {
  const std::wstring self = Self();
  return self.substr(0, self.find_last_of(L'\\') + 1) + name;
}

std::wstring Padded(int value, int width) {
  std::wstring text = std::to_wstring(value);
  return std::wstring(static_cast<std::size_t>(std::max(0, width - static_cast<int>(text.size()))),
                      L'0') +
         text;
}

// The folder's files in the order of their names (zero-padded: every order agrees).
std::vector<std::wstring> Listing(const std::wstring& folder) {
  std::vector<std::wstring> names = tarnivo::bench::FilesIn(folder);
  std::sort(names.begin(), names.end());
  return names;
}

// What the template makes of the `index`th name: "IMG_00001.jpg" -> "IMG_00001_000001.jpg".
std::wstring NewName(const std::wstring& name, int index) {
  return name.substr(0, name.size() - 4) + L"_" + Padded(index + 1, 6) + L".jpg";
}

// The child: the bare loop.
int BareRenames(const std::wstring& folder) {
  const std::vector<std::wstring> names = Listing(folder);
  int failed = 0;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::wstring from = folder + L"\\" + names[i];
    const std::wstring to = folder + L"\\" + NewName(names[i], static_cast<int>(i));
    if (!MoveFileW(from.c_str(), to.c_str())) ++failed;
  }
  return failed == 0 ? 0 : 1;
}

// Seconds from the start of `exe` until it has ended with 0; negative otherwise.
double TimeProcess(const std::wstring& exe, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
  // Its output goes nowhere, as a script's would to a file; the program writes it anyway.
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  const HANDLE nul =
      CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup{sizeof(startup)};
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = nul;
  startup.hStdError = nul;
  PROCESS_INFORMATION process{};
  const double started = Seconds();
  const BOOL created = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                      nullptr, nullptr, &startup, &process);
  if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
  if (!created) return -1;
  WaitForSingleObject(process.hProcess, kTimeoutMs);
  const double seconds = Seconds() - started;
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code == 0 ? seconds : -1;
}

// Every renamed file back to its old name; false when one was not renamed.
bool PutBack(const std::wstring& folder, const std::vector<std::wstring>& names) {
  bool all = true;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::wstring renamed = folder + L"\\" + NewName(names[i], static_cast<int>(i));
    all = MoveFileW(renamed.c_str(), (folder + L"\\" + names[i]).c_str()) && all;
  }
  return all;
}

bool MakeFiles(const std::wstring& folder, int count) {
  for (int i = 1; i <= count; ++i) {
    const std::wstring path = folder + L"\\IMG_" + Padded(i, 5) + L".jpg";
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
  }
  return true;
}

bool WriteTemplate(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, kTemplate, sizeof kTemplate - 1, &written, nullptr) &&
                  written == sizeof kTemplate - 1;
  CloseHandle(file);
  return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && std::wstring(argv[1]) == L"--bare") return BareRenames(argv[2]);
  int files = 2000, repeat = 5;
  std::wstring folder;
  for (int i = 1; i < argc; ++i) {
    const std::wstring argument = argv[i];
    if (argument == L"--repeat" && i + 1 < argc) {
      repeat = std::max(1, _wtoi(argv[++i]));
    } else if (argument == L"--folder" && i + 1 < argc) {
      folder = argv[++i];
    } else if (!argument.empty() && iswdigit(argument[0])) {
      files = std::max(1, _wtoi(argument.c_str()));
    }
  }
  const std::wstring scratch = tarnivo::bench::MakeTempFolder(L"tarnivo-cli-");
  if (scratch.empty()) return 1;
  // The program keeps its records beside itself: a copy of its own in the scratch folder.
  const std::wstring program = scratch + L"\\tarnivo.exe";
  const std::wstring templateFile = scratch + L"\\t.txt";
  const bool ownFolder = folder.empty();
  if (ownFolder) folder = scratch + L"\\files";
  const bool ready =
      CopyFileW(BesideThis(L"tarnivo.exe").c_str(), program.c_str(), TRUE) &&
      WriteTemplate(templateFile) &&
      (!ownFolder || (CreateDirectoryW(folder.c_str(), nullptr) && MakeFiles(folder, files)));
  const std::vector<std::wstring> names = Listing(folder);
  if (!ready || names.empty()) {
    std::fprintf(stderr, "could not prepare %ls\n", scratch.c_str());
    RemoveFolder(scratch);
    return 1;
  }
  // The fixed cost of each side: started on an empty folder.
  const std::wstring empty = scratch + L"\\empty";
  std::vector<double> emptyRun, emptyBare, usage;
  if (CreateDirectoryW(empty.c_str(), nullptr)) {
    for (int round = 0; round < repeat; ++round) {
      usage.push_back(TimeProcess(program, L"/?"));
      emptyRun.push_back(TimeProcess(
          program, L"\"" + empty + L"\" /run /template-file \"" + templateFile + L"\""));
      emptyBare.push_back(TimeProcess(Self(), L"--bare \"" + empty + L"\""));
    }
  }
  std::vector<double> run, bare;
  bool sound = true;
  for (int round = 0; round < repeat && sound; ++round) {
    run.push_back(
        TimeProcess(program, L"\"" + folder + L"\" /run /template-file \"" + templateFile + L"\""));
    sound = PutBack(folder, names);
    bare.push_back(TimeProcess(Self(), L"--bare \"" + folder + L"\""));
    sound = sound && PutBack(folder, names);
  }
  RemoveFolder(scratch);
  const bool measured = sound &&
                        std::none_of(run.begin(), run.end(), [](double s) { return s < 0; }) &&
                        std::none_of(bare.begin(), bare.end(), [](double s) { return s < 0; });
  if (!measured) {
    std::fprintf(stderr, "a round failed: the folder may hold renamed files\n");
    return 1;
  }
  // Each round's own ratio, the two measured side by side: a noisy machine moves both.
  std::vector<double> ratios;
  for (std::size_t i = 0; i < run.size(); ++i) ratios.push_back(run[i] / bare[i]);
  const double ratio = Median(ratios);
  std::printf("%zu files, processes started and waited for, medians of %d:\n", names.size(),
              repeat);
  std::printf("  bare MoveFileW loop        %.3f s\n", Median(bare));
  std::printf(
      "  tarnivo.exe /run           %.3f s   ratio %.2f, median of the rounds' (target <= %.2f)\n",
      Median(run), ratio, kTargetRatio);
  std::printf(
      "  on an empty folder: bare %.3f s, tarnivo.exe /run %.3f s (tarnivo.exe /? %.3f s)\n",
      Median(emptyBare), Median(emptyRun), Median(usage));
  return ratio <= kTargetRatio ? 0 : 2;
}
