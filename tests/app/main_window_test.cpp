// Start-up, status line, running state, Ctrl+V folder paste and shut-down of the real window.
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/single_instance.h"
#include "tests/app/window_fixture.h"

namespace tarnivo::test {
namespace {

constexpr WORD kKeyV = 'V';

TEST_F(WindowTest, StartUpListsTheCommandLineFolder) {
  work.WriteFile(L"a.jpg");
  work.WriteFile(L"b.JPG");
  work.WriteFile(L"c.txt");
  StartOnWork();
  EXPECT_EQ(WindowText(Main()), L"《Tarnivo》 V 1.0");
  EXPECT_EQ(StatusText(), StatusLineFor(2, work.Path()));
  EXPECT_EQ(Text(ids::TextPatt), L"*.jpg");
  EXPECT_EQ(window->CurrentFolder(), work.Path() + L"\\");
}

TEST_F(WindowTest, StartUpReadsKeywordsAndPatternFromTheSettings) {
  programFolder.WriteFile(L"config.ini",
                          "[main]\r\nPattern=*.txt\r\n[Variant]\r\nname=Name\r\ntaxis=Seq\r\n");
  work.WriteFile(L"a.jpg");
  work.WriteFile(L"c.txt");
  StartOnWork();
  EXPECT_EQ(Text(ids::TextPatt), L"*.txt");
  EXPECT_EQ(window->File1().Pattern(), L"*.txt");
  EXPECT_EQ(StatusText(), StatusLineFor(1, work.Path()));
  const Keywords& keywords = window->TokenKeywords();
  EXPECT_EQ(keywords[TokenKind::Name], L"Name");
  EXPECT_EQ(keywords[TokenKind::Ext], L"ext");
  EXPECT_EQ(keywords[TokenKind::Date], L"date");
  EXPECT_EQ(keywords[TokenKind::Now], L"now");
  EXPECT_EQ(keywords[TokenKind::Sequence], L"Seq");  // key "Taxis" read without regard to case
}

TEST_F(WindowTest, RefusedCommandLineLeavesTheListAlone) {
  const std::wstring file = work.WriteFile(L"photo.jpg", "x");
  struct Case {
    const wchar_t* What;
    std::wstring Path;
  };
  const Case cases[] = {
      {L"a file", file},
      {L"a missing folder", work.Path() + L"\\missing"},
      {L"a path of 300 characters", work.Path() + L"\\" + std::wstring(300, L'x')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    Start(L"\"" + c.Path + L"\"");
    // The status line either keeps its credit text or shows the list's first folder.
    EXPECT_EQ(StatusText().find(c.Path), std::wstring::npos) << StatusText();
    EXPECT_NE(window->File1().Path(), c.Path);
    window.reset();
  }
}

TEST_F(WindowTest, ProbeFailureOtherThanNotFoundStillWritesTheStatusLine) {
  // Two quoted folders make one path whose parent is missing: the probe lets it through,
  // listing it fails, and the status line shows the list's first folder.
  Start(L"\"" + work.Path() + L"\\no-such\\a\" \"" + work.Path() + L"\"");
  EXPECT_EQ(StatusText().rfind(L"当前目录[", 0), 0u) << StatusText();
  EXPECT_EQ(StatusText().find(L"no-such"), std::wstring::npos);
}

TEST_F(WindowTest, FolderOutsideTheCodePageIsListed) {
  const std::wstring korean = work.MakeFolder(L"사진 2024");
  work.WriteFile(L"사진 2024\\한국.jpg");
  Start(L"\"" + korean + L"\"");
  EXPECT_EQ(StatusText(), StatusLineFor(1, korean));
  EXPECT_EQ(window->File1().Entry(0), L"한국.jpg");
}

TEST_F(WindowTest, RunningStateDisablesAndIdleStateEnables) {
  StartOnWork();
  const auto picture = [&] {
    return SendMessageW(Control(ids::ImgStart), STM_GETIMAGE, IMAGE_BITMAP, 0);
  };
  const LRESULT idlePicture = picture();
  ASSERT_NE(idlePicture, 0);
  window->SetRunningState(RunState::Running);
  EXPECT_NE(picture(), idlePicture);
  for (int id : {ids::ImgStart, ids::TextRull, ids::ImgRefresh})
    EXPECT_FALSE(IsWindowEnabled(Control(id))) << id;
  EXPECT_TRUE(IsWindowEnabled(Control(ids::TextPatt)));
  window->SetRunningState(RunState::Idle);
  EXPECT_EQ(picture(), idlePicture);
  for (int id : {ids::ImgStart, ids::TextRull, ids::ImgRefresh})
    EXPECT_TRUE(IsWindowEnabled(Control(id))) << id;
}

TEST_F(WindowTest, CtrlVPastesAFolderFromAnyControl) {
  test::TempFolder other;
  other.WriteFile(L"x.jpg");
  other.WriteFile(L"y.jpg");
  const std::wstring file = other.WriteFile(L"z.jpg");
  StartOnWork();
  struct Case {
    const wchar_t* What;
    std::wstring Clipboard;
    int Control;
    int ShiftState;
    bool Switches;
  };
  const Case cases[] = {
      {L"Ctrl+Shift+V", other.Path(), ids::TextRull, 3, false},
      {L"Ctrl+Alt+V", other.Path(), ids::TextRull, 6, false},
      {L"V alone", other.Path(), ids::File1, 0, false},
      {L"a file on the clipboard", file, ids::TextPatt, 2, false},
      {L"text that is no path", L"hello", ids::TextPatt, 2, false},
      {L"empty text", L"", ids::TextPatt, 2, false},
      {L"a folder, key in the template box", other.Path(), ids::TextRull, 2, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    SetClipboard(Main(), c.Clipboard);
    PressKey(c.Control, kKeyV, c.ShiftState);
    EXPECT_EQ(StatusText(),
              c.Switches ? StatusLineFor(3, other.Path()) : StatusLineFor(0, work.Path()));
  }
}

TEST_F(WindowTest, CtrlVOfAFolderThatCannotBeListedRewritesTheSameStatusLine) {
  work.WriteFile(L"a.jpg");
  StartOnWork();
  SetText(ids::LabTitle(1), L"something else");
  SetClipboard(Main(), work.Path() + L"\\missing-parent\\child");
  PressKey(ids::File1, kKeyV, 2);
  EXPECT_EQ(StatusText(), StatusLineFor(1, work.Path()));
}

TEST_F(WindowTest, MousePressOnTheListRefreshesTheStatusLine) {
  work.WriteFile(L"a.jpg");
  StartOnWork();
  for (UINT button : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN}) {
    SetText(ids::LabTitle(1), L"stale");
    PressMouse(ids::File1, button);
    EXPECT_EQ(StatusText(), StatusLineFor(1, work.Path())) << button;
  }
}

TEST_F(WindowTest, ExitCreatesTheSettingsFileWithThePattern) {
  StartOnWork();
  const HWND main = Main();
  ClickControl(ids::Labexit);
  EXPECT_TRUE(unloaded);
  EXPECT_FALSE(IsWindow(main));
  EXPECT_EQ(ReadFileBytes(ConfigPath()), "[main]\r\nPattern=*.jpg\r\n");
}

TEST_F(WindowTest, ExitSavesTheAppliedPatternNotTheTypedOne) {
  StartOnWork();
  SetText(ids::TextPatt, L"*.png");
  PressKey(ids::TextPatt, VK_RETURN, 0);
  SetText(ids::TextPatt, L"*.gif");  // typed, never applied
  SendMessageW(Main(), WM_CLOSE, 0, 0);
  PumpPending();
  EXPECT_TRUE(unloaded);
  EXPECT_EQ(ReadFileBytes(ConfigPath()), "[main]\r\nPattern=*.png\r\n");
}

// "?" is a wildcard: a pattern the code page cannot hold, saved as "*??*", would list more
// files at the next start than the user filtered. The saved pattern stays instead.
TEST_F(WindowTest, APatternTheCodePageCannotHoldIsNotSavedAndTheNextStartKeepsTheFilter) {
  for (const wchar_t* name : {L"한국.jpg", L"x한국y.txt", L"ab.jpg", L"cd.png"})
    work.WriteFile(name);
  programFolder.WriteFile(L"config.ini", "[main]\r\nPattern=*.png\r\n");
  StartOnWork();
  SetText(ids::TextPatt, L"*한국*");
  PressKey(ids::TextPatt, VK_RETURN, 0);
  EXPECT_EQ(window->File1().Names(), (std::vector<std::wstring>{L"x한국y.txt", L"한국.jpg"}));
  SendMessageW(Main(), WM_CLOSE, 0, 0);
  PumpPending();
  ASSERT_TRUE(unloaded);
  EXPECT_EQ(ReadFileBytes(ConfigPath()), "[main]\r\nPattern=*.png\r\n");
  // The next start filters as the file says, not wider.
  window.reset();
  unloaded = false;
  StartOnWork();
  EXPECT_EQ(window->File1().Pattern(), L"*.png");
  EXPECT_EQ(window->File1().Names(), std::vector<std::wstring>{L"cd.png"});
}

// With real keys: Tab and Shift+Tab move along the focus order from every control, the
// template box included (which asks for every key itself); Ctrl+Tab types a tab there.
TEST_F(WindowTest, TabAndShiftTabWalkTheFocusOrderAndLeaveTheTemplateBox) {
  StartOnWork([](MainWindowOptions& options) { options.ShiftState = nullptr; });
  SetForegroundWindow(Main());
  SetFocus(Control(ids::File1));
  PumpPending();
  const auto press = [&](bool shiftDown, bool ctrlDown) {
    std::vector<INPUT> keys;
    const auto key = [&](WORD code, bool up) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = code;
      input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
      keys.push_back(input);
    };
    if (shiftDown) key(VK_SHIFT, false);
    if (ctrlDown) key(VK_CONTROL, false);
    key(VK_TAB, false);
    key(VK_TAB, true);
    if (ctrlDown) key(VK_CONTROL, true);
    if (shiftDown) key(VK_SHIFT, true);
    ASSERT_EQ(SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT)), keys.size());
  };
  const int order[] = {ids::File1,
                       ids::TextPatt,
                       ids::TextRull,
                       ids::CheckFileInfo(1),
                       ids::CheckFileInfo(2),
                       ids::CheckFileInfo(3),
                       ids::CheckFileInfo(0),
                       ids::File1};
  for (size_t i = 1; i < std::size(order); ++i) {
    SCOPED_TRACE(i);
    press(false, false);
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == Control(order[i]); }))
        << GetDlgCtrlID(GetFocus());
  }
  for (size_t i = std::size(order) - 1; i > 0; --i) {
    SCOPED_TRACE(i);
    press(true, false);
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == Control(order[i - 1]); }))
        << GetDlgCtrlID(GetFocus());
  }
  SetFocus(Control(ids::TextRull));
  PumpPending();
  press(false, true);
  EXPECT_TRUE(PumpUntil([&] { return Text(ids::TextRull) == L"\t"; }));
  EXPECT_EQ(GetFocus(), Control(ids::TextRull));
}

