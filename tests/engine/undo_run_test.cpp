// The journal a run writes on real files, and RunUndo on it: what is renamed back, what is
// left alone, what is logged, and what the journal records of the undo.
#include "engine/undo_run.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "engine/rename_run.h"
#include "engine/undo_journal.h"
#include "tests/engine/run_setup.h"
#include "tests/support/temp_folder.h"
#include "win/code_page.h"

namespace tarnivo::test {
namespace {

using Names = std::vector<std::wstring>;

const std::wstring kCaption = L"《Tarnivo》 V 1.0";
constexpr DateTime kNow{2031, 2, 3, 17, 8, 9};

class UndoRunTest : public ::testing::Test {
 protected:
  BatchSetup Records() const {
    BatchSetup setup;
    setup.LogPath = programFolder / L"Err.LOG";
    setup.JournalPath = JournalPath();
    setup.Caption = kCaption;
    setup.Now = [] { return kNow; };
    return setup;
  }
  BatchOutcome Run(const std::wstring& templateText, const Names& names) {
    RenameRunSetup setup = RunOf(Folder(), names, templateText);
    setup.Batch = Records();
    BatchHost host;
    host.OnStarted = [this] { journalAtStart = ReadFileBytes(JournalPath()); };
    return RunRename(std::move(setup), host);
  }
  BatchOutcome Undo() {
    BatchHost host;
    host.OnProgress = [this](const BatchProgress& shown) {
      EXPECT_EQ(shown.ListIndex, -1);
      progress.push_back(shown.Text);
    };
    return RunUndo(Records(), host);
  }
  // Each file holds its own name, so a content shows where a file went.
  void MakeFiles(const Names& names) const {
    for (const std::wstring& name : names) files.WriteFile(name, ToAnsi(name));
  }
  std::string Content(const std::wstring& name) const { return ReadFileBytes(files / name); }
  std::wstring Folder() const { return files.Path() + L"\\"; }
  std::wstring JournalPath() const { return programFolder / L"Undo.LOG"; }
  std::string Journal() const { return ReadFileBytes(JournalPath()); }
  // The journal after its header, as UTF-8 text.
  std::string JournalRecords() const {
    const std::string journal = Journal();
    const size_t note = journal.find("说明\t");
    return note == std::string::npos ? journal : journal.substr(journal.find("\r\n", note) + 2);
  }
  // The log's entries after its header, with the system's reasons shown as "…".
  std::wstring LogEntries() const {
    const std::wstring log = FromAnsi(ReadFileBytes(programFolder / L"Err.LOG"));
    const size_t end = log.find(L"\r\n\r\n\r\n");
    return std::regex_replace(end == std::wstring::npos ? log : log.substr(end + 6),
                              std::wregex(L" \\([^\r]*\\)\r\n"), L" (…)\r\n");
  }
  std::wstring Entry(int number, const std::wstring& planned, const std::wstring& current,
                     int error, const std::wstring& detail) const {
    return std::to_wstring(number) + std::wstring(32, L'=') + L"\r\n拟转换文件名: " + Folder() +
           planned + L"\r\n原文件名: " + Folder() + current + L"\r\n错误代号: " +
           std::to_wstring(error) + L"\r\n详细内容: " + detail + L"\r\n";
  }
  // A journal as a run killed at some point left it, on this test's folder.
  void WriteJournal(const std::string& entries) const {
    const std::string head = "\xEF\xBB\xBF文件夹\t" + ToUtf8(Folder()) + "\r\n";
    programFolder.WriteFile(L"Undo.LOG", head + entries);
  }
  static std::string ToUtf8(const std::wstring& text) {
    std::string bytes(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr,
                                                              0, nullptr, nullptr)),
                      '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), static_cast<int>(bytes.size()),
                        nullptr, nullptr);
    bytes.pop_back();
    return bytes;
  }

  TempFolder programFolder;
  TempFolder files;
  std::string journalAtStart;
  Names progress;
};

