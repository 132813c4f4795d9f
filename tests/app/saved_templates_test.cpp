// Saved templates, the template box's text at exit and Explorer's folder menu: the store on
// real files, and the window's menu items that use it.
#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "app/menu_ids.h"
#include "app/template_store.h"
#include "dialogs/template_name_dialog.h"
#include "tests/app/window_fixture.h"
#include "win/code_page.h"

namespace tarnivo::test {
namespace {

const std::string kBom = "\xEF\xBB\xBF";

TEST(TemplateFile, DecodesUtf8AnsiAndBareLineFeeds) {
  struct Case {
    const char* What;
    std::string Bytes;
    std::wstring Text;
  };
  const Case cases[] = {
      {"UTF-8 with its mark", kBom + ToUtf8(L"旅行_\r\n%name%"), L"旅行_\r\n%name%"},
      {"UTF-8 without, LF lines", ToUtf8(L"한국\n%ext%\n"), L"한국\r\n%ext%\r\n"},
      {"the ANSI code page", ToAnsi(L"旅行\r\n%name%"), L"旅行\r\n%name%"},
      {"nothing", "", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    EXPECT_EQ(DecodeTemplateFile(c.Bytes), c.Text);
  }
  EXPECT_EQ(EncodeTemplateFile(L"😀\r\n%name%"), kBom + ToUtf8(L"😀\r\n%name%"));
}

// Written where the records go; read from there and from the other folder, that one's
// names listed once and its templates read only where the first folder has none.
TEST(TemplateStore, WritesOneFolderAndReadsBoth) {
  TempFolder records, program;
  program.WriteFile(L"手写.txt", "%name%\n_x\n");
  program.WriteFile(L"旅行.TXT", kBom + "old");
  program.WriteFile(L"notes.md", "not a template");
  const TemplateStore store(records / L"模板", program.Path());
  std::wstring why;
  ASSERT_TRUE(store.Save(L"旅行", L"%name%\r\n_新", &why)) << why;
  EXPECT_FALSE(store.Save(L"a/b", L"x", &why));
  EXPECT_FALSE(store.Save(L"", L"x", &why));
  EXPECT_EQ(ReadFileBytes(records / L"模板\\旅行.txt"), kBom + ToUtf8(L"%name%\r\n_新"));
  EXPECT_EQ(store.Names(), (std::vector<std::wstring>{L"旅行", L"手写"}));  // lǚ before shǒu
  EXPECT_EQ(store.Load(L"旅行"), L"%name%\r\n_新");
  EXPECT_EQ(store.Load(L"手写"), L"%name%\r\n_x\r\n");
  EXPECT_TRUE(store.Exists(L"手写"));
  EXPECT_EQ(store.Load(L"missing"), std::nullopt);
  EXPECT_EQ(store.LoadLast(), std::nullopt);
  ASSERT_TRUE(store.SaveLast(L"%name%\r\n😀"));
  EXPECT_EQ(store.LoadLast(), L"%name%\r\n😀");
  EXPECT_EQ(store.Names().size(), 2u);  // the text at exit is no saved template
}

class SavedTemplatesTest : public WindowTest {
 protected:
  void StartWithSeams() {
    StartOnWork([this](MainWindowOptions& options) {
      options.AskTemplateName = [this](HWND owner, TemplateNameRequest request) {
        // Each name typed in turn until one is taken or none is left (a cancel).
        while (!typed.empty()) {
          std::wstring reason;
          const std::wstring name = typed.front();
          typed.pop_front();
          if (request.Accept(owner, name, reason)) return true;
          reasons.push_back(reason);
        }
        return false;
      };
      options.ShowMessageBox = [this](HWND, const std::wstring& text, const std::wstring&, UINT) {
        questions.push_back(text);
        return answer;
      };
      options.ExplorerClassesKey = classesKey;
      options.ExplorerProgram = L"C:\\程序\\tarnivo.exe";
    });
  }
  void TearDown() override {
    WindowTest::TearDown();
    RegDeleteTreeW(HKEY_CURRENT_USER, classesKey.c_str());
  }
  HWND Box() const { return Control(ids::TextRull); }
  // A right press in the box that chooses `id` from the menu it opens; the menu it showed.
  HMENU Choose(int id) {
    menuChoice = id;
    PressMouse(ids::TextRull, WM_RBUTTONDOWN);
    PostMessageW(Box(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    PumpPending();
    menuChoice = 0;
    return shownMenus.empty() ? nullptr : shownMenus.back();
  }
  std::vector<std::wstring> TemplateItems(HMENU menu) const {
    std::vector<std::wstring> captions;
    const HMENU templates = GetSubMenu(menu, 8);
    for (int i = 0; i < GetMenuItemCount(templates); ++i) {
      wchar_t caption[128] = {};
      GetMenuStringW(templates, static_cast<UINT>(i), caption, 128, MF_BYPOSITION);
      captions.push_back(caption);
    }
    return captions;
  }
  std::wstring CommandValue(const std::wstring& key) const {
    wchar_t value[512] = {};
    DWORD bytes = sizeof value;
    return RegGetValueW(HKEY_CURRENT_USER, (classesKey + key).c_str(), nullptr, RRF_RT_REG_SZ,
                        nullptr, value, &bytes) == ERROR_SUCCESS
               ? value
               : L"<none>";
  }

  std::deque<std::wstring> typed;
  std::vector<std::wstring> reasons;
  std::vector<std::wstring> questions;
  int answer = IDNO;
  const std::wstring classesKey =
      L"Software\\TarnivoWindowTest-" + std::to_wstring(GetCurrentProcessId());
};

TEST_F(SavedTemplatesTest, SavedListedChosenAndTakenBackWithCtrlZ) {
  StartWithSeams();
  const std::wstring trip = L"旅行_\r\n%name%\r\n%ext%";
  SetText(ids::TextRull, trip);
  // A name that cannot be a file name is refused in the dialog; the next one is taken.
  typed = {L"a:b", L"旅行"};
  Choose(ids::menusavetemplate);
  ASSERT_EQ(reasons.size(), 1u);
  EXPECT_NE(reasons[0].find(L"不能用作文件名"), std::wstring::npos);
  const std::wstring saved = programFolder / L"模板\\旅行.txt";
  EXPECT_EQ(ReadFileBytes(saved), kBom + ToUtf8(trip));

  // The same name again: replaced only after a yes.
  SetText(ids::TextRull, L"%name%");
  typed = {L"旅行"};
  Choose(ids::menusavetemplate);
  EXPECT_EQ(questions.size(), 1u);
  EXPECT_EQ(ReadFileBytes(saved), kBom + ToUtf8(trip));
  answer = IDYES;
  typed = {L"旅行"};
  Choose(ids::menusavetemplate);
  EXPECT_EQ(ReadFileBytes(saved), kBom + ToUtf8(L"%name%"));

  programFolder.WriteFile(L"模板\\A&B.txt", "x_%name%");
  SetText(ids::TextRull, L"before");
  const HMENU menu = Choose(ids::TemplateItem(1));  // in the order of names: A&B, 旅行
  EXPECT_EQ(TemplateItems(menu), (std::vector<std::wstring>{L"A&&B", L"旅行"}));
  EXPECT_EQ(Text(ids::TextRull), L"%name%");
  // Ctrl+Z with real keys, as a person presses them.
  SetForegroundWindow(Main());
  SetFocus(Box());
  PumpPending();
  ASSERT_EQ(SendKeys({{VK_CONTROL, false}, {'Z', false}, {'Z', true}, {VK_CONTROL, true}}), 4u);
  EXPECT_TRUE(PumpUntil([&] { return Text(ids::TextRull) == L"before"; }))
      << testing::PrintToString(Text(ids::TextRull));
}

// The dialog itself, answered from a timer inside its own modal loop.
struct DialogVisit {
  std::wstring Reason;  // what the dialog said of the refused name
  bool Done = false;
};
DialogVisit* dialogVisit = nullptr;

VOID CALLBACK AnswerTheDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND dialog = FindWindowW(L"#32770", kTemplateNameCaption);
  if (!dialog || !dialogVisit || dialogVisit->Done) return;
  KillTimer(nullptr, timer);
  SetDlgItemTextW(dialog, kTemplateNameEdit, L"a\\b");
  SendMessageW(dialog, WM_COMMAND, IDOK, 0);
  wchar_t reason[256] = {};
  GetDlgItemTextW(dialog, kTemplateNameReason, reason, 256);
  dialogVisit->Reason = reason;
  SetDlgItemTextW(dialog, kTemplateNameEdit, L"对话框");
  dialogVisit->Done = true;
  SendMessageW(dialog, WM_COMMAND, IDOK, 0);
}

TEST_F(SavedTemplatesTest, TheDialogRefusesABadNameInPlaceAndSavesAGoodOne) {
  StartOnWork();  // the real dialog
  SetText(ids::TextRull, L"%name%_d");
  DialogVisit visit;
  dialogVisit = &visit;
  SetTimer(nullptr, 0, 20, AnswerTheDialog);
  Choose(ids::menusavetemplate);
  dialogVisit = nullptr;
  ASSERT_TRUE(visit.Done);
  EXPECT_NE(visit.Reason.find(L"不能用作文件名"), std::wstring::npos);
  EXPECT_EQ(ReadFileBytes(programFolder / L"模板\\对话框.txt"), kBom + "%name%_d");
}

TEST_F(SavedTemplatesTest, TheTextAtExitIsBackAfterARestart) {
  StartWithSeams();
  EXPECT_EQ(TemplateItems(Choose(0)), (std::vector<std::wstring>{L"(无)"}));
  const std::wstring text = L"%Taxis:3,1,1%\r\n_한국😀\r\n%ext%";
  SetText(ids::TextRull, text);
  SendMessageW(Main(), WM_CLOSE, 0, 0);
  PumpPending();
  ASSERT_TRUE(unloaded);
  window.reset();
  StartWithSeams();
  EXPECT_EQ(Text(ids::TextRull), text);
}

TEST_F(SavedTemplatesTest, ExplorerEntryIsAddedAndRemovedAndTheMarkFollows) {
  StartWithSeams();
  const auto checked = [](HMENU menu) {
    return (GetMenuState(menu, ids::menuexplorer, MF_BYCOMMAND) & MF_CHECKED) != 0;
  };
  EXPECT_FALSE(checked(Choose(ids::menuexplorer)));
  EXPECT_EQ(CommandValue(L"\\Directory\\shell\\Tarnivo\\command"),
            L"\"C:\\程序\\tarnivo.exe\" \"%1\"");
  EXPECT_EQ(CommandValue(L"\\Directory\\Background\\shell\\Tarnivo\\command"),
            L"\"C:\\程序\\tarnivo.exe\" \"%V\"");
  EXPECT_TRUE(checked(Choose(ids::menuexplorer)));
  EXPECT_EQ(CommandValue(L"\\Directory\\shell\\Tarnivo\\command"), L"<none>");
  EXPECT_FALSE(checked(Choose(0)));
  EXPECT_TRUE(questions.empty());
}

}  // namespace
}  // namespace tarnivo::test
