#include "engine/journal_file.h"

#include <windows.h>

#include "win/paths.h"

namespace tarnivo {
namespace {

std::wstring VoidPath(const std::wstring& journalPath) {
  return FolderOf(journalPath) + std::wstring(kJournalVoidName);
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(ExtendedPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// What the marker says to a person who opens it.
constexpr std::string_view kVoidText =
    "\xEF\xBB\xBFUndo.LOG 不是最后一次转换的记录: 那次转换没能写撤销记录, 也没能删掉旧的记录, "
    "所以不能撤销。下一次写出撤销记录的转换会删掉这个文件。\r\n";

}  // namespace

bool JournalVoided(const std::wstring& journalPath) { return Exists(VoidPath(journalPath)); }

bool RetireJournal(const std::wstring& journalPath, bool mayDelete) {
  if (!Exists(journalPath)) return true;
  if (mayDelete && DeleteFileW(ExtendedPath(journalPath).c_str())) return true;
  OutputFile marker;
  return marker.Create(VoidPath(journalPath)) && marker.Write(kVoidText);
}

void ClearJournalVoid(const std::wstring& journalPath) {
  // A marker that cannot be removed keeps the undo off: the safe side.
  DeleteFileW(ExtendedPath(VoidPath(journalPath)).c_str());
}

bool JournalFile::Create(const std::wstring& path, const JournalHeader& header) {
  broken_ = false;
  if (!file_.Create(path)) return false;
  Record([&] { return JournalHeaderText(header); });
  if (!Intact()) return false;
  file_.Flush();
  return true;
}

bool JournalFile::OpenToAppend(const std::wstring& path, bool endsInLine) {
  broken_ = false;
  if (!file_.OpenToAppend(path)) return false;
  if (endsInLine) Record([] { return std::string("\r\n"); });
  return Intact();
}

}  // namespace tarnivo