TEST_F(UndoRunTest, RunRecordsEachRenameAndItsOutcome) {
  MakeFiles({L"a.jpg", L"b.jpg", L"c.jpg"});
  files.WriteFile(L"b_.jpg", "taken");
  EXPECT_TRUE(Run(L"%name%\r\n_\r\n%ext%", {L"a.jpg", L"b.jpg", L"c.jpg"}).JournalIntact);
  // The header is on the disk before the first rename.
  EXPECT_EQ(journalAtStart.rfind("\xEF\xBB\xBF标题\t《Tarnivo》 V 1.0\r\n文件夹\t" +
                                     ToUtf8(Folder()) + "\r\n时间\t2031-02-03 17:08:09\r\n",
                                 0),
            0u);
  EXPECT_EQ(JournalRecords(),
            "1\ta.jpg\ta_.jpg\t成功\r\n2\tb.jpg\tb_.jpg\t失败 58\r\n3\tc.jpg\tc_.jpg\t成功\r\n");
  // A name refused before any rename is recorded with its outcome at once.
  MakeFiles({L"d.jpg"});
  Run(L"%name%\r\n\t", {L"d.jpg"});
  EXPECT_EQ(JournalRecords(), "1\td.jpg\td<U+0009>\t失败 52\r\n");
}

TEST_F(UndoRunTest, UndoGivesBackTheOldNamesOfTheRenamedFilesOnly) {
  const Names names{L"a.jpg", L"b.jpg", L"照片.jpg", L"한국.jpg", L"\U0001F600.jpg"};
  MakeFiles(names);
  files.WriteFile(L"b_.jpg", "taken");
  Run(L"%name%\r\n_\r\n%ext%", names);
  ASSERT_EQ(FileNamesIn(files.Path()), (Names{L"a_.jpg", L"b.jpg", L"b_.jpg", L"照片_.jpg",
                                              L"한국_.jpg", L"\U0001F600_.jpg"}));
  const BatchOutcome outcome = Undo();
  EXPECT_TRUE(outcome.Started);
  EXPECT_EQ(outcome.Folder, Folder());
  EXPECT_EQ(outcome.Done, 4);
  EXPECT_EQ(outcome.Failures, 0);
  EXPECT_TRUE(outcome.LogCreated);
  EXPECT_TRUE(outcome.JournalIntact);
  Names expected = names;
  expected.push_back(L"b_.jpg");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FileNamesIn(files.Path()), expected);
  for (const std::wstring& name : names) EXPECT_EQ(Content(name), ToAnsi(name));
  EXPECT_EQ(Content(L"b_.jpg"), "taken");
  // Last entry first; the progress names the file's name before its undo.
  EXPECT_EQ(progress.back(), L"正在恢复:  " + Folder() + L"a_.jpg");
  EXPECT_EQ(LogEntries(), L"");
  EXPECT_NE(
      JournalRecords().find("恢复\t5\t成功\r\n恢复\t4\t成功\r\n恢复\t3\t成功\r\n恢复\t1\t成功\r\n"
                            "撤销完成\t2031-02-03 17:08:09\r\n"),
      std::string::npos)
      << JournalRecords();

  // A second undo does nothing at all.
  programFolder.WriteFile(L"Err.LOG", "kept");
  EXPECT_FALSE(JournalHasUndo(JournalPath()));
  EXPECT_FALSE(Undo().Started);
  EXPECT_EQ(FileNamesIn(files.Path()), expected);
  EXPECT_EQ(ReadFileBytes(programFolder / L"Err.LOG"), "kept");
}

TEST_F(UndoRunTest, OldNameTakenOrFileGoneMeanwhileFailsAndReplacesNothing) {
  MakeFiles({L"a.jpg", L"b.jpg", L"c.jpg"});
  Run(L"x_\r\n%name%\r\n%ext%", {L"a.jpg", L"b.jpg", L"c.jpg"});
  files.WriteFile(L"b.jpg", "new b");
  ASSERT_TRUE(DeleteFileW((files / L"x_c.jpg").c_str()));
  const BatchOutcome outcome = Undo();
  EXPECT_EQ(outcome.Done, 1);
  EXPECT_EQ(outcome.Failures, 2);
  EXPECT_EQ(FileNamesIn(files.Path()), (Names{L"a.jpg", L"b.jpg", L"x_b.jpg"}));
  EXPECT_EQ(Content(L"b.jpg"), "new b");
  EXPECT_EQ(Content(L"x_b.jpg"), "b.jpg");
  EXPECT_EQ(LogEntries(), Entry(1, L"c.jpg", L"x_c.jpg", 53, L"文件未找到 (…)") +
                              Entry(2, L"b.jpg", L"x_b.jpg", 58, L"文件已存在 (…)"));
  EXPECT_FALSE(JournalHasUndo(JournalPath()));
}

