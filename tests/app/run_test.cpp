// The rename run as the window drives it: its running state, its texts in the status
// line, the settings that decide about the log, what is held off while it runs and what
// comes after it. What the run renames and logs is tested on the engine's own.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/app/window_fixture.h"

namespace tarnivo::test {
namespace {

using Names = std::vector<std::wstring>;

const std::wstring kSequenceTemplate = L"%name%\r\n_\r\n%Taxis:3,1,1%\r\n%ext%";

class RunTest : public WindowTest {
 protected:
  // Types the template and clicks the start image; the run ends inside the click.
  void Run(const std::wstring& templateText) {
    SetText(ids::TextRull, templateText);
    ClickControl(ids::ImgStart);
    ASSERT_FALSE(window->RunInProgress());
  }
  void ExpectSummary(int renamed, int notRenamed) const {
    EXPECT_TRUE(IsRunSummary(StatusText(), renamed, notRenamed))
        << testing::PrintToString(StatusText());
  }
  std::wstring LogPath() const { return programFolder / L"Err.LOG"; }
  void WriteConfig(const std::string& text) const { programFolder.WriteFile(L"config.ini", text); }
  HANDLE StartPicture() const {
    return reinterpret_cast<HANDLE>(
        SendMessageW(Control(ids::ImgStart), STM_GETIMAGE, IMAGE_BITMAP, 0));
  }
  bool IdleState() const {
    return IsWindowEnabled(Control(ids::ImgStart)) && IsWindowEnabled(Control(ids::TextRull)) &&
           IsWindowEnabled(Control(ids::ImgRefresh)) && !window->RunInProgress();
  }
};

TEST_F(RunTest, ListsTheNewNamesAndShowsTheSummary) {
  for (const wchar_t* name : {L"b.jpg", L"a.jpg", L"照片.jpg"}) work.WriteFile(name);
  work.WriteFile(L"notes.txt");
  StartOnWork();
  const Names entries = window->File1().Names();
  ASSERT_EQ(entries.size(), 3u);
  Run(kSequenceTemplate);
  Names listed;
  for (size_t i = 0; i < entries.size(); ++i) {
    const size_t dot = entries[i].rfind(L'.');
    listed.push_back(entries[i].substr(0, dot) + L"_00" + std::to_wstring(i + 1) + L".jpg");
  }
  EXPECT_EQ(window->File1().Names(), listed);  // read again, in Explorer order
  ExpectSummary(3, 0);
  EXPECT_TRUE(IdleState());
  EXPECT_TRUE(shellCalls.empty());  // nothing failed
  EXPECT_EQ(window->CurrentFolder(), work.Path() + L"\\");
}

TEST_F(RunTest, FailuresShowTheLogAndTheIdleStateComesBack) {
  for (const wchar_t* name : {L"a.jpg", L"b.jpg", L"c.jpg"}) work.WriteFile(name);
  StartOnWork();
  const HANDLE idlePicture = StartPicture();
  Run(L"");  // every name refused
  ExpectSummary(0, 3);
  EXPECT_TRUE(IdleState());
  EXPECT_EQ(StartPicture(), idlePicture);
  ASSERT_EQ(shellCalls.size(), 1u);
  EXPECT_EQ(shellCalls[0].Owner, Main());
  EXPECT_EQ(shellCalls[0].File, L"Err.LOG");
  EXPECT_EQ(shellCalls[0].Folder, programFolder.Path() + L"\\");
}

TEST_F(RunTest, WritelogDecidesWhetherTheLogIsWritten) {
  work.WriteFile(L"a.jpg");
  StartOnWork();
  struct Case {
    std::string Config;
    bool Written;
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
    SCOPED_TRACE(c.Config);
    DeleteFileW(ConfigPath().c_str());
    if (!c.Config.empty()) WriteConfig(c.Config);
    DeleteFileW(LogPath().c_str());
    shellCalls.clear();
    Run(L"");  // the entry fails, nothing is renamed
    ExpectSummary(0, 1);
    EXPECT_EQ(FileExists(LogPath()), c.Written);
    EXPECT_EQ(shellCalls.size(), c.Written ? 1u : 0u);
  }
}

TEST_F(RunTest, OpenlogDecidesWhetherTheLogIsShown) {
  work.WriteFile(L"a.jpg");
  StartOnWork();
  struct Case {
    std::string Config;
    bool Opened;
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
    SCOPED_TRACE(c.Config);
    WriteConfig(c.Config);
    DeleteFileW(LogPath().c_str());
    shellCalls.clear();
    Run(L"");
    EXPECT_TRUE(FileExists(LogPath()));  // written either way
    EXPECT_EQ(shellCalls.size(), c.Opened ? 1u : 0u);
  }
}

TEST_F(RunTest, AnOlderLogIsNotShownAsThisRunsOwn) {
  work.WriteFile(L"a.jpg");
  programFolder.WriteFile(L"Err.LOG", "older run");
  ASSERT_TRUE(SetFileAttributesW(LogPath().c_str(), FILE_ATTRIBUTE_READONLY));
  StartOnWork();
  Run(L"");
  ExpectSummary(0, 1);
  EXPECT_TRUE(shellCalls.empty());
  SetFileAttributesW(LogPath().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(RunTest, ProgressLinesShowTheRunningStateAndNameTheOldNamesToTheLast) {
  for (const wchar_t* name : {L"a.jpg", L"b.jpg", L"c.jpg"}) work.WriteFile(name);
  StartOnWork();
  RecordStatusTexts();
  Run(L"");
  StopRecordingStatusTexts();
  const Names& texts = statusTexts;
  ASSERT_GE(texts.size(), 2u);
  const std::wstring progress = L"running: 正在转换:  " + work.Path() + L"\\";
  EXPECT_EQ(texts[texts.size() - 2], progress + L"c.jpg");
  const size_t summary = texts.back().find(L"转换完成");
  EXPECT_TRUE(summary != std::wstring::npos && IsRunSummary(texts.back().substr(summary), 0, 3))
      << testing::PrintToString(texts.back());
  for (size_t i = 0; i + 1 < texts.size(); ++i) {
    EXPECT_EQ(texts[i].rfind(progress, 0), 0u) << testing::PrintToString(texts[i]);
  }
}

// What the user can do while a run hands control to the window; each case posts its
// input right behind the click, so it is handled during the run.
TEST_F(RunTest, NothingDoneDuringARunChangesWhatItRenames) {
  struct Case {
    const wchar_t* What;
    std::function<void()> Act;
  };
  TempFolder other;
  other.WriteFile(L"x.jpg");
  const Case cases[] = {
      {L"a second click on the start image", [this] { PostClick(ids::ImgStart); }},
      {L"Ctrl+V of another folder",
       [&] {
         SetClipboard(Main(), other.Path());
         shift = 2;
         PostMessageW(Control(ids::File1), WM_KEYDOWN, 'V', 1);
       }},
      {L"the hidden-files box", [this] { PostClick(ids::CheckFileInfo(0)); }},
      {L"Enter in the pattern box",
       [this] {
         SetText(ids::TextPatt, L"*.*");
         PostMessageW(Control(ids::TextPatt), WM_KEYDOWN, VK_RETURN, 1);
       }},
      {L"the refresh image",
       [this] {
         SetText(ids::TextPatt, L"*.*");
         PostClick(ids::ImgRefresh);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    TempFolder files;
    files.WriteFile(L"a.jpg");
    files.WriteFile(L"b.jpg");
    files.WriteFile(L"c.txt");
    const std::wstring hidden = files.WriteFile(L"h.jpg");
    ASSERT_TRUE(SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
    Start(L"\"" + files.Path() + L"\"");
    statusTexts.clear();
    RecordStatusTexts();
    SetText(ids::TextRull, kSequenceTemplate);
    PostClick(ids::ImgStart);
    c.Act();
    PumpPending();
    shift = 0;
    ASSERT_FALSE(window->RunInProgress());
    EXPECT_EQ(FileNamesIn(files.Path()), (Names{L"a_001.jpg", L"b_002.jpg", L"c.txt", L"h.jpg"}));
    EXPECT_EQ(FileNamesIn(other.Path()), Names{L"x.jpg"});
    EXPECT_EQ(window->File1().Path(), files.Path());
    EXPECT_EQ(window->File1().Pattern(), L"*.jpg");
    EXPECT_FALSE(window->File1().Flags().Hidden);
    EXPECT_EQ(SendMessageW(Control(ids::CheckFileInfo(0)), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    ExpectSummary(2, 0);
    EXPECT_TRUE(IdleState());
    // One run, one summary: a second run would write its own.
    EXPECT_EQ(std::count_if(
                  statusTexts.begin(), statusTexts.end(),
                  [](const std::wstring& t) { return t.find(L"转换完成") != std::wstring::npos; }),
              1);
    StopRecordingStatusTexts();
    window.reset();
  }
}

TEST_F(RunTest, ClosingDuringARunWaitsForItsEndAndSavesThePattern) {
  for (const wchar_t* name : {L"a.jpg", L"b.jpg"}) work.WriteFile(name);
  StartOnWork();
  SetText(ids::TextRull, kSequenceTemplate);
  PostClick(ids::ImgStart);
  PostMessageW(Main(), WM_CLOSE, 0, 0);
  PumpPending();
  EXPECT_TRUE(unloaded);
  EXPECT_EQ(FileNamesIn(work.Path()), (Names{L"a_001.jpg", L"b_002.jpg"}));
  EXPECT_EQ(ReadFileBytes(ConfigPath()), "[main]\r\nPattern=*.jpg\r\n");
}

}  // namespace
}  // namespace tarnivo::test
