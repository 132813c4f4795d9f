// What the preview costs. (a) One full pass over a folder's names (every name built and
// checked against the names taken) against listing that folder as the file list does,
// alternating in one process, medians compared; and of the pass, the ordering of the moves
// (what the run plans too once every entry has its name). (b) The real main window on that folder,
// its preview open, while 20 keystrokes are typed into the template box: a second thread
// types and keeps sending the window WM_NULL, and the longest wait for an answer is the
// longest the window kept a message waiting.
//
//   tarnivo_preview_bench --folder PATH [--repeat N] [--interval MS] [--template filters]
//
// --template filters: the template "%name | regex "^IMG_(\d+)" "photo-$1" | upper%" and
// "%ext | lower%" instead of "%name%" / "_" / "%Taxis:6,1,1%" / "%ext%".
// The folder is made with native tools by bench/run_preview_bench.sh: Wine makes files
// slowly from the Windows side. Every file of it is listed (pattern "*").
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cwchar>
#include <string>
#include <thread>
#include <vector>

#include "app/batch_setup.h"
#include "app/control_ids.h"
#include "app/folder_listing.h"
#include "app/main_window.h"
#include "bench/bench_support.h"
#include "engine/preview_pass.h"
#include "settings/settings_store.h"
#include "win/paths.h"
#include "win/window_text.h"

namespace {

constexpr double kTargetRatio = 1.0;
constexpr double kTargetOrderRatio = 0.2;
constexpr double kTargetWaitMs = 100;
constexpr int kKeystrokes = 20;
const wchar_t* const kPlainTemplate = L"%name%\r\n_\r\n%Taxis:6,1,1%\r\n%ext%";
// Filters: each line parsed and its pattern compiled once per pass, applied per name.
const wchar_t* const kFilterTemplate =
    L"%name | regex \"^IMG_(\\d+)\" \"photo-$1\" | upper%\r\n%ext | lower%";
const wchar_t* kTemplate = kPlainTemplate;
const wchar_t* const kChecking = L"正在检查…";

using tarnivo::bench::Median;
using tarnivo::bench::Seconds;

struct Options {
  std::wstring Folder;
  int Repeat = 5;
  int IntervalMs = 120;  // between keystrokes: a fast typist
};

bool ParseArguments(int argc, wchar_t** argv, Options& options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::wstring argument = argv[i];
    if (argument == L"--folder") {
      options.Folder = argv[i + 1];
    } else if (argument == L"--repeat") {
      options.Repeat = std::max(1, _wtoi(argv[i + 1]));
    } else if (argument == L"--interval") {
      options.IntervalMs = std::max(1, _wtoi(argv[i + 1]));
    } else if (argument == L"--template") {
      kTemplate = std::wstring(argv[i + 1]) == L"filters" ? kFilterTemplate : kPlainTemplate;
    } else {
      return false;
    }
  }
  return !options.Folder.empty();
}

double Time(const auto& action) {
  const double start = Seconds();
  action();
  return Seconds() - start;
}

