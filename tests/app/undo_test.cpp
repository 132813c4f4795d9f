// The undo as the window drives it: when "撤    销" is offered, what choosing it gives back
// after a run (also in a window started again), its texts in the status line, its log, and
// what it holds off. What the undo renames in every case is tested on the engine's own.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/menu_ids.h"
#include "tests/app/window_fixture.h"
#include "win/code_page.h"

namespace tarnivo::test {
namespace {

using Names = std::vector<std::wstring>;

const std::wstring kTemplate = L"%name%\r\n_\r\n%ext%";

class UndoTest : public WindowTest {
 protected:
  // The window on `arguments`, its menu going through the test: each opening records
  // whether "撤    销" is enabled and chooses `choice`.
  void StartWithMenu(const std::wstring& arguments) {
    Start(arguments, [this](MainWindowOptions& options) {
      options.PopupMenu = [this](HMENU menu, POINT) {
        const UINT state = GetMenuState(menu, ids::menuundo, MF_BYCOMMAND);
        offered.push_back(state != static_cast<UINT>(-1) && !(state & MF_GRAYED));
        return choice;
      };
    });
  }
  void StartOn(const TempFolder& folder) { StartWithMenu(L"\"" + folder.Path() + L"\""); }
  void Run(const std::wstring& templateText) {
    SetText(ids::TextRull, templateText);
    ClickControl(ids::ImgStart);
    ASSERT_FALSE(window->RunInProgress());
  }
  // A right press in the template box, choosing the item `chosen` (none when 0); whether the
  // menu offered "撤    销".
  bool OpenMenu(int chosen = 0) {
    choice = chosen;
    offered.clear();
    PressMouse(ids::TextRull, WM_RBUTTONDOWN);
    choice = 0;
    EXPECT_FALSE(window->RunInProgress());
    return !offered.empty() && offered.back();
  }
  void MakeFiles(const Names& names) const {
    for (const std::wstring& name : names) work.WriteFile(name, ToAnsi(name));
  }
  std::wstring Log() const { return FromAnsi(ReadFileBytes(programFolder / L"Err.LOG")); }