// A swap goes through a temporary name, and its undo goes back step by step, also after a
// run killed between two steps.
TEST_F(UndoRunTest, SwapsAreJournaledStepByStepAndUndone) {
  MakeFiles({L"1.jpg", L"2.jpg"});
  Run(L"%Taxis:1,2,-1%\r\n.jpg", {L"1.jpg", L"2.jpg"});
  EXPECT_EQ(JournalRecords(),
            "1\t1.jpg\t~tarnivo--1.tmp\t成功\r\n2\t2.jpg\t1.jpg\t成功\r\n"
            "3\t~tarnivo--1.tmp\t2.jpg\t成功\r\n");
  EXPECT_EQ(Content(L"1.jpg"), "2.jpg");
  EXPECT_EQ(Undo().Done, 3);
  EXPECT_EQ(FileNamesIn(files.Path()), (Names{L"1.jpg", L"2.jpg"}));
  EXPECT_EQ(Content(L"1.jpg"), "1.jpg");
  EXPECT_EQ(Content(L"2.jpg"), "2.jpg");

  // Killed before its last step: one file under the temporary name, the other moved.
  for (const std::wstring& name : FileNamesIn(files.Path())) DeleteFileW((files / name).c_str());
  files.WriteFile(L"~tarnivo-x-1.tmp", "1.jpg");
  files.WriteFile(L"1.jpg", "2.jpg");
  WriteJournal(
      "1\t1.jpg\t~tarnivo-x-1.tmp\t成功\r\n2\t2.jpg\t1.jpg\t成功\r\n"
      "3\t~tarnivo-x-1.tmp\t2.jpg\t");
  const BatchOutcome outcome = Undo();
  EXPECT_EQ(outcome.Done, 2);
  EXPECT_EQ(outcome.Failures, 0);
  EXPECT_EQ(FileNamesIn(files.Path()), (Names{L"1.jpg", L"2.jpg"}));
  EXPECT_EQ(Content(L"1.jpg"), "1.jpg");
  EXPECT_EQ(Content(L"2.jpg"), "2.jpg");
}

// A journal edited by hand may hold old names the run itself would never give.
TEST_F(UndoRunTest, UndoRefusesOldNamesTheRunWouldRefuse) {
  const std::wstring longName(300, L'x');
  MakeFiles({L"a", L"b", L"c", L"d.jpg"});
  WriteJournal("1\tCON\ta\t成功\r\n2\tx:y.jpg\tb\t成功\r\n3\t" + ToUtf8(longName) +
               "\tc\t成功\r\n4\tok.jpg\td.jpg\t成功\r\n");
  const BatchOutcome outcome = Undo();
  EXPECT_EQ(outcome.Done, 1);
  EXPECT_EQ(outcome.Failures, 3);
  EXPECT_EQ(FileNamesIn(files.Path()), (Names{L"a", L"b", L"c", L"ok.jpg"}));
  EXPECT_EQ(LogEntries(), Entry(1, longName, L"c", 52, L"文件名无效 (…)") +
                              Entry(2, L"x:y.jpg", L"b", 52, L"文件名无效 (…)") +
                              Entry(3, L"CON", L"a", 52, L"文件名无效 (…)"));
}