// (a): the pass against the listing it works from.
bool MeasurePass(const Options& options, const std::wstring& programFolder) {
  const tarnivo::SettingsStore settings(programFolder);
  tarnivo::BatchSources sources;
  sources.ReadSetting = [&settings](std::wstring_view section, std::wstring_view key,
                                    std::wstring_view defaultValue) {
    return settings.Read(section, key, defaultValue);
  };
  sources.Now = [] { return tarnivo::DateTime{2026, 12, 7, 10, 0, 0}; };
  auto listing = std::make_shared<tarnivo::WorkList>();
  const auto list = [&] {
    return tarnivo::ListFolder(options.Folder, L"*", tarnivo::FileListFlags{}, *listing);
  };
  if (!list()) {
    std::fwprintf(stderr, L"cannot list %ls\n", options.Folder.c_str());
    return false;
  }
  const tarnivo::PlanSetup setup = tarnivo::AssemblePlan(sources, listing, kTemplate);
  // Untimed: the system's name classes are worked out at the first pass of a process.
  const double first = Time([&] { tarnivo::RunPreview(setup, nullptr); });
  std::vector<double> listings, passes, orderings;
  std::unique_ptr<tarnivo::PreviewResult> result;
  for (int r = 0; r < options.Repeat; ++r) {
    auto names = std::make_shared<tarnivo::WorkList>();
    listings.push_back(
        Time([&] { tarnivo::ListFolder(options.Folder, L"*", tarnivo::FileListFlags{}, *names); }));
    passes.push_back(Time([&] { result = tarnivo::RunPreview(setup, nullptr); }));
    // The part of a pass (and of a run) that orders the moves, after every entry is planned.
    tarnivo::BatchPlanner planner(setup);
    for (std::int32_t i = 0; i < planner.Count(); ++i) planner.PlanEntry(i);
    orderings.push_back(Time([&] { planner.Finish(); }));
  }
  if (!result) return false;
  const double listTime = Median(listings), passTime = Median(passes);
  std::wprintf(L"(a) %zu names, %d runs each, medians:\n", listing->Entries.size(), options.Repeat);
  std::wprintf(L"    listing the folder (file list, \"*\")    %8.1f ms\n", listTime * 1000);
  std::wprintf(
      L"    one full preview pass                  %8.1f ms   ratio %.2f (target <= %.2f: %ls)\n",
      passTime * 1000, passTime / listTime, kTargetRatio,
      passTime / listTime <= kTargetRatio ? L"met" : L"NOT met");
  const double orderTime = Median(orderings);
  std::wprintf(
      L"    of it, ordering the moves             %8.1f ms   ratio %.2f (target <= %.2f: %ls)\n",
      orderTime * 1000, orderTime / listTime, kTargetOrderRatio,
      orderTime / listTime <= kTargetOrderRatio ? L"met" : L"NOT met");
  std::wprintf(L"    first pass of the process (name classes made)  %.1f ms\n", first * 1000);
  std::wprintf(L"    rows: %d renamed, %d unchanged, %d failing\n", result->Counts.Renamed,
               result->Counts.Unchanged, result->Counts.Failing);
  return true;
}

