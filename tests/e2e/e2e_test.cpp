// End-to-end: tarnivo.exe started as its own process from a temp program folder, as a
// user would, and read back through its window and the files it writes.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "tests/e2e/program.h"
#include "tests/support/dated_files.h"
#include "tests/support/photo_fixtures.h"
#include "win/code_page.h"

namespace tarnivo::test {
namespace {

TEST_F(EndToEnd, ListsTheFolderAndSavesThePatternAtExit) {
  work.WriteFile(L"一.jpg");
  work.WriteFile(L"two.JPG");
  work.WriteFile(L"three.txt");
  Program program(exe, Quoted(work.Path()));
  ASSERT_TRUE(program.Started());
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(WindowText(main), L"《Tarnivo》 V 1.0");
  EXPECT_EQ(StatusText(main), L"当前目录[2]:  " + work.Path());
  EXPECT_FALSE(FileExists(ConfigPath()));  // nothing is written before the exit

  ASSERT_TRUE(program.Close(main));
  EXPECT_EQ(ReadFileBytes(ConfigPath()), "[main]\r\nPattern=*.jpg\r\n");
}

TEST_F(EndToEnd, PatternComesFromTheSettingsFileAndGoesBackUnchanged) {
  const std::string settings = "[main]\r\nPattern=*.txt\r\nwritelog=0\r\n";
  programFolder.WriteFile(L"config.ini", settings);
  work.WriteFile(L"a.jpg");
  work.WriteFile(L"b.txt");
  Program program(exe, Quoted(work.Path()));
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(StatusText(main), L"当前目录[1]:  " + work.Path());  // *.txt applied
  ASSERT_TRUE(program.Close(main));
  EXPECT_EQ(ReadFileBytes(ConfigPath()), settings);
}

TEST_F(EndToEnd, SecondStartEndsAtOnceAndTouchesNothing) {
  Program first(exe, Quoted(work.Path()));
  const HWND main = first.MainWindow();
  ASSERT_NE(main, nullptr);

  Program second(exe, Quoted(work.Path()));
  ASSERT_TRUE(second.Started());
  ASSERT_TRUE(second.WaitForExit(kExitTimeoutMs));
  EXPECT_EQ(second.ExitCode(), 0u);
  EXPECT_FALSE(FileExists(ConfigPath()));
  EXPECT_TRUE(IsWindow(main));

  // A copy of the program elsewhere has its own settings file and runs beside it.
  TempFolder otherProgramFolder;
  const std::wstring otherExe = otherProgramFolder / L"tarnivo.exe";
  ASSERT_TRUE(CopyFileW(exe.c_str(), otherExe.c_str(), FALSE));
  Program other(otherExe, Quoted(work.Path()));
  const HWND otherMain = other.MainWindow();
  ASSERT_NE(otherMain, nullptr);
  ASSERT_TRUE(other.Close(otherMain));
  EXPECT_TRUE(FileExists(otherProgramFolder / L"config.ini"));

  ASSERT_TRUE(first.Close(main));
  EXPECT_EQ(ReadFileBytes(ConfigPath()), "[main]\r\nPattern=*.jpg\r\n");
}

TEST_F(EndToEnd, StartsWithoutArgumentsAndWithBadOnes) {
  const std::wstring file = work.WriteFile(L"photo.jpg", "x");
  const std::wstring cases[] = {
      L"",
      Quoted(file),
      Quoted(work.Path() + L"\\" + std::wstring(300, L'x')),
      Quoted(work.Path() + L"\\사진"),
      L"\"" + work.Path() + L"\" \"" + work.Path() + L"\"",
  };
  for (const std::wstring& arguments : cases) {
    SCOPED_TRACE(arguments);
    Program program(exe, arguments);
    const HWND main = program.MainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WindowText(main), L"《Tarnivo》 V 1.0");
    ASSERT_TRUE(program.Close(main));
  }
}

TEST_F(EndToEnd, RenamesEveryListedFileInExplorerOrder) {
  // Each file holds its own old name, so the new names show the order they were given in.
  for (const char* name : {"IMG_1.jpg", "IMG_10.jpg", "IMG_2.jpg", "notes.txt"}) {
    work.WriteFile(std::wstring(name, name + std::char_traits<char>::length(name)), name);
  }
  Program program(exe, Quoted(work.Path()));
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  SetTemplate(main, L"photo_\r\n%Taxis:3,1,1%\r\n%ext%");

  const std::wstring summary = RunAndWaitForSummary(program, main);
  EXPECT_NE(summary.find(L"秒, 共转换 :3个文件, 未转换 :0个文件"), std::wstring::npos) << summary;
  const std::vector<std::wstring> expected{L"notes.txt", L"photo_001.jpg", L"photo_002.jpg",
                                           L"photo_003.jpg"};
  EXPECT_EQ(FileNamesIn(work.Path()), expected);
  // IMG_2 before IMG_10, as the shell shows them.
  EXPECT_EQ(ReadFileBytes(work / L"photo_001.jpg"), "IMG_1.jpg");
  EXPECT_EQ(ReadFileBytes(work / L"photo_002.jpg"), "IMG_2.jpg");
  EXPECT_EQ(ReadFileBytes(work / L"photo_003.jpg"), "IMG_10.jpg");

  // A run without failures leaves the header alone in the log.
  const std::string log = ReadFileBytes(programFolder / L"Err.LOG");
  const std::string rule(32, '=');
  const std::string tail =
      rule + "\r\nphoto_\r\n%Taxis:3,1,1%\r\n%ext%\r\n" + rule + "\r\n\r\n\r\n";
  ASSERT_GE(log.size(), tail.size());
  EXPECT_EQ(log.substr(log.size() - tail.size()), tail);
  EXPECT_EQ(log.rfind("\t", 0), 0u);

  ASSERT_TRUE(program.Close(main));
}

TEST_F(EndToEnd, TakenNamesFailAndNoFileIsLost) {
  for (const wchar_t* name : {L"a.jpg", L"b.jpg", L"c.jpg"}) work.WriteFile(name, "x");
  programFolder.WriteFile(L"config.ini", "[main]\r\nopenlog=0\r\n");
  Program program(exe, Quoted(work.Path()));
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  SetTemplate(main, L"same.jpg");

  const std::wstring summary = RunAndWaitForSummary(program, main);
  EXPECT_NE(summary.find(L"共转换 :1个文件, 未转换 :2个文件"), std::wstring::npos) << summary;
  const std::vector<std::wstring> expected{L"b.jpg", L"c.jpg", L"same.jpg"};
  EXPECT_EQ(FileNamesIn(work.Path()), expected);

  const std::string log = ReadFileBytes(programFolder / L"Err.LOG");
  const std::string rule(32, '=');
  EXPECT_NE(log.find("\r\n1" + rule + "\r\n"), std::string::npos);
  EXPECT_NE(log.find("\r\n2" + rule + "\r\n"), std::string::npos);
  EXPECT_EQ(log.find("\r\n3" + rule), std::string::npos);
  EXPECT_EQ(log.find("\r\r\n"), std::string::npos);  // CR LF pairs stay pairs

  ASSERT_TRUE(program.Close(main));
}

// The program on `folder` runs `templateText` and is killed once its status line satisfies
// `when`; the last status line seen (which the caller checks with `when` again).
std::wstring RunAndKill(const std::wstring& exe, const TempFolder& folder,
                        const std::wstring& templateText,
                        const std::function<bool(const std::wstring&)>& when) {
  Program program(exe, L"\"" + folder.Path() + L"\"");
  const HWND main = program.MainWindow();
  if (!main) return L"no window";
  SetTemplate(main, templateText);
  ClickStart(main);
  const std::wstring status = WaitForStatus(program, main, when);
  program.Kill();
  return status;
}

// Every file of `names` holds its own name again (each was written holding it).
void ExpectEveryNameAndContentBack(const TempFolder& folder, std::vector<std::wstring> names) {
  std::sort(names.begin(), names.end());
  ASSERT_EQ(FileNamesIn(folder.Path()), names);
  for (const std::wstring& name : names) {
    ASSERT_EQ(ReadFileBytes(folder / name), ToAnsi(name)) << testing::PrintToString(name);
  }
}

// A run killed half-way through by the system, then undone by the program started again:
// every file has its old name and its own content back.
TEST_F(EndToEnd, UndoAfterAKillGivesBackEveryName) {
  constexpr int kFiles = 5000;
  std::vector<std::wstring> names;
  for (int i = 1; i <= kFiles; ++i) {
    wchar_t name[32];
    swprintf(name, 32, L"IMG_%05d.jpg", i);
    names.push_back(name);
    // Each file holds its own name: a content in the wrong place shows.
    work.WriteFile(name, std::string(name, name + wcslen(name)));
  }
  names.push_back(L"한국.jpg");  // beyond the code page: comes last in the list
  work.WriteFile(names.back(), "korean");
  programFolder.WriteFile(L"config.ini", "[main]\r\nopenlog=0\r\n");
  // Killed once the progress line has passed a third of the files.
  const std::wregex third(L"正在转换:  .*IMG_0(1[5-9]|[2-4][0-9])[0-9]{2}\\.jpg");
  const auto passedAThird = [&](const std::wstring& text) { return std::regex_match(text, third); };
  const std::wstring status =
      RunAndKill(exe, work, L"new_\r\n%Taxis:5,1,1%\r\n%ext%", passedAThird);
  ASSERT_TRUE(passedAThird(status)) << testing::PrintToString(status);
  const std::vector<std::wstring> killed = FileNamesIn(work.Path());
  const auto renamed = std::count_if(killed.begin(), killed.end(), [](const std::wstring& name) {
    return name.rfind(L"new_", 0) == 0;
  });
  ASSERT_GT(renamed, 1000);
  ASSERT_LT(renamed, kFiles);

  Program program(exe, L"");
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  const std::wstring summary = UndoFromTheMenu(program, main);
  EXPECT_NE(summary.find(L"秒, 共恢复 :" + std::to_wstring(renamed) + L"个文件, 未恢复 :0个文件"),
            std::wstring::npos)
      << testing::PrintToString(summary);
  std::sort(names.begin(), names.end());
  ASSERT_EQ(FileNamesIn(work.Path()), names);
  for (const std::wstring& name : names) {
    const std::string content = ReadFileBytes(work / name);
    if (name == L"한국.jpg") {
      EXPECT_EQ(content, "korean");
    } else {
      ASSERT_EQ(content, std::string(name.begin(), name.end())) << testing::PrintToString(name);
    }
  }
  EXPECT_EQ(StatusText(main).rfind(L"撤销完成", 0), 0u);
  ASSERT_TRUE(program.Close(main));
}

// Shifts, a swap and a change of case, run by the program as a user would: every file gets
// its name, and each content goes with its file.
TEST_F(EndToEnd, ShiftsSwapsAndChangesOfCaseSucceed) {
  struct Case {
    const char* What;
    std::vector<std::wstring> Files;
    std::wstring Template;
    std::vector<std::pair<std::wstring, std::wstring>> After;  // name, the old name it held
  };
  Case shift{"a shift of 40", {}, L"IMG_\r\n%Taxis:4,2,1%\r\n%ext%", {}};
  for (int i = 1; i <= 40; ++i) {
    wchar_t name[32], next[32];
    swprintf(name, 32, L"IMG_%04d.jpg", i);
    swprintf(next, 32, L"IMG_%04d.jpg", i + 1);
    shift.Files.push_back(name);
    shift.After.emplace_back(next, name);
  }
  const Case cases[] = {
      shift,
      {"a swap",
       {L"1.jpg", L"2.jpg"},
       L"%Taxis:1,2,-1%\r\n.jpg",
       {{L"1.jpg", L"2.jpg"}, {L"2.jpg", L"1.jpg"}}},
      {"a change of case only", {L"IMG.JPG"}, L"img\r\n.jpg", {{L"img.jpg", L"IMG.JPG"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    TempFolder folder;
    for (const std::wstring& name : c.Files) folder.WriteFile(name, ToAnsi(name));
    Program program(exe, Quoted(folder.Path()));
    const HWND main = program.MainWindow();
    ASSERT_NE(main, nullptr);
    SetTemplate(main, c.Template);
    const std::wstring summary = RunAndWaitForSummary(program, main);
    EXPECT_NE(
        summary.find(L"共转换 :" + std::to_wstring(c.Files.size()) + L"个文件, 未转换 :0个文件"),
        std::wstring::npos)
        << testing::PrintToString(summary);
    std::vector<std::wstring> after;
    for (const auto& [name, old] : c.After) {
      after.push_back(name);
      EXPECT_EQ(ReadFileBytes(folder / name), ToAnsi(old)) << testing::PrintToString(name);
    }
    std::sort(after.begin(), after.end());
    EXPECT_EQ(FileNamesIn(folder.Path()), after);  // in the new case, no temporary name left
    ASSERT_TRUE(program.Close(main));
  }
}

// A rotation of 5 000 files (each file's date modified is the next file's name, the last
// one's the first's) killed half-way, then undone by the program started again: every
// file has its old name and its own content back, and no temporary name is left.
TEST_F(EndToEnd, UndoAfterAKillInARotationGivesBackEveryName) {
  constexpr int kFiles = 5000;
  std::vector<std::wstring> names;
  for (int k = 1; k <= kFiles; ++k) {
    names.push_back(RotationName(k));
    ASSERT_TRUE(SetModified(work.WriteFile(names.back(), ToAnsi(names.back())), k % kFiles + 1));
  }
  programFolder.WriteFile(L"config.ini", "[main]\r\nopenlog=0\r\n");
  // Killed once the progress line counts a third of the files done.
  const auto aThirdDone = [](const std::wstring& text) {
    std::wsmatch time;
    static const std::wregex progress(L"正在转换:  .*_(\\d\\d)(\\d\\d)(\\d\\d)\\.jpg");
    return std::regex_match(text, time, progress) &&
           std::stoi(time[1]) * 3600 + std::stoi(time[2]) * 60 + std::stoi(time[3]) > kFiles / 3;
  };
  const std::wstring status = RunAndKill(exe, work, L"%modified%\r\n%ext%", aThirdDone);
  ASSERT_TRUE(aThirdDone(status)) << testing::PrintToString(status);
  const std::vector<std::wstring> killed = FileNamesIn(work.Path());
  ASSERT_EQ(killed.size(), names.size());
  EXPECT_EQ(
      std::count_if(killed.begin(), killed.end(),
                    [](const std::wstring& name) { return name.rfind(L"~tarnivo-", 0) == 0; }),
      1);
  const auto moved = std::count_if(killed.begin(), killed.end(), [&](const std::wstring& name) {
    return ReadFileBytes(work / name) != ToAnsi(name);
  });
  ASSERT_GT(moved, 1000);
  ASSERT_LT(moved, kFiles);

  Program program(exe, L"");
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  const std::wstring summary = UndoFromTheMenu(program, main);
  EXPECT_NE(summary.find(L"个文件, 未恢复 :0个文件"), std::wstring::npos)
      << testing::PrintToString(summary);
  ExpectEveryNameAndContentBack(work, names);
  ASSERT_TRUE(program.Close(main));
}

// Waits until the program's start image takes clicks (the list is in its order).
bool WaitForStart(const Program& program, HWND main) {
  const HWND start = GetDlgItem(main, ids::ImgStart);
  const DWORD until = GetTickCount() + kStartTimeoutMs;
  while (!IsWindowEnabled(start)) {
    if (static_cast<LONG>(until - GetTickCount()) <= 0 || program.WaitForExit(20)) return false;
  }
  return true;
}

// Photos of two cameras, the order by date taken chosen from the list's menu with the
// keyboard, kept across a restart, and numbered in shooting order by the program started
// again.
TEST_F(EndToEnd, PhotosOfTwoCamerasAreNumberedInShootingOrder) {
  const std::pair<const wchar_t*, const wchar_t*> photos[] = {
      {L"jpeg_ii_modify.jpg", L"IMG_0412.jpg"},     // 2023-11-12
      {L"jpeg_ii_all.jpg", L"IMG_0413.jpg"},        // 2021-03-04
      {L"jpeg_ii_digitized.jpg", L"DSC_1187.jpg"},  // 2022-01-02
      {L"jpeg_ii_none.jpg", L"DSC_1188.jpg"},       // none: last
  };
  for (const auto& [fixture, name] : photos) {
    ASSERT_TRUE(CopyFileW(PhotoFixture(fixture).c_str(), (work / name).c_str(), FALSE));
  }
  programFolder.WriteFile(L"config.ini", "[main]\r\nopenlog=0\r\n");
  {
    Program program(exe, Quoted(work.Path()));
    const HWND main = program.MainWindow();
    ASSERT_NE(main, nullptr);
    const HWND list = GetDlgItem(main, ids::File1);
    PostMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    PostMessageW(list, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    const HWND menu = OpenPopupMenu(program.Id());
    ASSERT_NE(menu, nullptr);
    Sleep(200);                                  // the menu's own loop takes its keys once it runs
    PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 1);  // 名    称
    PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 1);  // 拍摄日期
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 1);
    const DWORD until = GetTickCount() + kStartTimeoutMs;
    while (ReadFileBytes(ConfigPath()).find("Sort=taken") == std::string::npos &&
           static_cast<LONG>(until - GetTickCount()) > 0) {
      Sleep(20);
    }
    ASSERT_NE(ReadFileBytes(ConfigPath()).find("Sort=taken"), std::string::npos)
        << ReadFileBytes(ConfigPath());
    ASSERT_TRUE(WaitForStart(program, main));
    ASSERT_TRUE(program.Close(main));
  }

  Program program(exe, Quoted(work.Path()));
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitForStart(program, main));
  SetTemplate(main, L"trip_\r\n%Taxis:2,1,1%\r\n%ext%");
  const std::wstring summary = RunAndWaitForSummary(program, main);
  EXPECT_NE(summary.find(L"共转换 :4个文件, 未转换 :0个文件"), std::wstring::npos) << summary;
  const wchar_t* const shootingOrder[] = {L"jpeg_ii_all.jpg", L"jpeg_ii_digitized.jpg",
                                          L"jpeg_ii_modify.jpg", L"jpeg_ii_none.jpg"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(ReadFileBytes(work / (L"trip_0" + std::to_wstring(i + 1) + L".jpg")),
              ReadFileBytes(PhotoFixture(shootingOrder[i])))
        << i;
  }
  ASSERT_TRUE(program.Close(main));
}

// Two files left out in the preview, with the keyboard: the run leaves them alone, numbers
// the others without a gap and counts only them.
TEST_F(EndToEnd, FilesLeftOutInThePreviewKeepTheirNames) {
  for (const wchar_t* name : {L"a.jpg", L"b.jpg", L"c.jpg", L"d.jpg"}) work.WriteFile(name, "x");
  Program program(exe, Quoted(work.Path()));
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  SetTemplate(main, L"new_\r\n%Taxis:1,1,1%\r\n%ext%");
  const HWND box = GetDlgItem(main, ids::TextRull);
  PostMessageW(box, WM_KEYDOWN, VK_F5, 1);
  HWND preview = nullptr;
  const DWORD until = GetTickCount() + kStartTimeoutMs;
  while (!(preview = FindWindowW(L"TarnivoPreview", nullptr)) &&
         static_cast<LONG>(until - GetTickCount()) > 0) {
    Sleep(20);
  }
  ASSERT_NE(preview, nullptr);
  const HWND rows = GetDlgItem(preview, ids::PreviewList);
  const HWND summary = GetDlgItem(preview, ids::PreviewSummary);
  const auto summaryIs = [&](const std::wstring& text) {
    const DWORD end = GetTickCount() + kStartTimeoutMs;
    while (WindowText(summary) != text && static_cast<LONG>(end - GetTickCount()) > 0) Sleep(20);
    return WindowText(summary);
  };
  ASSERT_EQ(summaryIs(L"将转换 4 个文件, 不变 0 个, 将失败 0 个"),
            L"将转换 4 个文件, 不变 0 个, 将失败 0 个");
  // The second and the fourth row: down to each, then Space.
  for (const WORD key : {VK_DOWN, VK_DOWN, VK_SPACE, VK_DOWN, VK_DOWN, VK_SPACE}) {
    PostMessageW(rows, WM_KEYDOWN, key, 1);
    PostMessageW(rows, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
  }
  EXPECT_EQ(summaryIs(L"将转换 2 个文件, 不变 0 个, 将失败 0 个, 不转换 2 个"),
            L"将转换 2 个文件, 不变 0 个, 将失败 0 个, 不转换 2 个");
  const std::wstring ran = RunAndWaitForSummary(program, main);
  EXPECT_NE(ran.find(L"共转换 :2个文件, 未转换 :0个文件"), std::wstring::npos) << ran;
  EXPECT_EQ(FileNamesIn(work.Path()),
            (std::vector<std::wstring>{L"b.jpg", L"d.jpg", L"new_1.jpg", L"new_2.jpg"}));
  ASSERT_TRUE(program.Close(main));
}

}  // namespace
}  // namespace tarnivo::test
