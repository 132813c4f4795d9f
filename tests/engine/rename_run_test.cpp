// RunRename on real files in a temp folder: what it renames, the bytes of its log and what
// it tells its caller.
#include "engine/rename_run.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "tests/engine/run_setup.h"
#include "tests/support/temp_folder.h"
#include "win/code_page.h"

namespace tarnivo::test {
namespace {

using Names = std::vector<std::wstring>;

const std::wstring kRule(32, L'=');

// The log header at the fixed clock, as the user reads it.
std::wstring Header(const std::wstring& templateText) {
  return L"\t《Tarnivo》 V 1.0\r\n\t把错误代号发送到 support@tarnivo.example 寻求免费帮助\r\n"
         L"\t或者 留言到 https://tarnivo.example/support\r\n\t31-02-03 & 17:08:09\r\n" +
         kRule + L"\r\n" + templateText + L"\r\n" + kRule + L"\r\n\r\n\r\n";
}

// "renamed/not renamed/failures", so one comparison checks the three counts.
std::string Counts(const BatchOutcome& outcome) {
  return std::to_string(outcome.Done) + "/" + std::to_string(outcome.NotDone) + "/" +
         std::to_string(outcome.Failures);
}

class RenameRunTest : public ::testing::Test {
 protected:
  BatchOutcome Run(const std::wstring& templateText, const Names& names, bool log = true) {
    RenameRunSetup setup = RunOf(Folder(), names, templateText);
    setup.Plan.Context.Now = [] { return DateTime{2031, 2, 3, 17, 8, 9}; };
    setup.Batch.Now = setup.Plan.Context.Now;
    if (log) setup.Batch.LogPath = LogPath();
    setup.Batch.Caption = L"《Tarnivo》 V 1.0";
    BatchHost host;
    host.OnStarted = [this] {
      calls.push_back(L"started");
      logAtStart = ReadFileBytes(LogPath());
      filesAtStart = FileNamesIn(files.Path());
    };
    host.OnProgress = [this, &names](const BatchProgress& progress) {
      calls.push_back(std::to_wstring(progress.ListIndex) + L" " +
                      names.at(static_cast<size_t>(progress.ListIndex)));
      EXPECT_EQ(progress.Text, L"正在转换:  " + Folder() + calls.back().substr(2));
    };
    host.LetEventsRun = [this] { calls.push_back(L"events"); };
    return RunRename(std::move(setup), host);
  }
  // Leaves exactly `names` in the folder.
  void MakeFiles(const Names& names) const {
    for (const std::wstring& name : FileNamesIn(files.Path())) DeleteFileW((files / name).c_str());
    for (const std::wstring& name : names) files.WriteFile(name, "x");
  }
  std::wstring Folder() const { return files.Path() + L"\\"; }
  std::wstring LogPath() const { return programFolder / L"Err.LOG"; }

  std::wstring Entry(int number, const std::wstring& planned, const std::wstring& old, int error,
                     const std::wstring& detail) const {
    return std::to_wstring(number) + kRule + L"\r\n拟转换文件名: " + Folder() + planned +
           L"\r\n原文件名: " + Folder() + old + L"\r\n错误代号: " + std::to_wstring(error) +
           L"\r\n详细内容: " + detail + L"\r\n";
  }
  // The log after its header, with the reason in each detail line shown as "…": the
  // system's messages differ between Windows and Wine.
  std::wstring Entries(const std::wstring& templateText) const {
    const std::wstring log = FromAnsi(ReadFileBytes(LogPath()));
    const std::wstring header = Header(templateText);
    EXPECT_EQ(log.substr(0, header.size()), header);
    return std::regex_replace(log.substr(std::min(log.size(), header.size())),
                              std::wregex(L"(\r\n详细内容: [^\r(]*) \\([^\r]*\\)\r\n"),
                              L"$1 (…)\r\n");
  }