// (b): the window typed into while passes run.
bool MeasureTyping(const Options& options, const std::wstring& programFolder) {
  tarnivo::MainWindowOptions windowOptions;
  windowOptions.ProgramFolder = programFolder;
  windowOptions.Arguments = L"\"" + options.Folder + L"\"";
  windowOptions.OnUnloaded = [] {};
  windowOptions.ShellOpen = [](HWND, const std::wstring&, const std::wstring&) {};
  int menuChoice = 0;  // what the preview's pop-up menu answers
  windowOptions.PopupMenu = [&menuChoice](HMENU, POINT) { return menuChoice; };
  tarnivo::MainWindow window(std::move(windowOptions));
  const double started = Seconds();
  if (!window.Create(SW_SHOWNOACTIVATE)) return false;
  const double created = Seconds() - started;
  const HWND main = window.Handle();
  const HWND box = GetDlgItem(main, tarnivo::ids::TextRull);
  SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kTemplate));
  SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(-1), -1);
  PostMessageW(box, WM_KEYDOWN, VK_F5, 1);  // the preview opens, as the user would have it

  const DWORD windowThread = GetCurrentThreadId();
  std::atomic<bool> done{false};
  std::vector<double> waits;
  double lastKey = 0, settled = 0;
  std::thread typist([&] {
    const auto summary = [&] {
      const HWND preview = window.PreviewHandle();
      return preview ? tarnivo::WindowText(GetDlgItem(preview, tarnivo::ids::PreviewSummary))
                     : std::wstring(kChecking);
    };
    const auto probe = [&] {
      const double before = Seconds();
      DWORD_PTR answer = 0;
      SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer);
      waits.push_back((Seconds() - before) * 1000);
    };
    const auto checking = [&] {
      const std::wstring text = summary();
      return text.empty() || text == kChecking;
    };
    // The window settles first: the list read, the first pass shown.
    while (checking()) Sleep(10);
    for (int key = 0; key < kKeystrokes; ++key) {
      PostMessageW(box, WM_CHAR, static_cast<WPARAM>(L'a' + key % 26), 1);
      lastKey = Seconds();
      while (key + 1 < kKeystrokes && (Seconds() - lastKey) * 1000 < options.IntervalMs) {
        probe();
        Sleep(5);
      }
    }
    while (checking()) probe();
    settled = Seconds();
    done = true;
    PostThreadMessageW(windowThread, WM_NULL, 0, 0);  // wakes the loop below
  });
  MSG message;
  while (!done && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (window.PreTranslateMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  typist.join();
  const std::wstring finalSummary =
      tarnivo::WindowText(GetDlgItem(window.PreviewHandle(), tarnivo::ids::PreviewSummary));
  const double longest = waits.empty() ? 0 : *std::max_element(waits.begin(), waits.end());
  std::wprintf(L"(b) the window on the folder (made and listed in %.0f ms), preview open,\n",
               created * 1000);
  std::wprintf(L"    %d keystrokes %d ms apart, %zu probes:\n", kKeystrokes, options.IntervalMs,
               waits.size());
  std::wprintf(L"    longest wait of the window for a message %6.1f ms (target <= %.0f: %ls)\n",
               longest, kTargetWaitMs, longest <= kTargetWaitMs ? L"met" : L"NOT met");
  std::wprintf(L"    median wait                                %6.2f ms\n", Median(waits));
  std::wprintf(L"    last keystroke to its rows shown           %6.1f ms\n",
               (settled - lastKey) * 1000);
  // The console may not take Chinese through wprintf: UTF-8 bytes.
  std::string utf8(finalSummary.size() * 3, '\0');
  utf8.resize(static_cast<size_t>(
      WideCharToMultiByte(CP_UTF8, 0, finalSummary.c_str(), static_cast<int>(finalSummary.size()),
                          utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr)));
  std::wprintf(L"    summary then: ");
  std::fflush(stdout);
  std::fputs((utf8 + "\n").c_str(), stdout);

  // (c) every row left out, ticked again and inverted from the preview's menu.
  const HWND rows = GetDlgItem(window.PreviewHandle(), tarnivo::ids::PreviewList);
  double longestTick = 0;
  for (const int command : {2, 1, 3}) {  // 全部不选, 全部勾选, 反向勾选
    menuChoice = command;
    const tarnivo::bench::Timing tick = tarnivo::bench::Measure(main, [&] {
      SendMessageW(window.PreviewHandle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(rows),
                   MAKELPARAM(10, 10));
    });
    longestTick = std::max({longestTick, tick.Seconds, tick.LongestWait});
  }
  std::wprintf(
      L"(c) every one of %d rows left out, ticked, inverted: the longest the window was busy "
      L"%.1f ms (target <= %.0f: %ls)\n",
      window.File1().Count(), longestTick * 1000, kTargetWaitMs,
      longestTick * 1000 <= kTargetWaitMs ? L"met" : L"NOT met");
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Options options;
  if (!ParseArguments(argc, argv, options)) {
    std::fwprintf(stderr,
                  L"usage: tarnivo_preview_bench --folder PATH [--repeat N] [--interval MS]\n");
    return 2;
  }
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  const std::wstring programFolder = tarnivo::bench::MakeTempFolder(L"tarnivo-preview-bench-");
  if (programFolder.empty()) return 1;
  // Every file of the folder is listed.
  tarnivo::SettingsStore(programFolder).Write(tarnivo::setting::Pattern, L"*");
  const bool ok = MeasurePass(options, programFolder) && MeasureTyping(options, programFolder);
  tarnivo::bench::RemoveFolder(programFolder);
  std::fflush(stdout);
  return ok ? 0 : 1;
}
