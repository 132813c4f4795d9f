// The batch rename run of the real window on real files in temp folders.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/error_log.h"
#include "tests/app/window_fixture.h"

namespace tarnivo::test {
namespace {

const std::wstring kSequenceTemplate = L"%name%\r\n_\r\n%Taxis:3,1,1%\r\n%ext%";
const std::wstring kRule(32, L'=');

std::vector<std::wstring> Sorted(std::vector<std::wstring> names) {
  std::sort(names.begin(), names.end());
  return names;
}

std::string Cp936(const std::wstring& text) {
  const int size = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, text.data(),
                                       static_cast<int>(text.size()), nullptr, 0, "?", nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                      bytes.data(), size, "?", nullptr);
  return bytes;
}

// "转换完成  用时" + seconds with four decimals + the two counts.
bool IsSummary(const std::wstring& text, int renamed, int notRenamed) {
  const std::wstring head = L"转换完成  用时";
  const std::wstring tail = L"秒, 共转换 :" + std::to_wstring(renamed) + L"个文件, 未转换 :" +
                            std::to_wstring(notRenamed) + L"个文件";
  if (text.size() < head.size() + tail.size() + 6) return false;
  if (text.compare(0, head.size(), head) != 0) return false;
  if (text.compare(text.size() - tail.size(), tail.size(), tail) != 0) return false;
  const std::wstring seconds = text.substr(head.size(), text.size() - head.size() - tail.size());
  const size_t point = seconds.find(L'.');
  if (point == std::wstring::npos || point == 0 || seconds.size() - point != 5) return false;
  return std::all_of(seconds.begin(), seconds.end(),
                     [](wchar_t c) { return c == L'.' || (c >= L'0' && c <= L'9'); });
}

// One failure entry of the log, as the user reads it.
std::wstring Entry(int number, const std::wstring& folder, const std::wstring& planned,
                   const std::wstring& old, int error) {
  return std::to_wstring(number) + kRule + L"\r\n拟转换文件名: " + folder + planned +
         L"\r\n原文件名: " + folder + old + L"\r\n错误代号: " + std::to_wstring(error) + L"\r\n";
}

// Records every text written into the status label.
LRESULT CALLBACK RecordTexts(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR data) {
  if (message == WM_SETTEXT && lParam) {
    reinterpret_cast<std::vector<std::wstring>*>(data)->emplace_back(
        reinterpret_cast<const wchar_t*>(lParam));
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

class RunTest : public WindowTest {
 protected:
  // Types the template and clicks the start image; the run ends inside the click.
  void Run(const std::wstring& templateText) {
    SetText(ids::TextRull, templateText);
    ClickControl(ids::ImgStart);
    ASSERT_TRUE(PumpUntil([&] { return !window->RunInProgress(); }));
  }
  std::wstring LogPath() const { return programFolder / L"Err.LOG"; }
  std::wstring Folder() const { return work.Path() + L"\\"; }
  std::wstring Log() const { return FromLog(ReadFileBytes(LogPath())); }
  static std::wstring FromLog(const std::string& bytes) {
    const int size =
        MultiByteToWideChar(936, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(936, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
    return text;
  }
  // The log without its header (everything after the header's two empty lines).
  std::wstring LogEntries() const {
    const std::wstring log = Log();
    const size_t end = log.find(kRule + L"\r\n\r\n\r\n");
    return end == std::wstring::npos ? log : log.substr(end + kRule.size() + 6);
  }
  int EntryCount() const {
    const std::wstring entries = LogEntries();
    int count = 0;
    for (size_t at = entries.find(L"错误代号: "); at != std::wstring::npos;
         at = entries.find(L"错误代号: ", at + 1)) {
      ++count;
    }
    return count;
  }
  void WriteConfig(const std::string& text) const { programFolder.WriteFile(L"config.ini", text); }
  bool IdleState() const {
    return IsWindowEnabled(Control(ids::ImgStart)) && IsWindowEnabled(Control(ids::TextRull)) &&
           IsWindowEnabled(Control(ids::ImgRefresh));
  }
};

TEST_F(RunTest, RenamesEveryEntryAndListsTheNewNames) {
  for (const wchar_t* name : {L"b.jpg", L"a.jpg", L"c.JPG", L"照片.jpg"}) work.WriteFile(name);
  work.WriteFile(L"notes.txt", "keep");
  StartOnWork();
  const std::vector<std::wstring> entries = window->File1().Entries();
  ASSERT_EQ(entries.size(), 4u);
  Run(kSequenceTemplate);
  std::vector<std::wstring> expected{L"notes.txt"};
  for (size_t i = 0; i < entries.size(); ++i) {
    const size_t dot = entries[i].rfind(L'.');
    expected.push_back(entries[i].substr(0, dot) + L"_00" + std::to_wstring(i + 1) +
                       entries[i].substr(dot));
  }
  EXPECT_EQ(FileNamesIn(work.Path()), Sorted(expected));
  EXPECT_EQ(Sorted(window->File1().Entries()), Sorted({expected.begin() + 1, expected.end()}));
  EXPECT_TRUE(IsSummary(StatusText(), 4, 0)) << testing::PrintToString(StatusText());
  EXPECT_EQ(ReadFileBytes(work / L"notes.txt"), "keep");
  EXPECT_TRUE(IdleState());
  EXPECT_TRUE(shellCalls.empty());
  EXPECT_EQ(EntryCount(), 0);
  EXPECT_EQ(window->CurrentFolder(), Folder());
}

TEST_F(RunTest, EmptyListWritesTheHeaderAloneAndDoesNotOpenIt) {
  work.WriteFile(L"a.txt");
  StartOnWork();
  Run(L"x\r\n");
  EXPECT_TRUE(IsSummary(StatusText(), 0, 0)) << testing::PrintToString(StatusText());
  EXPECT_EQ(Log(), L"\t《Tarnivo》 V 1.0\r\n\t把错误代号发送到 " + std::wstring(kSupportMail) +
                       L" 寻求免费帮助\r\n\t或者 留言到 " + std::wstring(kSupportWeb) +
                       L"\r\n\t26-12-06 & 04:05:06\r\n" + kRule + L"\r\nx\r\n\r\n" + kRule +
                       L"\r\n\r\n\r\n");
  EXPECT_TRUE(shellCalls.empty());
  EXPECT_EQ(FileNamesIn(work.Path()), std::vector<std::wstring>{L"a.txt"});
}

TEST_F(RunTest, EmptyTemplateFailsEveryEntryAndOpensTheLog) {
  for (const wchar_t* name : {L"a.jpg", L"b.jpg", L"c.jpg"}) work.WriteFile(name);
  StartOnWork();
  const auto before = FileNamesIn(work.Path());
  Run(L"");
  EXPECT_EQ(FileNamesIn(work.Path()), before);
  EXPECT_TRUE(IsSummary(StatusText(), 0, 3)) << testing::PrintToString(StatusText());
  EXPECT_TRUE(IdleState());
  EXPECT_EQ(EntryCount(), 3);
  EXPECT_NE(LogEntries().find(Entry(3, Folder(), L"", L"c.jpg", 52)), std::wstring::npos);
  ASSERT_EQ(shellCalls.size(), 1u);
  EXPECT_EQ(shellCalls[0].Owner, Main());
  EXPECT_EQ(shellCalls[0].File, L"Err.LOG");
  EXPECT_EQ(shellCalls[0].Folder, programFolder.Path() + L"\\");
}

TEST_F(RunTest, IdleStateAndPictureComeBackAfterARunWhereEverythingFailed) {
  work.WriteFile(L"a.jpg");
  StartOnWork();
  const LRESULT idlePicture = SendMessageW(Control(ids::ImgStart), STM_GETIMAGE, IMAGE_BITMAP, 0);
  Run(L"");
  EXPECT_TRUE(IdleState());
  EXPECT_EQ(SendMessageW(Control(ids::ImgStart), STM_GETIMAGE, IMAGE_BITMAP, 0), idlePicture);
  EXPECT_FALSE(window->RunInProgress());
}

TEST_F(RunTest, LiteralTemplateRenamesTheFirstAndTheOthersFindTheNameTaken) {
  for (const wchar_t* name : {L"a.jpg", L"b.jpg", L"c.jpg"}) work.WriteFile(name, "x");
  StartOnWork();
  Run(L"photo\r\n.jpg");
  EXPECT_EQ(FileNamesIn(work.Path()),
            (std::vector<std::wstring>{L"b.jpg", L"c.jpg", L"photo.jpg"}));
  EXPECT_TRUE(IsSummary(StatusText(), 1, 2)) << testing::PrintToString(StatusText());
  const std::wstring entries = LogEntries();
  EXPECT_EQ(entries.find(Entry(1, Folder(), L"photo.jpg", L"b.jpg", 58)), 0u) << entries.size();
  EXPECT_NE(entries.find(Entry(2, Folder(), L"photo.jpg", L"c.jpg", 58)), std::wstring::npos);
  EXPECT_NE(entries.find(L"详细内容: 文件已存在 ("), std::wstring::npos);
  EXPECT_EQ(EntryCount(), 2);
  EXPECT_EQ(shellCalls.size(), 1u);
}

TEST_F(RunTest, ANameOfALaterEntryIsTakenAtItsTurn) {
  for (const wchar_t* name : {L"1.jpg", L"2.jpg", L"3.jpg"}) work.WriteFile(name);
  StartOnWork();
  // 1 -> 2 and 2 -> 3 find their names taken; 3 -> 4 goes through.
  Run(L"%Taxis:1,2,1%\r\n.jpg");
  EXPECT_EQ(FileNamesIn(work.Path()), (std::vector<std::wstring>{L"1.jpg", L"2.jpg", L"4.jpg"}));
  EXPECT_TRUE(IsSummary(StatusText(), 1, 2)) << testing::PrintToString(StatusText());
  EXPECT_EQ(LogEntries().find(Entry(1, Folder(), L"2.jpg", L"1.jpg", 58)), 0u);
  EXPECT_NE(LogEntries().find(Entry(2, Folder(), L"3.jpg", L"2.jpg", 58)), std::wstring::npos);
}

TEST_F(RunTest, FailingPieceIsLeftOutAndAFailingRenameAfterItLogsTwice) {
  work.WriteFile(L"a.jpg");
  work.WriteFile(L"b.jpg");
  work.WriteFile(L"b_.png", "taken");  // not listed, but its name is taken
  StartOnWork();
  Run(L"%name%\r\n_\r\n%Taxis:6,50%\r\n.png");
  EXPECT_EQ(FileNamesIn(work.Path()), (std::vector<std::wstring>{L"a_.png", L"b.jpg", L"b_.png"}));
  EXPECT_EQ(ReadFileBytes(work / L"b_.png"), "taken");
  // Counts are files: a was renamed (without the failing piece), b was not.
  EXPECT_TRUE(IsSummary(StatusText(), 1, 1)) << testing::PrintToString(StatusText());
  const std::wstring entries = LogEntries();
  const std::wstring first = Entry(1, Folder(), L"a_", L"a.jpg", 9) + L"详细内容: 下标越界\r\n";
  const std::wstring second = Entry(2, Folder(), L"b_", L"b.jpg", 9) + L"详细内容: 下标越界\r\n";
  const std::wstring third = Entry(3, Folder(), L"b_.png", L"b.jpg", 58);
  EXPECT_EQ(entries.substr(0, first.size() + second.size() + third.size()), first + second + third);
  EXPECT_EQ(EntryCount(), 3);
  EXPECT_EQ(shellCalls.size(), 1u);
}

TEST_F(RunTest, LogOfTwoFailuresInCodePage936Bytes) {
  work.WriteFile(L"照片.jpg");
  work.WriteFile(L"한국.jpg");  // outside the code page: "?" in the log, never a look-alike
  StartOnWork();
  const std::vector<std::wstring> entries = window->File1().Entries();
  ASSERT_EQ(entries.size(), 2u);
  now = DateTime{2031, 2, 3, 17, 8, 9};
  const std::wstring templateText = L"%name%\r\n-\r\n%Taxis:6,50%\r\n%ext%";
  Run(templateText);
  // Every piece but one evaluates, so both files are renamed: a summary of 2 and 0.
  EXPECT_TRUE(IsSummary(StatusText(), 2, 0)) << testing::PrintToString(StatusText());
  EXPECT_EQ(FileNamesIn(work.Path()), (Sorted({L"照片-.jpg", L"한국-.jpg"})));
  std::wstring expected =
      L"\t《Tarnivo》 V 1.0\r\n"
      L"\t把错误代号发送到 " +
      std::wstring(kSupportMail) +
      L" 寻求免费帮助\r\n"
      L"\t或者 留言到 " +
      std::wstring(kSupportWeb) +
      L"\r\n"
      L"\t31-02-03 & 17:08:09\r\n" +
      kRule + L"\r\n" + templateText + L"\r\n" + kRule + L"\r\n\r\n\r\n";
  for (int i = 0; i < 2; ++i) {
    const std::wstring& old = entries[static_cast<size_t>(i)];
    expected += Entry(i + 1, Folder(), old.substr(0, old.size() - 4) + L"-", old, 9) +
                L"详细内容: 下标越界\r\n";
  }
  const std::string bytes = ReadFileBytes(LogPath());
  EXPECT_EQ(bytes, Cp936(expected));
  EXPECT_EQ(bytes.front(), '\t');  // no byte-order mark
  EXPECT_NE(bytes.find("\xd4\xad\xce\xc4\xbc\xfe\xc3\xfb\x3a\x20"),
            std::string::npos);                                   // 原文件名:
  EXPECT_NE(bytes.find("\xd5\xd5\xc6\xac-"), std::string::npos);  // 照片-
  EXPECT_NE(bytes.find("\\?"
                       "?-"),
            std::string::npos);  // 한국-
  EXPECT_EQ(bytes.find("\r\r"), std::string::npos);
  EXPECT_EQ(shellCalls.size(), 1u);
}

TEST_F(RunTest, NamesThatWouldLeaveTheFolderOrBeChangedAreRefused) {
  const std::wstring sub = work.MakeFolder(L"sub");
  work.WriteFile(L"a.jpg", "a");
  StartOnWork();
  struct Case {
    const wchar_t* what;
    std::wstring templateText;
  };
  const Case cases[] = {
      {L"parent folder", L"..\\x\r\n%ext%"},
      {L"sub-folder with \\", L"sub\\x\r\n%ext%"},
      {L"sub-folder with /", L"sub/x\r\n%ext%"},
      {L"date picture with /", L"24/03/05\r\n%ext%"},
      {L"stream", L"%name%\r\n%ext%\r\n:hidden"},
      {L"time with :", L"14:07:09\r\n%ext%"},
      {L"trailing dot", L"photo."},
      {L"trailing blank", L"%name%\r\n%ext%\r\n "},
      {L"longer than 255", std::wstring(252, L'x') + L"\r\n%ext%"},
  };
  const std::vector<std::wstring> parentBefore = FileNamesIn(work.Path() + L"\\..");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    shellCalls.clear();
    Run(c.templateText);
    EXPECT_EQ(FileNamesIn(work.Path()), std::vector<std::wstring>{L"a.jpg"});
    EXPECT_TRUE(FileNamesIn(sub).empty());
    EXPECT_TRUE(IsSummary(StatusText(), 0, 1)) << testing::PrintToString(StatusText());
    EXPECT_EQ(LogEntries().rfind(L"1" + kRule + L"\r\n拟转换文件名: ", 0), 0u);
    EXPECT_NE(LogEntries().find(L"错误代号: 52\r\n详细内容: 文件名无效 ("), std::wstring::npos);
    EXPECT_EQ(EntryCount(), 1);
    EXPECT_EQ(shellCalls.size(), 1u);
  }
  EXPECT_EQ(FileNamesIn(work.Path() + L"\\.."), parentBefore);
  EXPECT_EQ(ReadFileBytes(work / L"a.jpg"), "a");
}

TEST_F(RunTest, ALockedFileIsToldApartFromATakenName) {
  work.WriteFile(L"a.jpg");
  StartOnWork();
  HANDLE held = CreateFileW((work / L"a.jpg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Run(kSequenceTemplate);
  CloseHandle(held);
  EXPECT_EQ(FileNamesIn(work.Path()), std::vector<std::wstring>{L"a.jpg"});
  EXPECT_NE(LogEntries().find(L"错误代号: 55\r\n详细内容: 文件已打开 ("), std::wstring::npos)
      << testing::PrintToString(LogEntries());
}

TEST_F(RunTest, WritelogDecidesWhetherTheLogIsWritten) {
  work.WriteFile(L"a.jpg");
  StartOnWork();
  struct Case {
    std::string config;
    bool written;
  };
  const Case cases[] = {
      {"", true},  // no settings file: the default 1
      {"[main]\r\nwritelog=1\r\n", true},
      {"[main]\r\nwritelog=0\r\n", false},
      {"[main]\r\nwritelog=0.5\r\n", false},  // a half goes to the even neighbour, 0
      {"[main]\r\nwritelog=1.5\r\n", true},
      {"[main]\r\nwritelog=&H0\r\n", false},
      {"[main]\r\nwritelog=off\r\n", false},  // no number: no log
      {"[main]\r\nwritelog=\r\n", false},
      {"[main]\r\nwritelog=99999999999\r\n", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config);
    if (c.config.empty()) {
      DeleteFileW(ConfigPath().c_str());
    } else {
      WriteConfig(c.config);
    }
    programFolder.WriteFile(L"Err.LOG", "previous run");
    shellCalls.clear();
    Run(L"");  // every entry fails, no file is renamed
    EXPECT_TRUE(IsSummary(StatusText(), 0, 1)) << testing::PrintToString(StatusText());
    EXPECT_TRUE(IdleState());
    EXPECT_EQ(ReadFileBytes(LogPath()) == "previous run", !c.written);
    EXPECT_EQ(shellCalls.size(), c.written ? 1u : 0u);
    EXPECT_EQ(FileNamesIn(work.Path()), std::vector<std::wstring>{L"a.jpg"});
  }
}

TEST_F(RunTest, WritelogZeroCreatesNoLog) {
  work.WriteFile(L"a.jpg");
  StartOnWork();
  WriteConfig("[main]\r\nwritelog=0\r\n");
  Run(L"");
  EXPECT_FALSE(FileExists(LogPath()));
  EXPECT_TRUE(shellCalls.empty());
  EXPECT_TRUE(IsSummary(StatusText(), 0, 1)) << testing::PrintToString(StatusText());
}

TEST_F(RunTest, OpenlogDecidesWhetherTheLogIsShown) {
  work.WriteFile(L"a.jpg");
  StartOnWork();
  struct Case {
    std::string config;
    bool opened;
  };
  const Case cases[] = {
      {"[main]\r\nopenlog=1\r\n", true},
      {"[main]\r\nopenlog=0\r\n", false},
      {"[main]\r\nopenlog=0.5\r\n", true},  // a real number: not 0
      {"[main]\r\nopenlog=no\r\n", false},  // no number: not shown
      {"[main]\r\nopenlog=\r\n", false},
      {"[main]\r\nwritelog=1\r\n", true},  // missing: the default 1
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config);
    WriteConfig(c.config);
    DeleteFileW(LogPath().c_str());
    shellCalls.clear();
    Run(L"");
    EXPECT_EQ(EntryCount(), 1);  // written either way
    EXPECT_EQ(shellCalls.size(), c.opened ? 1u : 0u);
  }
}

TEST_F(RunTest, ALogThatCannotBeCreatedDoesNotStopTheRun) {
  struct Case {
    const wchar_t* what;
    bool folder;
  };
  for (const Case& c :
       {Case{L"a folder named Err.LOG", true}, Case{L"a read-only Err.LOG", false}}) {
    SCOPED_TRACE(c.what);
    TempFolder files;
    files.WriteFile(L"a.jpg");
    files.WriteFile(L"b.jpg");
    if (c.folder) {
      programFolder.MakeFolder(L"Err.LOG");
    } else {
      programFolder.WriteFile(L"Err.LOG", "older run");
      ASSERT_TRUE(SetFileAttributesW(LogPath().c_str(), FILE_ATTRIBUTE_READONLY));
    }
    Start(L"\"" + files.Path() + L"\"");
    Run(L"%name%\r\n_\r\n%Taxis:6,50%\r\n%ext%");  // two failing pieces, two renames
    EXPECT_EQ(FileNamesIn(files.Path()), (std::vector<std::wstring>{L"a_.jpg", L"b_.jpg"}));
    EXPECT_TRUE(IsSummary(StatusText(), 2, 0)) << testing::PrintToString(StatusText());
    EXPECT_TRUE(IdleState());
    EXPECT_TRUE(shellCalls.empty());  // an older log is not shown as this run's
    if (!c.folder) {
      EXPECT_EQ(ReadFileBytes(LogPath()), "older run");
    }
    window.reset();
    SetFileAttributesW(LogPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveTree(LogPath());
    DeleteFileW(LogPath().c_str());
  }
}

TEST_F(RunTest, ProgressLinesNameTheOldNamesAndTheLastOneTheLastEntry) {
  for (const wchar_t* name : {L"a.jpg", L"b.jpg", L"c.jpg"}) work.WriteFile(name);
  StartOnWork();
  std::vector<std::wstring> texts;
  ASSERT_TRUE(SetWindowSubclass(Control(ids::LabTitle(1)), RecordTexts, 1,
                                reinterpret_cast<DWORD_PTR>(&texts)));
  Run(L"");
  RemoveWindowSubclass(Control(ids::LabTitle(1)), RecordTexts, 1);
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[texts.size() - 2], L"正在转换:  " + Folder() + L"c.jpg");
  EXPECT_TRUE(IsSummary(texts.back(), 0, 3)) << testing::PrintToString(texts.back());
  for (size_t i = 0; i + 1 < texts.size(); ++i) {
    EXPECT_EQ(texts[i].rfind(L"正在转换:  " + Folder(), 0), 0u) << testing::PrintToString(texts[i]);
  }
}

// What the user can do while a run hands control to the window; each case posts its
// input right behind the click, so it is handled during the run.
TEST_F(RunTest, NothingDoneDuringARunChangesWhatItRenames) {
  struct Case {
    const wchar_t* what;
    std::function<void()> act;
  };
  TempFolder other;
  other.WriteFile(L"x.jpg");
  const Case cases[] = {
      {L"a second click on the start image",
       [this] {
         PostMessageW(Control(ids::ImgStart), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
         PostMessageW(Control(ids::ImgStart), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
       }},
      {L"Ctrl+V of another folder",
       [&] {
         SetClipboard(Main(), other.Path());
         shift = 2;
         PostMessageW(Control(ids::File1), WM_KEYDOWN, 'V', 1);
       }},
      {L"the hidden-files box",
       [this] {
         PostMessageW(Control(ids::CheckFileInfo(0)), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
         PostMessageW(Control(ids::CheckFileInfo(0)), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
       }},
      {L"Enter in the pattern box",
       [this] {
         SetText(ids::TextPatt, L"*.*");
         PostMessageW(Control(ids::TextPatt), WM_KEYDOWN, VK_RETURN, 1);
       }},
      {L"the refresh image",
       [this] {
         SetText(ids::TextPatt, L"*.*");
         PostMessageW(Control(ids::ImgRefresh), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
         PostMessageW(Control(ids::ImgRefresh), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder files;
    files.WriteFile(L"a.jpg");
    files.WriteFile(L"b.jpg");
    files.WriteFile(L"c.txt");
    const std::wstring hidden = files.WriteFile(L"h.jpg");
    ASSERT_TRUE(SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
    Start(L"\"" + files.Path() + L"\"");
    std::vector<std::wstring> texts;
    ASSERT_TRUE(SetWindowSubclass(Control(ids::LabTitle(1)), RecordTexts, 1,
                                  reinterpret_cast<DWORD_PTR>(&texts)));
    SetText(ids::TextRull, kSequenceTemplate);
    PostMessageW(Control(ids::ImgStart), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(Control(ids::ImgStart), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    c.act();
    PumpPending();
    shift = 0;
    ASSERT_TRUE(PumpUntil([&] { return !window->RunInProgress(); }));
    EXPECT_EQ(FileNamesIn(files.Path()),
              (std::vector<std::wstring>{L"a_001.jpg", L"b_002.jpg", L"c.txt", L"h.jpg"}));
    EXPECT_EQ(FileNamesIn(other.Path()), std::vector<std::wstring>{L"x.jpg"});
    EXPECT_EQ(window->File1().Path(), files.Path());
    EXPECT_EQ(window->File1().Pattern(), L"*.jpg");
    EXPECT_FALSE(window->File1().Flags().Hidden);
    EXPECT_EQ(SendMessageW(Control(ids::CheckFileInfo(0)), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(IsSummary(StatusText(), 2, 0)) << testing::PrintToString(StatusText());
    EXPECT_TRUE(IdleState());
    // One run, one summary: a second run would write its own.
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                            [](const std::wstring& t) { return t.rfind(L"转换完成", 0) == 0; }),
              1);
    EXPECT_EQ(EntryCount(), 0);
    RemoveWindowSubclass(Control(ids::LabTitle(1)), RecordTexts, 1);
    window.reset();
  }
}

TEST_F(RunTest, ClosingDuringARunWaitsForItsEndAndSavesThePattern) {
  for (const wchar_t* name : {L"a.jpg", L"b.jpg"}) work.WriteFile(name);
  StartOnWork();
  SetText(ids::TextRull, kSequenceTemplate);
  PostMessageW(Control(ids::ImgStart), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(Control(ids::ImgStart), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PostMessageW(Main(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return unloaded; }));
  EXPECT_EQ(FileNamesIn(work.Path()), (std::vector<std::wstring>{L"a_001.jpg", L"b_002.jpg"}));
  EXPECT_EQ(ReadFileBytes(ConfigPath()), "[main]\r\nPattern=*.jpg\r\n");
}

}  // namespace
}  // namespace tarnivo::test
