// "Undo.LOG" on disk as a run and an undo write it. Every record goes straight to the file;
// a record that cannot be written (a full disk, no memory left) closes the journal, so
// that it never holds a hole: what it holds is true, and Intact() says whether it is whole.
#pragma once

#include <new>
#include <string>
#include <string_view>

#include "engine/log_file.h"
#include "engine/undo_journal.h"

namespace tarnivo {

class JournalFile {
 public:
  // Creates the journal (`path` in the ordinary form), replacing an older one, and hands
  // its header to the disk. False, and no journal, when either fails.
  bool Create(const std::wstring& path, const JournalHeader& header);
  // Opens the journal to add an undo's records, ending first a last line that a killed
  // run left unfinished (`endsInLine`). False when it cannot be opened.
  bool OpenToAppend(const std::wstring& path, bool endsInLine);

  // Appends what `makeBytes` returns (a std::string), after an outcome still held.
  template <typename MakeBytes>
  void Record(MakeBytes makeBytes) noexcept {
    if (!file_.IsOpen()) return;
    try {
      std::string bytes = std::move(held_);
      held_.clear();
      bytes += makeBytes();
      if (file_.Write(bytes)) return;
    } catch (const std::bad_alloc&) {
    }
    file_.Close();
    broken_ = true;
  }
  // An outcome, written with the next record or at the next flush: a rename then costs
  // one write. A kill in between leaves at most the last rename without its outcome, which
  // the undo settles from the files themselves, as for a kill during the rename.
  void RecordOutcome(std::string bytes) noexcept {
    if (!file_.IsOpen()) return;
    try {
      held_ += bytes;
    } catch (const std::bad_alloc&) {
      Record([&] { return std::move(bytes); });
    }
  }
  // Hands what was written to the disk: at every hand-over and at the end.
  void Flush() {
    if (!held_.empty()) Record([] { return std::string(); });
    file_.Flush();
  }
  // Open, and every record so far written.
  bool Intact() const { return file_.IsOpen() && !broken_; }

 private:
  OutputFile file_;
  std::string held_;  // an outcome not yet written
  bool broken_ = false;
};

// "Undo.void" beside the journal says that the journal is not the record of the last run:
// that run could neither write its own journal nor remove the older one. No undo is
// offered while it is there; the next run that writes a journal removes it.
inline constexpr std::wstring_view kJournalVoidName = L"Undo.void";

// True when the journal at `journalPath` is marked void.
bool JournalVoided(const std::wstring& journalPath);
// A run writes no journal: the older one at `journalPath` is deleted (only when
// `mayDelete`: it may be a file of the run itself) or else marked void. False when neither
// could be done.
bool RetireJournal(const std::wstring& journalPath, bool mayDelete);
// A journal was written: it is the last run's record again.
void ClearJournalVoid(const std::wstring& journalPath);

}  // namespace tarnivo
