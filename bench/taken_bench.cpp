// What %taken% costs against reading the first 64 KiB of each file with ReadFile, side by
// side in one run over the same photos: the date taken is read as the run reads it (its
// own file dates, each file opened once), the bare loop only reads. And the list's order by
// date taken against the same loop: every date of the folder's listing read into the shared
// dates (as the list's reader does), the entries sorted.
//
//   tarnivo_taken_bench FOLDER [--repeat N]
//
// FOLDER holds the photos; bench/run_taken_bench.sh makes 2 000 JPEG files of 1 to 5 MB
// there with native tools and runs this.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/folder_listing.h"
#include "app/main_window.h"
#include "bench/bench_support.h"
#include "engine/file_dates.h"
#include "engine/list_order.h"
#include "engine/taken_dates.h"
#include "engine/token.h"
#include "settings/settings_store.h"
#include "win/paths.h"

namespace {

constexpr double kTargetRatio = 2.0;
constexpr double kTargetSortRatio = 1.2;

using tarnivo::bench::Median;
using tarnivo::bench::Seconds;

using tarnivo::bench::FilesIn;

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

// Seconds to read every date taken of `list` into fresh shared dates and sort by them.
double SortByTaken(const std::wstring& folder, const tarnivo::WorkList& list) {
  const double started = Seconds();
  tarnivo::TakenDates known;
  const std::wstring prefix = tarnivo::EnsureTrailingBackslash(folder);
  std::vector<std::optional<tarnivo::DateTime>> taken;
  taken.reserve(list.Entries.size());
  for (const tarnivo::ListedFile& file : list.Entries) {
    static_cast<void>(tarnivo::FileDates(prefix, file, &known).Read(tarnivo::FileDateKind::Taken));
    taken.push_back(known.Find(prefix, file).value_or(std::nullopt));
  }
  const std::vector<std::int32_t> order =
      tarnivo::SortedOrder(list, {tarnivo::SortKey::Taken, false}, taken);
  return order.size() == list.Entries.size() ? Seconds() - started : -1;
}

// The window on `folder` with the order by date taken: from its start until the list has
// its order, the longest the window kept a message waiting, and how long that took.
tarnivo::bench::Timing WindowWhileDatesAreRead(const std::wstring& folder) {
  const std::wstring programFolder = tarnivo::bench::MakeTempFolder(L"tarnivo-taken-window-");
  const tarnivo::SettingsStore settings(programFolder);
  settings.Write(tarnivo::setting::Pattern, L"*");
  settings.Write(tarnivo::setting::Sort, L"taken");
  tarnivo::MainWindowOptions options;
  options.ProgramFolder = programFolder;
  options.Arguments = L"\"" + folder + L"\"";
  options.OnUnloaded = [] {};
  tarnivo::bench::Timing timing;
  {
    tarnivo::MainWindow window(std::move(options));
    if (window.Create(SW_SHOWNOACTIVATE)) {
      const HWND start = GetDlgItem(window.Handle(), tarnivo::ids::ImgStart);
      timing = tarnivo::bench::Measure(window.Handle(), [&] {
        const double until = Seconds() + 600;
        MSG message;
        while (!IsWindowEnabled(start) && Seconds() < until) {
          MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
          while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
          }
        }
      });
    }
  }
  tarnivo::bench::RemoveFolder(programFolder);
  return timing;
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
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  tarnivo::WorkList list;  // as the file list read it: the sort comes after the listing
  if (!tarnivo::ListFolder(folder, L"*", tarnivo::FileListFlags{}, list)) return 1;
  std::vector<double> bare, taken, sorted;
  for (int round = 0; round < repeat; ++round) {
    bare.push_back(ReadStarts(folder, names));
    taken.push_back(EvaluateTaken(folder, names));
    sorted.push_back(SortByTaken(folder, list));
  }
  const double bareSeconds = Median(bare), takenSeconds = Median(taken);
  const double sortSeconds = Median(sorted);
  if (bareSeconds <= 0 || takenSeconds <= 0) {
    std::fprintf(stderr, "a file could not be read or has no date taken\n");
    return 1;
  }
  std::printf("%%taken%% for %zu photos, medians of %d:\n", names.size(), repeat);
  std::printf("  ReadFile of the first 64 KiB   %.3f s\n", bareSeconds);
  std::printf("  %%taken%%                         %.3f s   ratio %.2f (target <= %.2f)\n",
              takenSeconds, takenSeconds / bareSeconds, kTargetRatio);
  std::printf("  the list sorted by date taken   %.3f s   ratio %.2f (target <= %.2f)\n",
              sortSeconds, sortSeconds / bareSeconds, kTargetSortRatio);
  const tarnivo::bench::Timing window = WindowWhileDatesAreRead(folder);
  std::printf(
      "  the window, its dates read in the background: %.3f s, longest wait %.1f ms "
      "(target under 100 ms)\n",
      window.Seconds, window.LongestWait * 1000);
  return takenSeconds / bareSeconds <= kTargetRatio ? 0 : 2;
}
