#pragma once
// The preview's rows as the user reads them, and what they say a run will do: the files
// the folder holds afterwards and the failures Err.LOG lists. Shared by the window tests
// and the end-to-end tests, which compare the two after a real run.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "win/code_page.h"

namespace tarnivo::test {

inline const std::wstring kChecking = L"正在检查…";

struct PreviewRowText {
  std::wstring Old, New, Status;
};

// One failure of the log: the old name and the error number.
using LoggedFailure = std::pair<std::wstring, int>;

struct ForeseenRun {
  std::vector<std::wstring> FilesAfter;  // sorted, as FileNamesIn gives them
  std::vector<LoggedFailure> Failures;   // in the log's order
  int Renamed = 0, Unchanged = 0, Failing = 0;
};

// The parts of a 状态 text: "第 L 行 错误代号 N: …" for a line, "不变", "错误代号 N: …" for the
// rename itself.
inline std::vector<std::wstring> StatusParts(const std::wstring& status) {
  std::vector<std::wstring> parts;
  for (size_t start = 0; start < status.size();) {
    const size_t end = std::min(status.find(L"; ", start), status.size());
    parts.push_back(status.substr(start, end - start));
    start = end + 2;
  }
  return parts;
}

inline int ErrorNumberIn(const std::wstring& part) {
  const size_t at = part.find(L"错误代号 ");
  return at == std::wstring::npos ? -1 : std::stoi(part.substr(at + 5));
}

// What the rows say of a run on a folder that holds `filesBefore`: a row whose status
// names no failure of the rename and is not "不变" renames its file ("顺移" and "经临时名"
// say how). The log's old names pass through the ANSI code page, as the log's bytes do.
inline ForeseenRun Foresee(std::vector<std::wstring> filesBefore,
                           const std::vector<PreviewRowText>& rows) {
  ForeseenRun run;
  std::vector<std::wstring> added;
  for (const PreviewRowText& row : rows) {
    bool fails = false, unchanged = false;
    for (const std::wstring& part : StatusParts(row.Status)) {
      if (part == L"不变") {
        unchanged = true;
        continue;
      }
      if (part == L"顺移" || part == L"经临时名") continue;
      fails = fails || part.rfind(L"第 ", 0) != 0;
      run.Failures.emplace_back(FromAnsi(ToAnsi(row.Old)), ErrorNumberIn(part));
    }
    if (fails) {
      ++run.Failing;
    } else if (unchanged) {
      ++run.Unchanged;
    } else {
      ++run.Renamed;
      filesBefore.erase(std::remove(filesBefore.begin(), filesBefore.end(), row.Old),
                        filesBefore.end());
      added.push_back(row.New);
    }
  }
  filesBefore.insert(filesBefore.end(), added.begin(), added.end());
  std::sort(filesBefore.begin(), filesBefore.end());
  run.FilesAfter = std::move(filesBefore);
  return run;
}

// The failures of a log (its text already out of the ANSI code page), in order.
inline std::vector<LoggedFailure> FailuresInLog(const std::wstring& log,
                                                const std::wstring& folder) {
  std::vector<LoggedFailure> failures;
  const std::wstring oldLine = L"\r\n原文件名: " + folder;
  const std::wstring numberLine = L"\r\n错误代号: ";
  for (size_t at = log.find(oldLine); at != std::wstring::npos; at = log.find(oldLine, at + 1)) {
    const size_t start = at + oldLine.size();
    const size_t end = log.find(L"\r\n", start);
    const size_t number = log.find(numberLine, start);
    if (end == std::wstring::npos || number == std::wstring::npos) break;
    failures.emplace_back(log.substr(start, end - start),
                          std::stoi(log.substr(number + numberLine.size())));
  }
  return failures;
}

}  // namespace tarnivo::test