  std::vector<bool> offered;
  int choice = 0;
};

TEST_F(UndoTest, OfferedForARunsRenamesUntilTheyAreUndone) {
  MakeFiles({L"a.jpg", L"b.jpg"});
  StartOn(work);
  EXPECT_FALSE(OpenMenu()) << "no journal yet";
  Run(L"");
  EXPECT_FALSE(OpenMenu()) << "a run that renamed nothing";
  Run(kTemplate);
  EXPECT_TRUE(OpenMenu()) << "a run that renamed";
  EXPECT_TRUE(OpenMenu(ids::menupreview)) << "the item beside it leaves the renames alone";
  EXPECT_EQ(FileNamesIn(work.Path()), (Names{L"a_.jpg", L"b_.jpg"}));
  // A menu opened while a run is under way, at its first hand-over.
  SetText(ids::TextRull, L"x_\r\n%name%\r\n%ext%");
  offered.clear();
  PostClick(ids::ImgStart);
  PostMessageW(Control(ids::TextRull), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  PumpPending();
  ASSERT_EQ(offered.size(), 1u);
  EXPECT_FALSE(offered[0]) << "during a run";
  EXPECT_TRUE(OpenMenu(ids::menuundo)) << "after it";
  EXPECT_EQ(FileNamesIn(work.Path()), (Names{L"a_.jpg", L"b_.jpg"}));
  EXPECT_FALSE(OpenMenu()) << "after the undo";

  // A second undo does nothing, in this window or in one started again.
  const std::wstring summary = StatusText();
  OpenMenu(ids::menuundo);
  EXPECT_EQ(StatusText(), summary);
  EXPECT_EQ(FileNamesIn(work.Path()), (Names{L"a_.jpg", L"b_.jpg"}));
  window.reset();
  StartOn(work);
  EXPECT_FALSE(OpenMenu(ids::menuundo));
  EXPECT_EQ(FileNamesIn(work.Path()), (Names{L"a_.jpg", L"b_.jpg"}));
}

TEST_F(UndoTest, WindowStartedAgainGivesBackTheRenamedNamesAndListsTheirFolder) {
  const Names names{L"a.jpg", L"b.jpg", L"c.jpg", L"한국.jpg"};  // 한국 lies outside the code page
  MakeFiles(names);
  // Hidden, so that the list leaves it out.
  ASSERT_TRUE(
      SetFileAttributesW(work.WriteFile(L"b_.jpg", "taken").c_str(), FILE_ATTRIBUTE_HIDDEN));
  StartOn(work);
  Run(kTemplate);
  ASSERT_EQ(FileNamesIn(work.Path()),
            (Names{L"a_.jpg", L"b.jpg", L"b_.jpg", L"c_.jpg", L"한국_.jpg"}));
  window.reset();
  TempFolder other;
  StartOn(other);
  shellCalls.clear();
  RecordStatusTexts();
  ASSERT_TRUE(OpenMenu(ids::menuundo));
  StopRecordingStatusTexts();
  EXPECT_TRUE(IsUndoSummary(StatusText(), 3, 0)) << testing::PrintToString(StatusText());
  EXPECT_EQ(FileNamesIn(work.Path()),
            (Names{L"a.jpg", L"b.jpg", L"b_.jpg", L"c.jpg", L"한국.jpg"}));
  for (const std::wstring& name : names) EXPECT_EQ(ReadFileBytes(work / name), ToAnsi(name));
  EXPECT_EQ(ReadFileBytes(work / L"b_.jpg"), "taken");
  // The list shows the journal's folder, read again.
  EXPECT_EQ(window->File1().Path(), work.Path());
  EXPECT_EQ(window->File1().Names(), names);
  EXPECT_TRUE(shellCalls.empty());
  // Its progress lines in the running state, naming each file as the run left it.
  ASSERT_GE(statusTexts.size(), 2u);
  EXPECT_EQ(statusTexts[statusTexts.size() - 2],
            L"running: 正在恢复:  " + work.Path() + L"\\a_.jpg");
}

TEST_F(UndoTest, OldNameTakenMeanwhileIsLoggedAndNothingIsReplaced) {
  MakeFiles({L"a.jpg", L"b.jpg"});
  StartOn(work);
  Run(kTemplate);
  work.WriteFile(L"a.jpg", "new a");
  shellCalls.clear();
  OpenMenu(ids::menuundo);
  EXPECT_TRUE(IsUndoSummary(StatusText(), 1, 1)) << testing::PrintToString(StatusText());
  EXPECT_EQ(FileNamesIn(work.Path()), (Names{L"a.jpg", L"a_.jpg", L"b.jpg"}));
  EXPECT_EQ(ReadFileBytes(work / L"a.jpg"), "new a");
  EXPECT_EQ(ReadFileBytes(work / L"a_.jpg"), "a.jpg");
  // The log as a run writes it: its header (the caption, the run's template), then the
  // failure with the old name it tried to restore and the name the file has now.
  const std::wstring log = Log();
  EXPECT_EQ(log.rfind(L"\t《Tarnivo》 V 1.0\r\n", 0), 0u);
  const std::wstring folder = work.Path() + L"\\";
  EXPECT_NE(
      log.find(std::wstring(32, L'=') + L"\r\n" + kTemplate + L"\r\n" + std::wstring(32, L'=') +
               L"\r\n\r\n\r\n1" + std::wstring(32, L'=') + L"\r\n拟转换文件名: " + folder +
               L"a.jpg\r\n原文件名: " + folder + L"a_.jpg\r\n错误代号: 58\r\n详细内容: 文件已存在"),
      std::wstring::npos)
      << testing::PrintToString(log);
  ASSERT_EQ(shellCalls.size(), 1u);
  EXPECT_EQ(shellCalls[0].File, L"Err.LOG");
}

TEST_F(UndoTest, HoldsOffWhatARunHoldsOff) {
  MakeFiles({L"a.jpg", L"b.jpg"});
  TempFolder other;
  other.WriteFile(L"x.jpg");
  StartOn(work);
  Run(kTemplate);
  SetClipboard(Main(), other.Path());
  RecordStatusTexts();
  // Behind the press that chooses the undo: a click on the start image, Ctrl+V of another
  // folder, the refresh image; all handled while the undo hands over.
  choice = ids::menuundo;
  PostMessageW(Control(ids::TextRull), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  PostClick(ids::ImgStart);
  shift = 2;
  PostMessageW(Control(ids::File1), WM_KEYDOWN, 'V', 1);
  PostClick(ids::ImgRefresh);
  PumpPending();
  shift = 0;
  choice = 0;
  StopRecordingStatusTexts();
  EXPECT_FALSE(window->RunInProgress());
  EXPECT_EQ(FileNamesIn(work.Path()), (Names{L"a.jpg", L"b.jpg"}));
  EXPECT_EQ(window->File1().Path(), work.Path());
  EXPECT_TRUE(IsUndoSummary(StatusText(), 2, 0)) << testing::PrintToString(StatusText());
  EXPECT_TRUE(std::none_of(statusTexts.begin(), statusTexts.end(), [](const std::wstring& t) {
    return t.find(L"转换完成") != std::wstring::npos;
  }));
  EXPECT_TRUE(IsWindowEnabled(Control(ids::ImgStart)));
}

// Where Undo.LOG cannot be written, the run renames and the undo is not offered for it.
// Wine lets root write into a folder marked read-only, so Linux's /proc (which nobody may
// write in) stands in for a read-only program folder.
TEST_F(UndoTest, RunWithoutAJournalIsNotOffered) {
  struct Case {
    const wchar_t* What;
    std::function<void()> Prepare;
    std::wstring ProgramFolder;  // empty: the fixture's
  };
  TempFolder older;
  older.WriteFile(L"o_.jpg");
  const Case cases[] = {
      {L"a read-only program folder", [] {}, L"Z:\\proc"},
      {L"a folder named Undo.LOG", [this] { programFolder.MakeFolder(L"Undo.LOG"); }, L""},
      {L"a read-only Undo.LOG of an older run",
       [&] {
         const std::string journal =
             "文件夹\t" + ToAnsi(older.Path()) + "\r\n1\to.jpg\to_.jpg\t成功\r\n";
         programFolder.WriteFile(L"Undo.LOG", journal);
         ASSERT_TRUE(
             SetFileAttributesW((programFolder / L"Undo.LOG").c_str(), FILE_ATTRIBUTE_READONLY));
       },
       L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    TempFolder files;
    files.WriteFile(L"a.jpg");
    c.Prepare();
    const auto start = [&] {
      Start(L"\"" + files.Path() + L"\"", [&](MainWindowOptions& options) {
        if (!c.ProgramFolder.empty()) options.ProgramFolder = c.ProgramFolder;
        options.PopupMenu = [this](HMENU menu, POINT) {
          const UINT state = GetMenuState(menu, ids::menuundo, MF_BYCOMMAND);
          offered.push_back(state != static_cast<UINT>(-1) && !(state & MF_GRAYED));
          return choice;
        };
      });
    };
    start();
    Run(kTemplate);
    EXPECT_EQ(FileNamesIn(files.Path()), Names{L"a_.jpg"});
    EXPECT_TRUE(IsRunSummary(StatusText(), 1, 0)) << testing::PrintToString(StatusText());
    EXPECT_FALSE(OpenMenu(ids::menuundo));
    window.reset();
    start();  // nor in a window started again
    EXPECT_FALSE(OpenMenu(ids::menuundo));
    EXPECT_EQ(FileNamesIn(files.Path()), Names{L"a_.jpg"});
    EXPECT_EQ(FileNamesIn(older.Path()), Names{L"o_.jpg"});
    window.reset();
    SetFileAttributesW((programFolder / L"Undo.LOG").c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveTree(programFolder / L"Undo.LOG");
    DeleteFileW((programFolder / L"Undo.LOG").c_str());
    DeleteFileW((programFolder / L"Undo.void").c_str());
  }
}

// The second of two runs finds Undo.LOG held by another program: the first run's journal
// must not be offered for it, in this window or in one started again.
TEST_F(UndoTest, AnOlderRunIsNotUndoneOverANewerOne) {
  MakeFiles({L"a.jpg"});
  StartOn(work);
  Run(kTemplate);
  ASSERT_TRUE(OpenMenu());
  HANDLE held = CreateFileW((programFolder / L"Undo.LOG").c_str(), GENERIC_READ, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Run(L"%name%\r\nb\r\n%ext%");
  CloseHandle(held);
  EXPECT_EQ(FileNamesIn(work.Path()), Names{L"a_b.jpg"});
  EXPECT_FALSE(OpenMenu(ids::menuundo));
  window.reset();
  StartOn(work);
  EXPECT_FALSE(OpenMenu(ids::menuundo));
  EXPECT_EQ(FileNamesIn(work.Path()), Names{L"a_b.jpg"});
  // The next run that writes its journal can be undone again.
  Run(L"c\r\n%ext%");
  EXPECT_TRUE(OpenMenu(ids::menuundo));
  EXPECT_EQ(FileNamesIn(work.Path()), Names{L"a_b.jpg"});
}

}  // namespace
}  // namespace tarnivo::test
