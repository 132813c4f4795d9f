// The About box behind "帮助": its title with the revision, its text with the keywords,
// and the help file that Yes opens.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/res/version.h"
#include "app/version_info.h"
#include "tests/app/window_fixture.h"

namespace tarnivo::test {
namespace {

constexpr UINT kYesNoQuestion = 36;  // MB_YESNO | MB_ICONQUESTION

struct ShownBox {
  HWND Owner;
  std::wstring Text, Title;
  UINT Style;
};

std::wstring AboutText(const std::wstring& name, const std::wstring& ext, const std::wstring& date,
                       const std::wstring& now) {
  return L"name=%" + name + L"%\text=%" + ext + L"%\r\ndate=%" + date + L"%\tnow=%" + now +
         L"%\r\n\r\n现在是否打开帮助文件?";
}

std::wstring TestProgramFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.rfind(L'\\') + 1);
}

class AboutTest : public WindowTest {
 protected:
  // The window with the message box, the shell and the menu going through the test.
  // `realMessageBox`: the system's own box is shown.
  void StartWithSeams(std::optional<int> revision, bool realMessageBox = false) {
    StartOnWork([&](MainWindowOptions& options) {
      options.Revision = revision;
      if (!realMessageBox) {
        options.ShowMessageBox = [this](HWND owner, const std::wstring& text,
                                        const std::wstring& title, UINT style) {
          boxes.push_back({owner, text, title, style});
          return answer;
        };
      }
      options.PopupMenu = [this](HMENU, POINT) {
        ++menus;
        return 0;
      };
    });
  }

  std::vector<ShownBox> boxes;
  int answer = IDNO;
  int menus = 0;
};

TEST_F(AboutTest, HelpLabelShowsTheRevisionAndTheDefaultKeywords) {
  StartWithSeams(41);
  ClickControl(ids::LabTitle(3));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Owner, Main());
  EXPECT_EQ(boxes[0].Title, L"关于 修订号0041");
  EXPECT_EQ(boxes[0].Text,
            L"name=%name%\text=%ext%\r\ndate=%date%\tnow=%now%\r\n\r\n现在是否打开帮助文件?");
  EXPECT_EQ(boxes[0].Style, kYesNoQuestion);
}

TEST_F(AboutTest, KeywordsAreShownAsConfiguredAndTheSequenceKeywordIsNot) {
  programFolder.WriteFile(L"config.ini",
                          "[Variant]\r\nname=Name\r\next=EXT\r\ndate=\xC8\xD5\xC6\xDA\r\n"  // 日期
                          "now=Now\r\nTaxis=Seq\r\n");
  StartWithSeams(41);
  ClickControl(ids::LabTitle(3));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, AboutText(L"Name", L"EXT", L"日期", L"Now"));
  EXPECT_EQ(boxes[0].Text.find(L"Seq"), std::wstring::npos);
}

TEST_F(AboutTest, RevisionIsPaddedToFourDigitsAndNeverCut) {
  const std::pair<int, const wchar_t*> cases[] = {
      {41, L"关于 修订号0041"},   {7, L"关于 修订号0007"},      {0, L"关于 修订号0000"},
      {9999, L"关于 修订号9999"}, {12345, L"关于 修订号12345"},
  };
  for (const auto& [revision, title] : cases) {
    SCOPED_TRACE(revision);
    boxes.clear();
    StartWithSeams(revision);
    ClickControl(ids::LabTitle(3));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Title, title);
    window.reset();
  }
}

TEST_F(AboutTest, RevisionComesFromTheVersionResource) {
  // The program's own file carries 1.0.0.41; this test program carries no version at all.
  EXPECT_EQ(FileRevision(TestProgramFolder() + L"tarnivo.exe"), TARNIVO_VERSION_REVISION);
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  EXPECT_EQ(FileRevision(self), std::nullopt);
  EXPECT_EQ(FileRevision(programFolder / L"missing.exe"), std::nullopt);
  // Without a version resource the window shows the revision it was built with.
  StartWithSeams(std::nullopt);
  ClickControl(ids::LabTitle(3));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Title, L"关于 修订号0041");
}