// A kill between an entry's two writes leaves no outcome: the undo cannot know whether the
// rename happened, and decides from the files.
TEST_F(UndoRunTest, EntryWithoutOutcomeIsUndoneOnlyWhereTheRenameHappened) {
  struct Case {
    const wchar_t* What;
    Names Before;
    Names After;
    int Restored;
  };
  const Case cases[] = {
      {L"renamed: new name there, old name free", {L"b.jpg"}, {L"a.jpg"}, 1},
      {L"never renamed: new name missing", {L"a.jpg"}, {L"a.jpg"}, 0},
      {L"never renamed: both names taken", {L"a.jpg", L"b.jpg"}, {L"a.jpg", L"b.jpg"}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    for (const std::wstring& name : FileNamesIn(files.Path())) DeleteFileW((files / name).c_str());
    MakeFiles(c.Before);
    WriteJournal("1\ta.jpg\tb.jpg\t");  // cut short: not even a line end
    const BatchOutcome outcome = Undo();
    EXPECT_EQ(outcome.Done, c.Restored);
    EXPECT_EQ(outcome.Failures, 0);
    EXPECT_EQ(FileNamesIn(files.Path()), c.After);
    EXPECT_EQ(LogEntries(), L"");
    // The undo's records start on a line of their own.
    EXPECT_NE(Journal().find("1\ta.jpg\tb.jpg\t\r\n恢复\t1\t"), std::string::npos);
    EXPECT_FALSE(JournalHasUndo(JournalPath()));
  }
}

// Undo.LOG never holds a hole: where it cannot be written the run renames as always, and
// the journal offers nothing of it, nor of an older run: the older journal is deleted or,
// where that fails too, marked void until a run writes its journal again.
TEST_F(UndoRunTest, JournalThatCannotBeWrittenDoesNotStopTheRun) {
  struct Case {
    const wchar_t* What;
    std::function<void()> Prepare;
    bool Void;  // "Undo.void" marks the journal left there
  };
  TempFolder older;
  const std::string olderJournal = "文件夹\t" + ToUtf8(older.Path()) + "\r\n1\tx\ty\t成功\r\n";
  HANDLE held = INVALID_HANDLE_VALUE;
  const Case cases[] = {
      {L"a folder named Undo.LOG", [this] { programFolder.MakeFolder(L"Undo.LOG"); }, true},
      {L"a read-only Undo.LOG",
       [&] {
         programFolder.WriteFile(L"Undo.LOG", olderJournal);
         ASSERT_TRUE(SetFileAttributesW(JournalPath().c_str(), FILE_ATTRIBUTE_READONLY));
       },
       true},
      {L"an Undo.LOG another program holds",
       [&] {
         programFolder.WriteFile(L"Undo.LOG", olderJournal);
         held = CreateFileW(JournalPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
         ASSERT_NE(held, INVALID_HANDLE_VALUE);
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    MakeFiles({L"a.jpg", L"b.jpg"});
    c.Prepare();
    const BatchOutcome outcome = Run(L"%name%\r\n_", {L"a.jpg", L"b.jpg"});
    EXPECT_EQ(outcome.Done, 2);
    EXPECT_FALSE(outcome.JournalIntact);
    EXPECT_EQ(FileNamesIn(files.Path()), (Names{L"a_", L"b_"}));
    EXPECT_FALSE(JournalHasUndo(JournalPath()));
    EXPECT_EQ(FileExists(programFolder / L"Undo.void"), c.Void);
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    held = INVALID_HANDLE_VALUE;
    EXPECT_FALSE(JournalHasUndo(JournalPath()));  // also once the journal could be read
    SetFileAttributesW(JournalPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveTree(JournalPath());
    DeleteFileW(JournalPath().c_str());
    // The next run that writes its journal is the last run again.
    MakeFiles({L"c.jpg"});
    EXPECT_TRUE(Run(L"d.jpg", {L"c.jpg"}).JournalIntact);
    EXPECT_FALSE(FileExists(programFolder / L"Undo.void"));
    EXPECT_TRUE(JournalHasUndo(JournalPath()));
    for (const std::wstring& name : FileNamesIn(files.Path())) DeleteFileW((files / name).c_str());
  }
}

// An older journal the run could delete goes: it is not the record of this run.
TEST_F(UndoRunTest, OlderJournalGoesWhenTheRunWritesNone) {
  MakeFiles({L"a.jpg"});
  EXPECT_TRUE(Run(L"b.jpg", {L"a.jpg"}).JournalIntact);
  ASSERT_TRUE(JournalHasUndo(JournalPath()));
  // A run in the program folder itself writes no journal.
  programFolder.WriteFile(L"c.jpg", "c");
  RenameRunSetup setup = RunOf(programFolder.Path(), {L"c.jpg"}, L"d.jpg");
  setup.Batch = Records();
  EXPECT_FALSE(RunRename(std::move(setup), BatchHost{}).JournalIntact);
  EXPECT_FALSE(JournalHasUndo(JournalPath()));
}

TEST_F(UndoRunTest, NoJournalInTheWorkingFolder) {
  programFolder.WriteFile(L"a.jpg", "a");
  RenameRunSetup setup = RunOf(programFolder.Path() + L"\\", {L"a.jpg"}, L"b.jpg");
  // Spelt another way: the same folder all the same.
  setup.Batch.JournalPath = programFolder.Path() + L"\\.\\Undo.LOG";
  const BatchOutcome outcome = RunRename(std::move(setup), BatchHost{});
  EXPECT_EQ(outcome.Done, 1);
  EXPECT_FALSE(outcome.JournalIntact);
  EXPECT_EQ(FileNamesIn(programFolder.Path()), Names{L"b.jpg"});
}

}  // namespace
}  // namespace tarnivo::test