  TempFolder programFolder;
  TempFolder files;
  Names calls;  // of the callbacks, in order
  std::string logAtStart;
  Names filesAtStart;
};

TEST_F(RenameRunTest, RenamesEveryEntryInListOrderAndLogsTheHeaderAlone) {
  MakeFiles({L"b.jpg", L"a.jpg", L"照片.jpg"});
  files.WriteFile(L"notes.txt", "keep");
  const std::wstring templateText = L"%name%\r\n_\r\n%Taxis:3,1,1%\r\n%ext%";
  const BatchOutcome outcome = Run(templateText, {L"b.jpg", L"a.jpg", L"照片.jpg"});
  EXPECT_EQ(Counts(outcome), "3/0/0");
  EXPECT_TRUE(outcome.LogCreated);
  EXPECT_GE(outcome.Seconds, 0);
  EXPECT_EQ(FileNamesIn(files.Path()),
            (Names{L"a_002.jpg", L"b_001.jpg", L"notes.txt", L"照片_003.jpg"}));
  EXPECT_EQ(ReadFileBytes(files / L"notes.txt"), "keep");
  EXPECT_EQ(Entries(templateText), L"");
}

TEST_F(RenameRunTest, EmptyListOrEmptyTemplate) {
  struct Case {
    const wchar_t* What;
    Names Files;
    std::wstring Template;
    std::string Counts;
    std::wstring Entries;
  };
  const Case cases[] = {
      {L"an empty list: the header alone", {}, L"x\r\n", "0/0/0", L""},
      {L"an empty template: every name refused",
       {L"a.jpg", L"b.jpg"},
       L"",
       "0/2/2",
       Entry(1, L"", L"a.jpg", 52, L"文件名无效 (…)") +
           Entry(2, L"", L"b.jpg", 52, L"文件名无效 (…)")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    MakeFiles(c.Files);
    const BatchOutcome outcome = Run(c.Template, c.Files);
    EXPECT_EQ(Counts(outcome), c.Counts);
    EXPECT_TRUE(outcome.LogCreated);
    EXPECT_EQ(FileNamesIn(files.Path()), c.Files);
    EXPECT_EQ(Entries(c.Template), c.Entries);
  }
}

TEST_F(RenameRunTest, LogIsCodePage936WithCrLfAndNumberedEntries) {
  MakeFiles({L"照片.jpg", L"한국.jpg"});  // 한국 lies outside the code page
  const std::wstring templateText = L"%name%\r\n-\r\n%Taxis:6,50%\r\n%ext%";
  // The failing line is left out and both files are renamed.
  EXPECT_EQ(Counts(Run(templateText, {L"照片.jpg", L"한국.jpg"})), "2/0/2");
  EXPECT_EQ(FileNamesIn(files.Path()), (Names{L"照片-.jpg", L"한국-.jpg"}));
  const std::string bytes = ReadFileBytes(LogPath());
  EXPECT_EQ(bytes, ToAnsi(Header(templateText) + Entry(1, L"照片-", L"照片.jpg", 9, L"下标越界") +
                          Entry(2, L"한국-", L"한국.jpg", 9, L"下标越界")));
  // Spelled out, so that a wrong code page cannot pass through the same conversion.
  EXPECT_EQ(bytes.rfind("\t\xa1\xb6Tarnivo\xa1\xb7 V 1.0\r\n", 0), 0u);  // no byte-order mark
  EXPECT_NE(bytes.find("\r\n\xd4\xad\xce\xc4\xbc\xfe\xc3\xfb: "), std::string::npos);  // 原文件名
  EXPECT_NE(bytes.find("\\\xd5\xd5\xc6\xac-\r\n"), std::string::npos);                 // 照片-
  EXPECT_NE(bytes.find("\\?"
                       "?-\r\n"),
            std::string::npos);  // never a look-alike
  EXPECT_EQ(bytes.find("\r\r"), std::string::npos);
}

TEST_F(RenameRunTest, FailingLineThenFailingRenameLogTwiceForOneEntry) {
  MakeFiles({L"a.jpg", L"b.jpg"});
  files.WriteFile(L"b_.png", "taken");  // not listed
  const std::wstring templateText = L"%name%\r\n_\r\n%Taxis:6,50%\r\n.png";
  EXPECT_EQ(Counts(Run(templateText, {L"a.jpg", L"b.jpg"})), "1/1/3");
  EXPECT_EQ(FileNamesIn(files.Path()), (Names{L"a_.png", L"b.jpg", L"b_.png"}));
  EXPECT_EQ(ReadFileBytes(files / L"b_.png"), "taken");
  EXPECT_EQ(Entries(templateText), Entry(1, L"a_", L"a.jpg", 9, L"下标越界") +
                                       Entry(2, L"b_", L"b.jpg", 9, L"下标越界") +
                                       Entry(3, L"b_.png", L"b.jpg", 58, L"文件已存在 (…)"));
}

TEST_F(RenameRunTest, NameTakenAtAnEntrysTurnFails) {
  struct Case {
    const wchar_t* What;
    Names Files;
    std::wstring Template;
    Names After;
    std::wstring Entries;
  };
  const Case cases[] = {
      {L"a template of literals: the first takes the name",
       {L"a.jpg", L"b.jpg", L"c.jpg"},
       L"photo\r\n.jpg",
       {L"b.jpg", L"c.jpg", L"photo.jpg"},
       Entry(1, L"photo.jpg", L"b.jpg", 58, L"文件已存在 (…)") +
           Entry(2, L"photo.jpg", L"c.jpg", 58, L"文件已存在 (…)")},
      {L"a name kept by its entry, and asked for by two others",
       {L"1.jpg", L"2.jpg", L"3.jpg"},
       L"%Taxis:1,2,0%\r\n.jpg",
       {L"1.jpg", L"2.jpg", L"3.jpg"},
       Entry(1, L"2.jpg", L"1.jpg", 58, L"文件已存在 (…)") +
           Entry(2, L"2.jpg", L"3.jpg", 58, L"文件已存在 (…)")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    MakeFiles(c.Files);
    EXPECT_EQ(Counts(Run(c.Template, c.Files)), "1/2/2");
    EXPECT_EQ(FileNamesIn(files.Path()), c.After);
    EXPECT_EQ(Entries(c.Template), c.Entries);
  }
}

// Each file holds its own old name, so the contents show that nothing was lost or mixed up.
TEST_F(RenameRunTest, ShiftsSwapsAndChangesOfCaseSucceed) {
  struct Case {
    const wchar_t* What;
    Names Files;
    std::wstring Template;
    std::vector<std::pair<std::wstring, std::wstring>> After;  // name, content
  };
  const Case cases[] = {
      {L"a shift up",
       {L"1.jpg", L"2.jpg", L"3.jpg"},
       L"%Taxis:1,2,1%\r\n.jpg",
       {{L"2.jpg", L"1.jpg"}, {L"3.jpg", L"2.jpg"}, {L"4.jpg", L"3.jpg"}}},
      {L"a swap",
       {L"1.jpg", L"2.jpg"},
       L"%Taxis:1,2,-1%\r\n.jpg",
       {{L"1.jpg", L"2.jpg"}, {L"2.jpg", L"1.jpg"}}},
      {L"a change of case only", {L"IMG.JPG"}, L"img\r\n.jpg", {{L"img.jpg", L"IMG.JPG"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    for (const std::wstring& name : FileNamesIn(files.Path())) DeleteFileW((files / name).c_str());
    for (const std::wstring& name : c.Files) files.WriteFile(name, ToAnsi(name));
    EXPECT_EQ(Counts(Run(c.Template, c.Files)), std::to_string(c.Files.size()) + "/0/0");
    EXPECT_EQ(Entries(c.Template), L"");
    Names after;
    for (const auto& [name, content] : c.After) {
      after.push_back(name);
      EXPECT_EQ(ReadFileBytes(files / name), ToAnsi(content)) << testing::PrintToString(name);
    }
    EXPECT_EQ(FileNamesIn(files.Path()), after);
  }
}

// A swap whose second file is held open: its first file comes back from the temporary name,
// and the journal records every step, the one taken back included.
TEST_F(RenameRunTest, ACycleThatFailsHalfWayIsTakenBack) {
  for (const wchar_t* name : {L"1.jpg", L"2.jpg"}) files.WriteFile(name, ToAnsi(name));
  HANDLE held = CreateFileW((files / L"2.jpg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const std::wstring templateText = L"%Taxis:1,2,-1%\r\n.jpg";
  EXPECT_EQ(Counts(Run(templateText, {L"1.jpg", L"2.jpg"})), "0/2/2");
  CloseHandle(held);
  EXPECT_EQ(FileNamesIn(files.Path()), (Names{L"1.jpg", L"2.jpg"}));
  EXPECT_EQ(ReadFileBytes(files / L"1.jpg"), "1.jpg");
  EXPECT_EQ(Entries(templateText), Entry(1, L"2.jpg", L"1.jpg", 58, L"文件已存在 (…)") +
                                       Entry(2, L"1.jpg", L"2.jpg", 55, L"文件已打开 (…)"));
}

TEST_F(RenameRunTest, LockedFileIsToldApartFromATakenName) {
  MakeFiles({L"a.jpg", L"b.jpg", L"b_.jpg"});
  HANDLE held = CreateFileW((files / L"a.jpg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Counts(Run(L"%name%\r\n_\r\n%ext%", {L"a.jpg", L"b.jpg"})), "0/2/2");
  CloseHandle(held);
  EXPECT_EQ(FileNamesIn(files.Path()), (Names{L"a.jpg", L"b.jpg", L"b_.jpg"}));
  EXPECT_EQ(Entries(L"%name%\r\n_\r\n%ext%"),
            Entry(1, L"a_.jpg", L"a.jpg", 55, L"文件已打开 (…)") +
                Entry(2, L"b_.jpg", L"b.jpg", 58, L"文件已存在 (…)"));
}

// Names the file system would take elsewhere or quietly change (Wine even accepts ":" and
// cuts long names) are refused before any rename is tried.
TEST_F(RenameRunTest, NamesThatWouldLeaveTheFolderOrBeChangedAreRefused) {
  const std::wstring sub = files.MakeFolder(L"sub");
  files.WriteFile(L"a.jpg", "a");
  const std::wstring parent = files.Path() + L"\\..";
  const Names parentBefore = FileNamesIn(parent);
  const std::wstring longName = std::wstring(252, L'x') + L".jpg";
  struct Case {
    std::wstring Template, Planned;
  };
  const Case cases[] = {
      {L"..\\x\r\n%ext%", L"..\\x.jpg"},
      {L"sub\\x\r\n%ext%", L"sub\\x.jpg"},
      {L"sub/x\r\n%ext%", L"sub/x.jpg"},
      {L"24/03/05\r\n%ext%", L"24/03/05.jpg"},
      {L"%name%\r\n%ext%\r\n:s", L"a.jpg:s"},
      {L"14:07:09\r\n%ext%", L"14:07:09.jpg"},
      {L"photo.", L"photo."},
      {L"%name%\r\n%ext%\r\n ", L"a.jpg "},
      {std::wstring(252, L'x') + L"\r\n%ext%", longName},
      // Device names and characters that Wine and Windows answer differently.
      {L"COM1\r\n%ext%", L"COM1.jpg"},
      {L"nul\r\n%ext%", L"nul.jpg"},
      {L"CONOUT$", L"CONOUT$"},
      {L"a?b", L"a?b"},
      {L"a<b\r\n%ext%", L"a<b.jpg"},
      // A control character in a line is shown as "?", so the entry keeps its five lines.
      {L"a\nb", L"a?b"},
      // A name of 5 000 characters is refused without being built or logged whole.
      {L"%Taxis:5000,1,1%", std::wstring(1000, L'0') + L"…(共 5000 个字符)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.Planned));
    EXPECT_EQ(Counts(Run(c.Template, {L"a.jpg"})), "0/1/1");
    EXPECT_EQ(FileNamesIn(files.Path()), Names{L"a.jpg"});
    EXPECT_EQ(FileNamesIn(sub), Names{});
    EXPECT_EQ(Entries(c.Template), Entry(1, c.Planned, L"a.jpg", 52, L"文件名无效 (…)"));
  }
  EXPECT_EQ(FileNamesIn(parent), parentBefore);
  EXPECT_EQ(ReadFileBytes(files / L"a.jpg"), "a");
}

TEST_F(RenameRunTest, LogThatCannotBeCreatedDoesNotStopTheRun) {
  struct Case {
    const wchar_t* What;
    std::function<void()> Prepare;
    bool Log;
    std::string LogAfter;
  };
  const Case cases[] = {
      {L"no log wanted", [] {}, false, ""},
      {L"a folder named Err.LOG", [this] { programFolder.MakeFolder(L"Err.LOG"); }, true, ""},
      {L"a read-only Err.LOG",
       [this] {
         programFolder.WriteFile(L"Err.LOG", "older run");
         ASSERT_TRUE(SetFileAttributesW(LogPath().c_str(), FILE_ATTRIBUTE_READONLY));
       },
       true, "older run"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    MakeFiles({L"a.jpg", L"b.jpg"});
    c.Prepare();
    const BatchOutcome outcome = Run(L"%name%\r\n_\r\n%Taxis:6,50%", {L"a.jpg", L"b.jpg"}, c.Log);
    EXPECT_EQ(Counts(outcome), "2/0/2");
    EXPECT_FALSE(outcome.LogCreated);
    EXPECT_EQ(FileNamesIn(files.Path()), (Names{L"a_", L"b_"}));
    EXPECT_EQ(FileExists(LogPath()), c.Log);
    EXPECT_EQ(ReadFileBytes(LogPath()), c.LogAfter);
    SetFileAttributesW(LogPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveTree(LogPath());
    DeleteFileW(LogPath().c_str());
  }
}

// Err.LOG created but its header not written (a full disk): that log is no log of this
// run, so the window will not open it. Under Wine a Linux file that takes no text stands in
// for the disk: /proc/self/oom_score_adj opens for writing and refuses anything but a number.
TEST_F(RenameRunTest, LogWhoseHeaderCannotBeWrittenIsNoLog) {
  const std::wstring refusing = L"Z:\\proc\\self\\oom_score_adj";
  if (GetFileAttributesW(refusing.c_str()) == INVALID_FILE_ATTRIBUTES) {
    GTEST_SKIP() << "no file that refuses writes here";
  }
  MakeFiles({L"a.jpg"});
  RenameRunSetup setup = RunOf(Folder(), {L"a.jpg"}, L"%Taxis:6,50%\r\nb.jpg");
  setup.Batch.LogPath = refusing;
  const BatchOutcome outcome = RunRename(std::move(setup), BatchHost{});
  EXPECT_EQ(Counts(outcome), "1/0/1");
  EXPECT_FALSE(outcome.LogCreated);
  EXPECT_EQ(FileNamesIn(files.Path()), Names{L"b.jpg"});
}

TEST_F(RenameRunTest, CallbacksStartAfterTheHeaderAndEndAfterTheLastEntry) {
  const Names names{L"a.jpg", L"b.jpg", L"c.jpg"};
  MakeFiles(names);
  Run(L"%name%\r\n_", names);
  EXPECT_EQ(logAtStart, ToAnsi(Header(L"%name%\r\n_")));
  EXPECT_EQ(filesAtStart, names);
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls.front(), L"started");
  // Each hand-over names the entry just handled; the last one comes after the last entry.
  EXPECT_EQ(Names(calls.end() - 2, calls.end()), (Names{L"2 c.jpg", L"events"}));
  for (size_t i = 1; i + 1 < calls.size(); i += 2) {
    EXPECT_TRUE(calls[i] == L"0 a.jpg" || calls[i] == L"1 b.jpg" || calls[i] == L"2 c.jpg");
    EXPECT_EQ(calls[i + 1], L"events");
  }
}

}  // namespace
}  // namespace tarnivo::test
