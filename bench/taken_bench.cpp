// What %taken% costs against reading the first 64 KiB of each file with ReadFile, side by
// side in one run over the same photos: the date taken is read as the run reads it (its
// own file dates, each file opened once), the bare loop only reads.
//
//   tarnivo_taken_bench FOLDER [--repeat N]
//
// FOLDER holds the photos; bench/run_taken_bench.sh makes 2 000 JPEG files of 1 to 5 MB
// there with native tools and runs this.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "engine/file_dates.h"
#include "engine/token.h"

namespace {

constexpr double kTargetRatio = 2.0;

using tarnivo::bench::Median;
using tarnivo::bench::Seconds;

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
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

// Seconds to read the first 64 KiB of every file; -1 when one cannot be read.
double ReadStarts(const std::wstring& folder, const std::vector<std::wstring>& names) {
  std::vector<char> buffer(64 * 1024);
  const double started = Seconds();
  for (const std::wstring& name : names) {
    const HANDLE file = CreateFileW((folder + L"\\" + name).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    DWORD read = 0;
    const BOOL ok =
        ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr);
    CloseHandle(file);
    if (!ok) return -1;
  }
  return Seconds() - started;
}

// Seconds to evaluate %taken% for every file; -1 when one has no date.
double EvaluateTaken(const std::wstring& folder, const std::vector<std::wstring>& names) {
  tarnivo::TokenContext context;
  const double started = Seconds();
  for (const std::wstring& name : names) {
    tarnivo::FileDates dates(folder + L"\\" + name);
    context.FileName = name;
    context.FileDate = tarnivo::FileDates::ReaderOf(dates);
    if (!tarnivo::EvaluateToken(L"%taken%", context).Ok()) return -1;
  }
  return Seconds() - started;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tarnivo_taken_bench FOLDER [--repeat N]\n");
    return 1;
  }
  const std::wstring folder = argv[1];
  int repeat = 5;
  if (argc >= 4 && std::wstring(argv[2]) == L"--repeat") repeat = std::max(1, _wtoi(argv[3]));
  const std::vector<std::wstring> names = FilesIn(folder);
  if (names.empty()) return 1;
  std::vector<double> bare, taken;
  for (int round = 0; round < repeat; ++round) {
    bare.push_back(ReadStarts(folder, names));
    taken.push_back(EvaluateTaken(folder, names));
  }
  const double bareSeconds = Median(bare), takenSeconds = Median(taken);
  if (bareSeconds <= 0 || takenSeconds <= 0) {
    std::fprintf(stderr, "a file could not be read or has no date taken\n");
    return 1;
  }
  std::printf("%%taken%% for %zu photos, medians of %d:\n", names.size(), repeat);
  std::printf("  ReadFile of the first 64 KiB   %.3f s\n", bareSeconds);
  std::printf("  %%taken%%                         %.3f s   ratio %.2f (target <= %.2f)\n",
              takenSeconds, takenSeconds / bareSeconds, kTargetRatio);
  return takenSeconds / bareSeconds <= kTargetRatio ? 0 : 2;
}