TEST_F(AboutTest, OtherLabelsDoNotOpenTheBox) {
  StartWithSeams(41);
  for (const int index : {0, 1, 2, 4}) {
    SCOPED_TRACE(index);
    ClickControl(ids::LabTitle(index));
    PressMouse(ids::LabTitle(index), WM_RBUTTONDOWN);
  }
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(menus, 2);  // "转换命令" opened its menu instead
  for (const UINT button : {WM_RBUTTONDOWN, WM_MBUTTONDOWN}) PressMouse(ids::LabTitle(3), button);
  EXPECT_TRUE(boxes.empty());  // only a click opens it
  // Nor does a click on the strip just beside "帮助" or "转换命令".
  for (const int id : {ids::LabTitle(3), ids::LabTitle(4)}) {
    const RECT label = Rect(id);
    PostMessageW(Main(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(label.right + 1, label.top + 5));
    PumpPending();
  }
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(menus, 2);
}

// As a person clicks: the system's own input, hit-tested by the window that paints the caption.
TEST_F(AboutTest, RealClickOnHelpOpensTheBox) {
  StartWithSeams(41);
  SetForegroundWindow(Main());
  PumpPending();
  const RECT help = Rect(ids::LabTitle(3));
  POINT at{help.left + 5, help.top + 5};
  ASSERT_TRUE(ClientToScreen(Main(), &at));
  ASSERT_TRUE(SetCursorPos(at.x, at.y));
  INPUT clicks[2]{};
  clicks[0].type = clicks[1].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ASSERT_EQ(SendInput(2, clicks, sizeof(INPUT)), 2u);
  EXPECT_TRUE(PumpUntil([&] { return !boxes.empty(); }));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Title, L"关于 修订号0041");
}

TEST_F(AboutTest, NoChangesNothing) {
  work.WriteFile(L"a.jpg");
  StartWithSeams(41);
  SetText(ids::TextRull, L"%name%\r\n_");
  const std::wstring status = StatusText();
  ClickControl(ids::LabTitle(3));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(shellCalls.empty());
  EXPECT_EQ(StatusText(), status);
  EXPECT_EQ(Text(ids::TextRull), L"%name%\r\n_");
  EXPECT_EQ(window->File1().Count(), 1);
  EXPECT_TRUE(FileExists(work / L"a.jpg"));
  EXPECT_FALSE(FileExists(ConfigPath()));
  EXPECT_FALSE(unloaded);
}

TEST_F(AboutTest, YesOpensTheHelpFileFromTheProgramFolder) {
  answer = IDYES;
  StartWithSeams(41);
  ClickControl(ids::LabTitle(3));
  ASSERT_EQ(shellCalls.size(), 1u);
  EXPECT_EQ(shellCalls[0].Owner, Main());
  EXPECT_EQ(shellCalls[0].File, L"help.chm");
  EXPECT_EQ(shellCalls[0].Folder, programFolder.Path() + L"\\");
}

// The system's own message box, found while it is open and answered Yes.
struct OpenBox {
  HWND Owner = nullptr;
  bool Seen = false;
  std::wstring Title, Text;
  bool YesNo = false;
  int Ticks = 0;
};
OpenBox* openBox = nullptr;

VOID CALLBACK AnswerTheBox(HWND, UINT, UINT_PTR, DWORD) {
  if (!openBox || openBox->Seen) return;
  const HWND box = FindWindowW(L"#32770", nullptr);  // the dialog class of message boxes
  if (!box || GetWindow(box, GW_OWNER) != openBox->Owner) {
    if (++openBox->Ticks > 100 && box) EndDialog(box, IDCANCEL);  // never hang the test
    return;
  }
  openBox->Seen = true;
  openBox->Title = WindowText(box);
  openBox->Text = WindowText(GetDlgItem(box, 0xFFFF));
  openBox->YesNo = GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO) && !GetDlgItem(box, IDOK);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, IDYES)));
}

TEST_F(AboutTest, SystemMessageBoxShowsTheTitleAndTextAndAnswersYes) {
  StartWithSeams(7, /*realMessageBox=*/true);
  OpenBox watch;
  watch.Owner = Main();
  openBox = &watch;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, AnswerTheBox);
  ClickControl(ids::LabTitle(3));
  KillTimer(nullptr, timer);
  openBox = nullptr;
  ASSERT_TRUE(watch.Seen);
  EXPECT_EQ(watch.Title, L"关于 修订号0007");
  EXPECT_EQ(watch.Text, AboutText(L"name", L"ext", L"date", L"now"));
  EXPECT_TRUE(watch.YesNo);
  ASSERT_EQ(shellCalls.size(), 1u);
  EXPECT_EQ(shellCalls[0].File, L"help.chm");
}

}  // namespace
}  // namespace tarnivo::test
