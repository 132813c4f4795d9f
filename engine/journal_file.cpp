#include "engine/journal_file.h"

namespace tarnivo {

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