TEST_F(WindowTest, ExitIntoAFolderThatRefusesTheWriteStillCloses) {
  programFolder.MakeFolder(L"config.ini");  // a folder where the file should be
  StartOnWork();
  SendMessageW(Main(), WM_CLOSE, 0, 0);
  PumpPending();
  EXPECT_TRUE(unloaded);
}

TEST(CommandLine, ArgumentsAfterTheProgramName) {
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"tarnivo.exe", L""},
      {L"\"C:\\Program Files\\tarnivo.exe\"", L""},
      {L"\"C:\\Program Files\\tarnivo.exe\" D:\\photos", L"D:\\photos"},
      {L"tarnivo.exe   \"D:\\my photos\"", L"\"D:\\my photos\""},
      {L"C:\\t\\tarnivo.exe \"D:\\a\" \"D:\\b\"", L"\"D:\\a\" \"D:\\b\""},
  };
  for (const auto& [line, arguments] : cases)
    EXPECT_EQ(ArgumentsAfterProgramName(line), arguments) << line;
}

TEST(CommandLine, FolderCandidate) {
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"", L"\\"},
      {L"D:\\photos", L"D:\\photos\\"},
      {L"D:\\", L"D:\\"},
      {L"\"D:\\my photos\"", L"D:\\my photos\\"},
      {L"\"D:\\a\" \"D:\\b\"", L"D:\\a D:\\b\\"},
      {L"\"\"\"", L"\\"},
  };
  for (const auto& [arguments, folder] : cases)
    EXPECT_EQ(FolderCandidate(arguments), folder) << arguments;
}

TEST(SingleInstance, SecondClaimOnTheSamePathIsRefused) {
  const SingleInstance first(L"C:\\Tools\\Tarnivo\\tarnivo.exe");
  EXPECT_TRUE(first.IsFirst());
  EXPECT_FALSE(SingleInstance(L"c:\\tools\\tarnivo\\TARNIVO.EXE").IsFirst());
  EXPECT_TRUE(SingleInstance(L"C:\\Other\\tarnivo.exe").IsFirst());
}

}  // namespace
}  // namespace tarnivo::test
