// The template box `TextRull` and its pop-up menu: who opens it, the enabled states it
// opens with, and what its items put into the box.
#include <gtest/gtest.h>
#include <windows.h>
// Needs windows.h before it.
#include <commctrl.h>

#include <array>
#include <string>
#include <thread>
#include <vector>

#include "app/clipboard.h"
#include "app/menu_ids.h"
#include "engine/token.h"
#include "tests/app/window_fixture.h"
#include "win/handles.h"

namespace tarnivo::test {
namespace {

constexpr int kLabelCount = 5;

// The states the menu had when it opened, and where it opened.
struct Opening {
  POINT At;
  bool Copy;
  bool Paste;
  std::array<bool, kTokenCount> Tokens;
};

bool Enabled(HMENU menu, int id) {
  const UINT state = GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

bool AllTokens(const Opening& opening, bool enabled) {
  for (const bool token : opening.Tokens) {
    if (token != enabled) return false;
  }
  return true;
}

std::wstring Caption(HMENU menu, int position) {
  wchar_t text[64] = L"";
  GetMenuStringW(menu, static_cast<UINT>(position), text, 64, MF_BYPOSITION);
  return text;
}

void ClearClipboard(HWND owner) {
  ASSERT_TRUE(OpenClipboard(owner));
  EmptyClipboard();
  CloseClipboard();
}

// Another program's hold on the clipboard: a thread of its own keeps it open.
class ClipboardHolder {
 public:
  ClipboardHolder()
      : opened_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        release_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    thread_ = std::thread([this] {
      const bool open = OpenClipboard(nullptr) != FALSE;
      SetEvent(opened_.Get());
      WaitForSingleObject(release_.Get(), INFINITE);
      if (open) CloseClipboard();
    });
    WaitForSingleObject(opened_.Get(), INFINITE);
  }
  ClipboardHolder(const ClipboardHolder&) = delete;
  ClipboardHolder& operator=(const ClipboardHolder&) = delete;
  ~ClipboardHolder() {
    SetEvent(release_.Get());
    thread_.join();
  }

 private:
  UniqueHandle opened_, release_;
  std::thread thread_;
};

// What reached a control: context-menu requests and menu loops it owned.
struct MenuSpy {
  int ContextMenus = 0;
  int MenuLoops = 0;
};

LRESULT CALLBACK SpyOnMenus(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR data) {
  auto* seen = reinterpret_cast<MenuSpy*>(data);
  if (message == WM_CONTEXTMENU) ++seen->ContextMenus;
  // Wine's edit menu announces itself only by selection and exit messages.
  if (message == WM_ENTERMENULOOP || message == WM_INITMENUPOPUP || message == WM_MENUSELECT ||
      message == WM_EXITMENULOOP) {
    ++seen->MenuLoops;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

// The system's pop-up menu, found while it is open and closed.
struct OpenMenu {
  bool Seen = false;
  RECT Place{};
  int Ticks = 0;
};
OpenMenu* openMenu = nullptr;

VOID CALLBACK CloseTheMenu(HWND, UINT, UINT_PTR, DWORD) {
  if (!openMenu) return;
  const HWND popup = FindWindowW(L"#32768", nullptr);
  if (popup && IsWindowVisible(popup)) {
    openMenu->Seen = true;
    GetWindowRect(popup, &openMenu->Place);
    EndMenu();
  } else if (++openMenu->Ticks > 100) {
    EndMenu();
  }
}

// Closes whatever menu is open, so a menu that should not have opened cannot hang the test.
VOID CALLBACK EndAnyMenu(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

class TemplateMenuTest : public WindowTest {
 protected:
  void TearDown() override {
    holder.reset();
    WindowTest::TearDown();
  }

  // The window with the menu and the message box going through the test.
  // `keyboardModifiers`: the window reads Shift, Ctrl and Alt from the keyboard.
  // `systemMenu`: the system's own pop-up menu is shown.
  void StartWithSeams(bool keyboardModifiers = false, bool systemMenu = false) {
    StartOnWork([&](MainWindowOptions& options) {
      if (keyboardModifiers) options.ShiftState = nullptr;
      if (!systemMenu) {
        options.PopupMenu = [this](HMENU shown, POINT at) {
          menu = shown;
          Opening opening{at, Enabled(shown, ids::menucopy), Enabled(shown, ids::menuplast), {}};
          for (size_t i = 0; i < opening.Tokens.size(); ++i) {
            opening.Tokens[i] = Enabled(shown, ids::TokenItem(static_cast<TokenKind>(i)));
          }
          openings.push_back(opening);
          if (whileOpen) whileOpen();
          return choice;
        };
      } else {
        options.PopupMenu = nullptr;  // the system's own menu
      }
      options.ShowMessageBox = [this](HWND, const std::wstring&, const std::wstring&, UINT) {
        ++messageBoxes;
        return IDNO;
      };
    });
  }

  HWND Box() const { return Control(ids::TextRull); }
  void Select(int start, int end) const { SendMessageW(Box(), EM_SETSEL, start, end); }
  std::pair<DWORD, DWORD> Selection() const {
    DWORD start = 0, end = 0;
    SendMessageW(Box(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }
  // A right press in the box that chooses `id` from the menu it opens.
  void Choose(int id) {
    choice = id;
    PressMouse(ids::TextRull, WM_RBUTTONDOWN);
    PostMessageW(Box(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    PumpPending();
    choice = 0;
  }
  POINT BoxPoint(int x, int y) const {
    POINT at{x, y};
    ClientToScreen(Box(), &at);
    return at;
  }
  // Under the template header strip, left-aligned with "转换命令": 360, 2670 twips.
  POINT TemplateHeaderPoint() const {
    POINT at{Px(360, ScreenDpi()), Px(2670, ScreenDpi())};
    ClientToScreen(Main(), &at);
    return at;
  }

  std::vector<Opening> openings;
  HMENU menu = nullptr;
  int choice = 0;
  int messageBoxes = 0;
  std::function<void()> whileOpen;
  std::unique_ptr<ClipboardHolder> holder;
};

TEST_F(TemplateMenuTest, MenuHoldsTheItemsInOrder) {
  StartWithSeams();
  PressMouse(ids::TextRull, WM_RBUTTONDOWN);
  ASSERT_EQ(openings.size(), 1u);
  ASSERT_EQ(GetMenuItemCount(menu), 13);
  EXPECT_EQ(Caption(menu, 0), L"复    制");
  EXPECT_EQ(GetMenuItemID(menu, 0), static_cast<UINT>(ids::menucopy));
  EXPECT_EQ(Caption(menu, 1), L"粘    贴");
  EXPECT_EQ(GetMenuItemID(menu, 1), static_cast<UINT>(ids::menuplast));
  EXPECT_TRUE(GetMenuState(menu, 2, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ(Caption(menu, 3), L"命    令");
  const HMENU commands = GetSubMenu(menu, 3);
  ASSERT_NE(commands, nullptr);
  EXPECT_EQ(GetMenuState(menu, 3, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED), 0u);
  EXPECT_TRUE(GetMenuState(menu, 4, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ(Caption(menu, 5), L"预    览");
  EXPECT_EQ(GetMenuItemID(menu, 5), static_cast<UINT>(ids::menupreview));
  EXPECT_EQ(Caption(menu, 6), L"撤    销");
  EXPECT_EQ(GetMenuItemID(menu, 6), static_cast<UINT>(ids::menuundo));
  EXPECT_TRUE(GetMenuState(menu, 7, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ(Caption(menu, 8), L"模    板");
  EXPECT_NE(GetSubMenu(menu, 8), nullptr);
  EXPECT_EQ(Caption(menu, 9), L"保存为模板…");
  EXPECT_EQ(GetMenuItemID(menu, 9), static_cast<UINT>(ids::menusavetemplate));
  EXPECT_EQ(Caption(menu, 10), L"打开模板文件夹");
  EXPECT_EQ(GetMenuItemID(menu, 10), static_cast<UINT>(ids::menutemplatefolder));
  EXPECT_TRUE(GetMenuState(menu, 11, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ(Caption(menu, 12), L"加入右键菜单");
  EXPECT_EQ(GetMenuItemID(menu, 12), static_cast<UINT>(ids::menuexplorer));
  const std::pair<int, const wchar_t*> tokens[] = {
      {ids::menuname, L"原文件名"},
      {ids::menuext, L"原扩展名"},
      {ids::menudate, L"日    期"},
      {ids::menutime, L"时    间"},
      {ids::menudd, L"序    列"},
      {ids::TokenItem(TokenKind::Taken), L"拍摄日期"},
      {ids::TokenItem(TokenKind::Modified), L"修改日期"},
  };
  const wchar_t* const filters[] = {L"替    换",   L"正则替换",   L"大    写",  L"小    写",
                                    L"首字母大写", L"截    取",   L"去空格",    L"全角转半角",
                                    L"半角转全角", L"繁体转简体", L"简体转繁体"};
  ASSERT_EQ(GetMenuItemCount(commands), 7 + 1 + 11);
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(GetMenuItemID(commands, i), static_cast<UINT>(tokens[i].first));
    EXPECT_EQ(Caption(commands, i), tokens[i].second);
  }
  EXPECT_TRUE(GetMenuState(commands, 7, MF_BYPOSITION) & MF_SEPARATOR);
  for (int i = 0; i < 11; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(GetMenuItemID(commands, 8 + i), static_cast<UINT>(ids::FilterItem(i)));
    EXPECT_EQ(Caption(commands, 8 + i), filters[i]);
  }
}

TEST_F(TemplateMenuTest, RightPressInTheBoxOpensTheMenuAtThePointer) {
  StartWithSeams();
  SetText(ids::TextRull, L"xabcx");
  struct Case {
    const wchar_t* What;
    bool Select;
    const wchar_t* Clipboard;  // nullptr: empty clipboard
    bool Held;                 // another program holds the clipboard open
    bool Copy, Paste;
  };
  const Case cases[] = {
      {L"no selection, empty clipboard", false, nullptr, false, false, false},
      {L"selection, empty clipboard", true, nullptr, false, true, false},
      {L"no selection, text on the clipboard", false, L"abc", false, false, true},
      {L"selection, text on the clipboard", true, L"abc", false, true, true},
      {L"text on a clipboard held by another program", true, L"abc", true, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    openings.clear();
    Select(c.Select ? 1 : 2, c.Select ? 4 : 2);
    if (c.Clipboard) {
      SetClipboard(Main(), c.Clipboard);
    } else {
      ClearClipboard(Main());
    }
    if (c.Held) holder = std::make_unique<ClipboardHolder>();
    PressMouse(ids::TextRull, WM_RBUTTONDOWN);
    holder.reset();
    ASSERT_EQ(openings.size(), 1u);
    EXPECT_EQ(openings[0].Copy, c.Copy);
    EXPECT_EQ(openings[0].Paste, c.Paste);
    EXPECT_TRUE(AllTokens(openings[0], true));
    EXPECT_EQ(openings[0].At.x, BoxPoint(5, 5).x);
    EXPECT_EQ(openings[0].At.y, BoxPoint(5, 5).y);
  }
  EXPECT_TRUE(IsWindow(Main()));
}

TEST_F(TemplateMenuTest, LeftAndMiddlePressesInTheBoxOpenNothing) {
  StartWithSeams();
  SetText(ids::TextRull, L"abc");
  for (const auto& [down, up] :
       {std::pair{WM_LBUTTONDOWN, WM_LBUTTONUP}, std::pair{WM_MBUTTONDOWN, WM_MBUTTONUP}}) {
    SCOPED_TRACE(down);
    PressMouse(ids::TextRull, down);
    PostMessageW(Box(), up, 0, MAKELPARAM(5, 5));
    PumpPending();
  }
  EXPECT_TRUE(openings.empty());
}

TEST_F(TemplateMenuTest, TheEditsOwnMenuNeverOpens) {
  StartWithSeams();
  SetText(ids::TextRull, L"abc");
  // Watches the box ahead of the program: the edit's own menu would be owned by the box.
  MenuSpy seen;
  ASSERT_TRUE(SetWindowSubclass(Box(), SpyOnMenus, 99, reinterpret_cast<DWORD_PTR>(&seen)));
  const UINT_PTR guard = SetTimer(nullptr, 0, 50, EndAnyMenu);
  PressMouse(ids::TextRull, WM_RBUTTONDOWN);
  PostMessageW(Box(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  PumpPending();
  // Also the keyboard's way to the edit's menu.
  const POINT at = BoxPoint(5, 5);
  SendMessageW(Box(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Box()), MAKELPARAM(at.x, at.y));
  PumpPending();
  KillTimer(nullptr, guard);
  RemoveWindowSubclass(Box(), SpyOnMenus, 99);
  EXPECT_GE(seen.ContextMenus, 1);  // the release did ask for a context menu
  EXPECT_EQ(seen.MenuLoops, 0);
  EXPECT_EQ(openings.size(), 1u);
}

TEST_F(TemplateMenuTest, PressOnAnyHeaderLabelSetsTheStatesAndOnlyTheTemplateLabelOpens) {
  StartWithSeams();
  SetText(ids::TextRull, L"xabcx");
  PressMouse(ids::LabTitle(4), WM_RBUTTONDOWN);  // learns the menu's handle
  ASSERT_NE(menu, nullptr);
  for (int index = 0; index < kLabelCount; ++index) {
    for (const UINT button : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN}) {
      for (const bool filled : {true, false}) {
        SCOPED_TRACE(testing::Message() << "label " << index << ", message " << button
                                        << (filled ? ", selection and text" : ", nothing"));
        openings.clear();
        Select(filled ? 1 : 0, filled ? 4 : 0);
        if (filled) {
          SetClipboard(Main(), L"abc");
        } else {
          ClearClipboard(Main());
        }
        PressMouse(ids::LabTitle(index), button);
        EXPECT_EQ(Enabled(menu, ids::menucopy), filled);
        EXPECT_EQ(Enabled(menu, ids::menuplast), filled);
        if (index != 4) {
          EXPECT_TRUE(openings.empty());
          continue;
        }
        ASSERT_EQ(openings.size(), 1u);
        EXPECT_EQ(openings[0].Copy, filled);
        EXPECT_EQ(openings[0].Paste, filled);
        EXPECT_TRUE(AllTokens(openings[0], true));
        EXPECT_EQ(openings[0].At.x, TemplateHeaderPoint().x);
        EXPECT_EQ(openings[0].At.y, TemplateHeaderPoint().y);
      }
    }
  }
  EXPECT_EQ(messageBoxes, 2);  // the left presses on "帮助" also clicked it
}

TEST_F(TemplateMenuTest, TokenItemsInsertAtTheCaretOrOverTheSelection) {
  StartWithSeams();
  struct Case {
    const wchar_t* Text;
    int Start, End;
    int Item;
    const wchar_t* Expected;
  };
  const Case cases[] = {
      {L"", 0, 0, ids::menudd, L"%Taxis:6,50,1%"},
      {L"xabcx", 1, 4, ids::menudd, L"x%Taxis:6,50,1%x"},
      {L"IMG_", 4, 4, ids::menuname, L"IMG_%name%"},
      {L"%name%\r\n", 8, 8, ids::menuext, L"%name%\r\n%ext%"},
      {L"ab", 0, 0, ids::menudate, L"%date%ab"},
      {L"a\r\nb", 0, 4, ids::menutime, L"%now%"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Expected);
    SetText(ids::TextRull, c.Text);
    Select(c.Start, c.End);
    Choose(c.Item);
    EXPECT_EQ(Text(ids::TextRull), c.Expected);
    // The caret ends behind the inserted token.
    const DWORD behind =
        static_cast<DWORD>(std::wstring(c.Expected).size() - (std::wstring(c.Text).size() - c.End));
    EXPECT_EQ(Selection(), std::make_pair(behind, behind));
  }
}

// A filter goes before the closing "%" of the caret's token line, or on a line of its own,
// with its placeholder selected.
TEST_F(TemplateMenuTest, FilterItemsExtendTheCaretsTokenLineOrAddOne) {
  StartWithSeams();
  struct Case {
    const wchar_t* Text;
    int Caret;
    int Item;  // of kFilterItems
    const wchar_t* Expected;
    const wchar_t* Selected;
  };
  const Case cases[] = {
      {L"%name%\r\n_\r\n%ext%", 2, 0, L"%name | replace \"查找\" \"替换为\"%\r\n_\r\n%ext%",
       L"查找"},
      {L"%name%\r\n_\r\n%ext%", 13, 3, L"%name%\r\n_\r\n%ext | lower%", L""},
      {L"%name | upper%", 14, 5, L"%name | upper | mid 1 8%", L"1 8"},
      {L"%Taxis:3,1,1%", 0, 1, L"%Taxis:3,1,1 | regex \"表达式\" \"$1\"%", L"表达式"},
      {L"IMG_\r\n%ext%", 1, 2, L"IMG_\r\n%name | upper%\r\n%ext%", L""},
      {L"", 0, 6, L"%name | trim%", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Expected);
    SetText(ids::TextRull, c.Text);
    Select(c.Caret, c.Caret);
    Choose(ids::FilterItem(c.Item));
    EXPECT_EQ(Text(ids::TextRull), c.Expected);
    const auto [start, end] = Selection();
    EXPECT_EQ(Text(ids::TextRull).substr(start, end - start), c.Selected);
  }
}

TEST_F(TemplateMenuTest, TokenItemsInsertTheConfiguredKeywordsThatTheEvaluatorMatches) {
  programFolder.WriteFile(
      L"config.ini",
      "[Variant]\r\nname=Name\r\next=EXT\r\ndate=Date\r\nnow=NOW\r\nTaxis=Seq\r\n"
      "taken=\xc5\xc4\xc9\xe3\r\nmodified=Changed\r\n");  // taken=拍摄 in code page 936
  StartWithSeams();
  TokenContext context;
  context.FileName = L"IMG_0012.JPG";
  context.ListIndex = 0;
  context.FileDate = [](FileDateKind kind) {
    return kind == FileDateKind::Taken ? DateTime{2024, 3, 5, 14, 7, 9}
                                       : DateTime{2025, 1, 2, 3, 4, 5};
  };
  struct Case {
    int Item;
    const wchar_t* Inserted;
    const wchar_t* Evaluated;  // nullptr: a date or time, not compared
  };
  const Case cases[] = {
      {ids::menuname, L"%Name%", L"IMG_0012"},
      {ids::menuext, L"%EXT%", L".JPG"},
      {ids::menudate, L"%Date%", nullptr},
      {ids::menutime, L"%NOW%", nullptr},
      {ids::menudd, L"%Seq:6,50,1%", L"000050"},
      {ids::TokenItem(TokenKind::Taken), L"%拍摄%", L"20240305_140709"},
      {ids::TokenItem(TokenKind::Modified), L"%Changed%", L"20250102_030405"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Inserted);
    SetText(ids::TextRull, L"");
    Choose(c.Item);
    EXPECT_EQ(Text(ids::TextRull), c.Inserted);
    const Result<std::wstring> value =
        EvaluateToken(Text(ids::TextRull), context, window->TokenKeywords());
    ASSERT_TRUE(value.Ok());
    if (c.Evaluated) {
      EXPECT_EQ(value.Value(), c.Evaluated);
    } else {
      EXPECT_NE(value.Value(), c.Inserted);  // recognised as a token, not literal text
    }
  }
}

TEST_F(TemplateMenuTest, CopyThenPasteDuplicatesAMultiLineSelection) {
  StartWithSeams();
  SetClipboard(Main(), L"old");
  SetText(ids::TextRull, L"%name%\r\n_\r\n%ext%");
  Select(0, 11);  // "%name%\r\n_\r\n"
  Choose(ids::menucopy);
  EXPECT_EQ(ReadClipboardText(Main()), L"%name%\r\n_\r\n");
  Select(11, 11);
  Choose(ids::menuplast);
  EXPECT_EQ(Text(ids::TextRull), L"%name%\r\n_\r\n%name%\r\n_\r\n%ext%");
  EXPECT_EQ(Selection(), std::make_pair(DWORD{22}, DWORD{22}));
}

TEST_F(TemplateMenuTest, ClipboardHeldByAnotherProgramMakesCopyAndPasteDoNothing) {
  StartWithSeams();
  SetText(ids::TextRull, L"xabcx");
  SetClipboard(Main(), L"keep");
  // The menu opens with both items usable; the other program takes the clipboard before
  // the choice is carried out.
  whileOpen = [this] { holder = std::make_unique<ClipboardHolder>(); };
  for (const int item : {ids::menucopy, ids::menuplast}) {
    SCOPED_TRACE(item);
    Select(1, 4);
    Choose(item);
    holder.reset();
    ASSERT_FALSE(openings.empty());
    EXPECT_TRUE(openings.back().Copy);
    EXPECT_TRUE(openings.back().Paste);
    EXPECT_EQ(Text(ids::TextRull), L"xabcx");
    EXPECT_EQ(ReadClipboardText(Main()), L"keep");
  }
  EXPECT_TRUE(IsWindow(Main()));
}

TEST_F(TemplateMenuTest, DisabledItemsDoNothing) {
  StartWithSeams();
  SetText(ids::TextRull, L"ab");
  Select(2, 2);
  ClearClipboard(Main());
  // Text that arrives while the menu is open does not make the disabled paste act.
  whileOpen = [this] { SetClipboard(Main(), L"late"); };
  Choose(ids::menuplast);
  whileOpen = nullptr;
  EXPECT_EQ(Text(ids::TextRull), L"ab");
  Choose(ids::menucopy);  // nothing selected
  EXPECT_EQ(ReadClipboardText(Main()), L"late");
}

TEST_F(TemplateMenuTest, DuringARunOnlyCopyStaysUsable) {
  const std::wstring a = work.WriteFile(L"a.jpg");
  StartWithSeams();
  SetText(ids::TextRull, L"%name%\r\n_x\r\n%ext%");
  Select(0, 6);
  SetClipboard(Main(), L"pasted");
  // The start image's click runs the rename; the press on "转换命令" queued behind it is
  // handled while the run lets events through.
  choice = ids::menuname;
  PostClick(ids::ImgStart);
  PostMouse(ids::LabTitle(4), WM_LBUTTONDOWN, MK_LBUTTON);
  PumpPending();
  ASSERT_TRUE(FileExists(work / L"a_x.jpg"));
  ASSERT_EQ(openings.size(), 1u);
  EXPECT_TRUE(openings[0].Copy);
  EXPECT_FALSE(openings[0].Paste);
  EXPECT_TRUE(AllTokens(openings[0], false));
  EXPECT_EQ(Text(ids::TextRull), L"%name%\r\n_x\r\n%ext%");  // the chosen token did nothing
  // After the run the menu is whole again.
  openings.clear();
  choice = 0;
  PressMouse(ids::LabTitle(4), WM_LBUTTONDOWN);
  ASSERT_EQ(openings.size(), 1u);
  EXPECT_TRUE(openings[0].Paste);
  EXPECT_TRUE(AllTokens(openings[0], true));
}

TEST_F(TemplateMenuTest, SystemMenuOpensUnderTheTemplateHeaderAndClosesWithoutAChoice) {
  StartWithSeams(/*keyboardModifiers=*/false, /*systemMenu=*/true);
  SetText(ids::TextRull, L"abc");
  OpenMenu watch;
  openMenu = &watch;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, CloseTheMenu);
  PressMouse(ids::LabTitle(4), WM_RBUTTONDOWN);
  KillTimer(nullptr, timer);
  openMenu = nullptr;
  ASSERT_TRUE(watch.Seen);
  EXPECT_EQ(watch.Place.left, TemplateHeaderPoint().x);
  EXPECT_EQ(watch.Place.top, TemplateHeaderPoint().y);
  EXPECT_EQ(Text(ids::TextRull), L"abc");
}

// Real keys: Ctrl+V typed in the box pastes there, and the window also tries the text as a
// folder for the list.
TEST_F(TemplateMenuTest, CtrlVTypedInTheBoxPastesThereAndTriesTheFolder) {
  TempFolder other;
  other.WriteFile(L"x.jpg");
  other.WriteFile(L"y.jpg");
  StartWithSeams(/*keyboardModifiers=*/true);
  struct Case {
    const wchar_t* What;
    std::wstring Clipboard;
    std::wstring Status;
  };
  const Case cases[] = {
      {L"text that is no folder", L"%name%", StatusLineFor(0, work.Path())},
      {L"a folder", other.Path(), StatusLineFor(2, other.Path())},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    SetText(ids::TextRull, L"");
    SetClipboard(Main(), c.Clipboard);
    SetForegroundWindow(Main());
    SetFocus(Box());
    PumpPending();
    ASSERT_EQ(SendKeys({{VK_CONTROL, false}, {'V', false}, {'V', true}, {VK_CONTROL, true}}), 4u);
    EXPECT_TRUE(PumpUntil([&] { return Text(ids::TextRull) == c.Clipboard; }))
        << Text(ids::TextRull);
    EXPECT_TRUE(PumpUntil([&] { return StatusText() == c.Status; })) << StatusText();
  }
}

}  // namespace
}  // namespace tarnivo::test
