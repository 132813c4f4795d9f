// The file list and its filters on the real window: attribute boxes, the pattern box with
// its refresh, the order, names and folders the list shows.
#include "app/file_list.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/explorer_order.h"
#include "app/menu_ids.h"
#include "tests/app/window_fixture.h"
#include "tests/support/photo_fixtures.h"

namespace tarnivo::test {
namespace {

using Names = std::vector<std::wstring>;

constexpr DWORD kHidden = FILE_ATTRIBUTE_HIDDEN;
constexpr DWORD kSystem = FILE_ATTRIBUTE_SYSTEM;
constexpr DWORD kReadOnly = FILE_ATTRIBUTE_READONLY;

// Creates an empty file and gives it `attributes` through the system (0: as created).
void MakeFile(const TempFolder& folder, const std::wstring& name, DWORD attributes = 0) {
  const std::wstring path = folder.WriteFile(name);
  if (attributes != 0) {
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), attributes)) << name;
  }
}

Names Sorted(Names names) {
  std::sort(names.begin(), names.end());
  return names;
}

class FileListTest : public WindowTest {
 protected:
  Names Listed() const { return window->File1().Names(); }
  LRESULT BoxState(int index) {
    return SendMessageW(Control(ids::CheckFileInfo(index)), BM_GETCHECK, 0, 0);
  }
  // Types `pattern` into the pattern box and clicks the refresh image.
  void ApplyPattern(const std::wstring& pattern) {
    SetText(ids::TextPatt, pattern);
    ClickControl(ids::ImgRefresh);
  }
  std::pair<DWORD, DWORD> PatternSelection() {
    DWORD start = 0, end = 0;
    SendMessageW(Control(ids::TextPatt), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }
  void ExpectStatus(const Names& names, const std::wstring& folder) {
    EXPECT_EQ(StatusText(), StatusLineFor(static_cast<int>(names.size()), folder));
  }
};

TEST_F(FileListTest, FilterBoxesStartClear) {  // their captions: LayoutTest's focus order
  StartOnWork();
  for (int i = 0; i < 4; ++i) EXPECT_EQ(BoxState(i), BST_UNCHECKED) << i;
  const FileListFlags& flags = window->File1().Flags();
  EXPECT_FALSE(flags.Hidden);
  EXPECT_FALSE(flags.System);
  EXPECT_FALSE(flags.ReadOnly);
  EXPECT_FALSE(flags.Archive);
  EXPECT_TRUE(flags.Normal);
}

TEST_F(FileListTest, HiddenAndSystemBoxesAddAndRemoveTheirFiles) {
  MakeFile(work, L"plain.jpg");
  MakeFile(work, L"hidden.jpg", kHidden);
  MakeFile(work, L"system.jpg", kSystem);
  MakeFile(work, L"both.jpg", kHidden | kSystem);
  StartOnWork();
  EXPECT_EQ(Listed(), Names{L"plain.jpg"});
  ExpectStatus(Listed(), work.Path());
  struct Step {
    int Box;
    LRESULT State;
    Names Listed;
  };
  const Step steps[] = {
      {0, BST_CHECKED, {L"hidden.jpg", L"plain.jpg"}},
      {1, BST_CHECKED, {L"both.jpg", L"hidden.jpg", L"plain.jpg", L"system.jpg"}},
      {0, BST_UNCHECKED, {L"plain.jpg", L"system.jpg"}},
      {1, BST_UNCHECKED, {L"plain.jpg"}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(testing::Message() << "box " << step.Box << " to " << step.State);
    ClickControl(ids::CheckFileInfo(step.Box));
    EXPECT_EQ(BoxState(step.Box), step.State);
    EXPECT_EQ(Listed(), step.Listed);
    ExpectStatus(step.Listed, work.Path());  // the count follows at once
  }
}

TEST_F(FileListTest, ReadOnlyAndArchiveBoxesNarrowTheList) {
  MakeFile(work, L"plain.jpg");
  MakeFile(work, L"locked.jpg", kReadOnly);
  MakeFile(work, L"locked-hidden.jpg", kReadOnly | kHidden);
  MakeFile(work, L"no-archive.jpg", FILE_ATTRIBUTE_NORMAL);
  // Wine reports the archive bit on every file; where the system can clear it the file
  // must drop out when the archive box is ticked.
  const DWORD noArchive = GetFileAttributesW((work / L"no-archive.jpg").c_str());
  const bool archiveCleared = (noArchive & FILE_ATTRIBUTE_ARCHIVE) == 0;
  StartOnWork();
  const Names ordinary{L"locked.jpg", L"no-archive.jpg", L"plain.jpg"};
  EXPECT_EQ(Listed(), ordinary);  // read-only and archive files are listed at start

  ClickControl(ids::CheckFileInfo(2));
  EXPECT_EQ(Listed(), Names{L"locked.jpg"});
  ExpectStatus(Listed(), work.Path());
  ClickControl(ids::CheckFileInfo(0));  // hidden ones too, still only read-only ones
  EXPECT_EQ(Listed(), (Names{L"locked-hidden.jpg", L"locked.jpg"}));
  ClickControl(ids::CheckFileInfo(0));
  ClickControl(ids::CheckFileInfo(2));
  EXPECT_EQ(Listed(), ordinary);

  ClickControl(ids::CheckFileInfo(3));
  EXPECT_EQ(BoxState(3), BST_CHECKED);
  const Names archived = archiveCleared ? Names{L"locked.jpg", L"plain.jpg"} : ordinary;
  EXPECT_EQ(Listed(), archived) << "archive bit cleared: " << archiveCleared;
  ExpectStatus(archived, work.Path());
  ClickControl(ids::CheckFileInfo(3));
  EXPECT_EQ(Listed(), ordinary);
}

TEST_F(FileListTest, GrayedBoxSetsItsFlagToFalse) {
  MakeFile(work, L"plain.jpg");
  MakeFile(work, L"hidden.jpg", kHidden);
  StartOnWork();
  ClickControl(ids::CheckFileInfo(0));
  ASSERT_EQ(Listed().size(), 2u);
  // A two-state box turns "grayed" into "ticked", so let this one hold a third state.
  const HWND box = Control(ids::CheckFileInfo(0));
  SendMessageW(box, BM_SETSTYLE, BS_AUTO3STATE, FALSE);
  SendMessageW(box, BM_SETCHECK, BST_INDETERMINATE, 0);
  ASSERT_EQ(BoxState(0), BST_INDETERMINATE);
  SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(ids::CheckFileInfo(0), BN_CLICKED),
               reinterpret_cast<LPARAM>(box));
  EXPECT_FALSE(window->File1().Flags().Hidden);
  EXPECT_EQ(Listed(), Names{L"plain.jpg"});
  ExpectStatus(Listed(), work.Path());
}

TEST_F(FileListTest, PatternsAppliedByTheRefreshImage) {
  for (const wchar_t* name : {L"a.jpg", L"B.JPG", L"c.png", L"d.gif", L"README", L"notes.txt",
                              L"archive.tar.gz", L"x.jpeg"}) {
    MakeFile(work, name);
  }
  const Names every{L"a.jpg", L"archive.tar.gz", L"B.JPG",  L"c.png",
                    L"d.gif", L"notes.txt",      L"README", L"x.jpeg"};
  StartOnWork();
  struct Case {
    const wchar_t* Pattern;
    Names Listed;
  };
  const Case cases[] = {
      {L"*.jpg", {L"a.jpg", L"B.JPG"}},
      {L"*.jpg;*.png", {L"a.jpg", L"B.JPG", L"c.png"}},
      {L" *.png ; *.gif ", {L"c.png", L"d.gif"}},
      {L"*.xyz", {}},
      {L"", every},
      {L"*", every},
      {L"*.*", every},
      {L"*.", {L"README"}},
      {L"?.jpg", {L"a.jpg", L"B.JPG"}},
      {L"*.gz", {L"archive.tar.gz"}},
      {L"readme", {L"README"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::wstring(L"pattern \"") + c.Pattern + L"\"");
    ApplyPattern(c.Pattern);
    EXPECT_EQ(window->File1().Pattern(), c.Pattern);  // kept exactly as typed
    EXPECT_EQ(Listed(), c.Listed);
    ExpectStatus(c.Listed, work.Path());
  }
}

TEST_F(FileListTest, TypedPatternWaitsForTheRefresh) {
  MakeFile(work, L"a.jpg");
  StartOnWork();
  MakeFile(work, L"b.jpg");  // appears after the first listing
  MakeFile(work, L"c.png");
  SetText(ids::TextPatt, L"*.png");
  PumpPending();
  EXPECT_EQ(window->File1().Pattern(), L"*.jpg");
  EXPECT_EQ(Listed(), Names{L"a.jpg"});
  SetText(ids::TextPatt, L"*.jpg");
  ClickControl(ids::ImgRefresh);  // the same pattern re-reads the folder
  EXPECT_EQ(Listed(), (Names{L"a.jpg", L"b.jpg"}));
  ASSERT_TRUE(DeleteFileW((work / L"a.jpg").c_str()));
  ClickControl(ids::ImgRefresh);
  EXPECT_EQ(Listed(), Names{L"b.jpg"});
  ExpectStatus(Listed(), work.Path());
}

TEST_F(FileListTest, ShortNamesDoNotMatch) {
  MakeFile(work, L"abcdefghij.jpeg");
  MakeFile(work, L"photo.jpe");
  // Whether the system's own search would list the long name for "*.jpe" (it does where
  // the volume keeps 8.3 names, Wine included); the list must not.
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW((work / L"*.jpe").c_str(), &data);
  int systemMatches = 0;
  if (find != INVALID_HANDLE_VALUE) {
    do ++systemMatches;
    while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RecordProperty("system_search_matches_for_jpe", systemMatches);
  StartOnWork();
  ApplyPattern(L"*.jpe");
  EXPECT_EQ(Listed(), Names{L"photo.jpe"});
  ApplyPattern(L"ABCDEF~1.JPE");
  EXPECT_TRUE(Listed().empty());
}

TEST_F(FileListTest, EntriesFollowTheExplorerOrder) {
  const Names order{L"IMG_1.jpg",   L"IMG_2.jpg",   L"img_3.jpg",   L"IMG_10.jpg",
                    L"IMG_020.jpg", L"IMG_20a.jpg", L"IMG_100.jpg", L"IMG_99999999999.jpg"};
  Names shuffled = order;
  std::reverse(shuffled.begin(), shuffled.end());
  std::rotate(shuffled.begin(), shuffled.begin() + 3, shuffled.end());
  for (const std::wstring& name : shuffled) MakeFile(work, name);
  StartOnWork();
  EXPECT_EQ(Listed(), order);
}

TEST_F(FileListTest, OrderAgreesWithTheShellsLogicalComparison) {
  const Names names{L"photo (2).jpg", L"photo (10).jpg", L"photo.jpg",  L"Photo-1.jpg",
                    L"photo_1.jpg",   L"照片1.jpg",      L"照片12.jpg", L"相片.jpg",
                    L"Äpfel.jpg",     L"apple.jpg",      L"Zebra.jpg",  L"_x.jpg",
                    L"1.jpg",         L"01b.jpg",        L"a b.jpg",    L"ab.jpg",
                    L"a10b2.jpg",     L"a10b10.jpg",     L"a9.jpg",     L"IMG.jpg"};
  for (const std::wstring& name : names) MakeFile(work, name);
  StartOnWork();
  ASSERT_EQ(Sorted(Listed()), Sorted(names));
  for (size_t i = 1; i < Listed().size(); ++i) {
    EXPECT_LE(StrCmpLogicalW(Listed()[i - 1].c_str(), Listed()[i].c_str()), 0)
        << Listed()[i - 1] << L" before " << Listed()[i];
  }
}

TEST(ExplorerOrder, NamesTheShellHoldsEqualKeepAFixedOrder) {
  const std::pair<Names, Names> cases[] = {
      {{L"b", L"A", L"a", L"B"}, {L"A", L"a", L"B", L"b"}},
      {{L"IMG_1", L"IMG_001", L"IMG_01"}, {L"IMG_001", L"IMG_01", L"IMG_1"}},
      {{L"x0", L"x", L"x00a", L"x0a"}, {L"x", L"x0", L"x00a", L"x0a"}},
      {{L"2", L"b", L"10", L"a"}, {L"2", L"10", L"a", L"b"}},  // numbers first
      {{}, {}},
  };
  for (const auto& [input, expected] : cases) {
    Names names = input;
    SortInExplorerOrder(names);
    EXPECT_EQ(names, expected);
  }
}

TEST_F(FileListTest, UnicodeNamesAreListedExactly) {
  const Names names{L"照片.jpg",  L"사진.jpg",   L"фото.jpg",    L"φωτογραφία.jpg", L"صورة.jpg",
                    L"写真①.jpg", L"mañana.jpg", L"smile 😀.jpg", L"ก.jpg"};
  for (const std::wstring& name : names) MakeFile(work, name);
  StartOnWork();
  EXPECT_EQ(Sorted(Listed()), Sorted(names));
  ExpectStatus(names, work.Path());
  ApplyPattern(L"ФОТО*");
  EXPECT_EQ(Listed(), Names{L"фото.jpg"});
  ApplyPattern(L"*😀*");
  EXPECT_EQ(Listed(), Names{L"smile 😀.jpg"});
}

TEST_F(FileListTest, FoldersAreNeverEntries) {
  MakeFile(work, L"a.jpg");
  work.MakeFolder(L"album.jpg");
  work.MakeFolder(L"sub");
  StartOnWork();
  for (const wchar_t* pattern : {L"*", L"*.jpg", L"", L".", L"..", L"*."}) {
    SCOPED_TRACE(std::wstring(L"pattern \"") + pattern + L"\"");
    ApplyPattern(pattern);
    for (const std::wstring& name : Listed()) EXPECT_EQ(name, L"a.jpg");
  }
}

TEST_F(FileListTest, FocusSelectsTheExtensionOfThePattern) {
  StartOnWork();
  const HWND box = Control(ids::TextPatt);
  struct Way {
    const char* What;
    std::function<void()> Focus;
  };
  const Way ways[] = {
      {"SetFocus", [&] { SetFocus(box); }},
      {"Tab from the list", [&] { PressKey(ids::File1, VK_TAB, 0); }},
      // Tabbing in selects the whole text: Windows' dialog manager does it right after
      // moving the focus, Wine's just before. The box's own selection must win either way.
      {"focus, then the whole text selected",
       [&] {
         SetFocus(box);
         SendMessageW(box, EM_SETSEL, 0, -1);
       }},
      {"mouse click", [&] { ClickControl(ids::TextPatt); }},
  };
  struct Case {
    const wchar_t* Text;
    DWORD Start, End;
  };
  const Case cases[] = {
      {L"*.jpg", 2, 5}, {L"*.jpeg", 2, 6}, {L"ab", 2, 2}, {L"*", 1, 1}, {L"", 0, 0},
  };
  for (const Case& c : cases) {
    for (const Way& way : ways) {
      SCOPED_TRACE(std::wstring(L"text \"") + c.Text + L"\"");
      SCOPED_TRACE(way.What);
      const std::pair<DWORD, DWORD> expected{c.Start, c.End};
      SetText(ids::TextPatt, c.Text);
      SetFocus(Control(ids::File1));
      PumpPending();
      way.Focus();
      ASSERT_EQ(GetFocus(), box);
      PumpPending();
      EXPECT_EQ(PatternSelection(), expected);
    }
  }
}

TEST_F(FileListTest, EnterRefreshesOnlyWithoutModifiers) {
  MakeFile(work, L"a.jpg");
  MakeFile(work, L"b.png");
  StartOnWork();
  SetText(ids::TextPatt, L"*.png");
  for (int shiftState : {1, 2, 4, 3}) {
    SCOPED_TRACE(shiftState);
    PressKey(ids::TextPatt, VK_RETURN, shiftState);
    EXPECT_EQ(window->File1().Pattern(), L"*.jpg");
    EXPECT_EQ(Listed(), Names{L"a.jpg"});
  }
  PressKey(ids::TextPatt, VK_F5, 0);  // any other key does nothing here
  EXPECT_EQ(window->File1().Pattern(), L"*.jpg");
  // Plain Enter refreshes as the image does, even while the image is disabled.
  window->SetRunningState(RunState::Running);
  SetText(ids::LabTitle(1), L"stale");
  PressKey(ids::TextPatt, VK_RETURN, 0);
  EXPECT_EQ(window->File1().Pattern(), L"*.png");
  EXPECT_EQ(Listed(), Names{L"b.png"});
  ExpectStatus(Listed(), work.Path());
  EXPECT_TRUE(IsWindowEnabled(Control(ids::ImgRefresh)));  // back to the idle state
}

TEST_F(FileListTest, MousePressRefreshesTheStatusLineWithoutReReading) {
  MakeFile(work, L"a.jpg");
  StartOnWork();
  MakeFile(work, L"b.jpg");  // not listed until a re-read
  for (UINT button : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN}) {
    SCOPED_TRACE(button);
    SetText(ids::LabTitle(1), L"stale");
    PressMouse(ids::File1, button);
    EXPECT_EQ(StatusText(), StatusLineFor(1, work.Path()));
    EXPECT_EQ(Listed(), Names{L"a.jpg"});
  }
}

TEST_F(FileListTest, FolderShowsATrailingBackslashOnlyAtADriveRoot) {
  const std::wstring sub = work.MakeFolder(L"sub");
  const std::wstring root = work.Path().substr(0, 3);  // the temp folder's drive, "X:\"
  ASSERT_EQ(root.substr(1), L":\\");
  StartOnWork();
  const std::pair<std::wstring, std::wstring> cases[] = {
      {work.Path() + L"\\", work.Path()},
      {sub + L"\\..", work.Path()},
      {sub, sub},
      {root, root},
  };
  for (const auto& [folder, shown] : cases) {
    SCOPED_TRACE(folder);
    ASSERT_TRUE(window->File1().SetPath(folder));
    EXPECT_EQ(window->File1().Path(), shown);
    window->RefreshStatusLine();
    EXPECT_EQ(StatusText(), StatusLineFor(window->File1().Count(), shown));
  }
}

TEST_F(FileListTest, FolderThatCannotBeListedLeavesTheListAlone) {
  MakeFile(work, L"a.jpg");
  const std::wstring file = work.WriteFile(L"b.txt");
  StartOnWork();
  for (const std::wstring& path :
       {file, work / L"missing", work / L"missing\\deeper", std::wstring()}) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(window->File1().SetPath(path));
    EXPECT_EQ(window->File1().Path(), work.Path());
    EXPECT_EQ(Listed(), Names{L"a.jpg"});
  }
}

TEST_F(FileListTest, VanishedFolderGivesAnEmptyList) {
  TempFolder gone;
  MakeFile(gone, L"a.jpg");
  MakeFile(gone, L"b.jpg");
  StartOnWork();
  ASSERT_TRUE(window->File1().SetPath(gone.Path()));
  ASSERT_EQ(window->File1().Count(), 2);
  RemoveTree(gone.Path());
  ClickControl(ids::ImgRefresh);
  EXPECT_TRUE(Listed().empty());
  EXPECT_EQ(SendMessageW(Control(ids::File1), LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(StatusText(), StatusLineFor(0, gone.Path()));
  ClickControl(ids::CheckFileInfo(0));  // a flag change re-reads it too
  EXPECT_EQ(StatusText(), StatusLineFor(0, gone.Path()));
}

TEST_F(FileListTest, ThousandsOfEntriesAreAllCountedAndReachable) {
  constexpr int kPhotos = 2000;
  for (int i = 0; i < kPhotos; ++i) MakeFile(work, L"IMG_" + std::to_wstring(i) + L".jpg");
  for (int i = 0; i < 300; ++i) MakeFile(work, L"DSC" + std::to_wstring(i) + L".png");
  StartOnWork();
  FileList& list = window->File1();
  ASSERT_EQ(list.Count(), kPhotos);
  ExpectStatus(Listed(), work.Path());
  EXPECT_EQ(SendMessageW(Control(ids::File1), LB_GETCOUNT, 0, 0), kPhotos);
  list.SetListIndex(kPhotos - 1);
  EXPECT_EQ(list.ListIndex(), kPhotos - 1);
  EXPECT_EQ(list.FileName(), L"IMG_1999.jpg");
  EXPECT_EQ(list.Entry(0), L"IMG_0.jpg");
  EXPECT_EQ(list.Entry(10), L"IMG_10.jpg");
}

TEST_F(FileListTest, RowsUseTheListBackground) {
  MakeFile(work, L"a.jpg");
  StartOnWork();
  const HWND list = Control(ids::File1);
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SetFocus(Control(ids::TextPatt));  // no focus rectangle on the row
  PumpPending();
  RECT client, row;
  GetClientRect(list, &client);
  ASSERT_NE(SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)), LB_ERR);
  // Paint the list into a bitmap of our own, as a real paint does (erase, then rows), and
  // read the colours back.
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  ReleaseDC(nullptr, screen);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  SendMessageW(list, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0);
  SendMessageW(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  const COLORREF inRow = GetPixel(memory, row.right - 4, (row.top + row.bottom) / 2);
  const COLORREF belowRows = GetPixel(memory, row.right - 4, row.bottom + 4);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  EXPECT_EQ(inRow, RGB(224, 224, 224));
  EXPECT_EQ(belowRows, RGB(224, 224, 224));
}

}  // namespace
}  // namespace tarnivo::test

namespace tarnivo::test {
namespace {

// The system's own menu of a right press on the list, driven by keys as a user would.
struct MenuKeys {
  std::vector<WORD> Keys;  // pressed once the menu is open
  bool Sent = false;
  std::wstring Marks;  // the checked items when it opened, by their ids
};
MenuKeys* menuKeys = nullptr;

// The pop-up menu on the screen, if one is open.
HWND OpenMenu() {
  for (HWND menu = FindWindowW(L"#32768", nullptr); menu;
       menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)) {
    if (IsWindowVisible(menu)) return menu;
  }
  return nullptr;
}

void CALLBACK PressMenuKeys(HWND, UINT, UINT_PTR, DWORD) {
  if (!menuKeys || menuKeys->Sent) return;
  const HWND menu = OpenMenu();
  if (!menu) return;
  const auto shown = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
  for (int i = 0; i < GetMenuItemCount(shown); ++i) {
    if (GetMenuState(shown, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) {
      menuKeys->Marks += std::to_wstring(GetMenuItemID(shown, i)) + L" ";
    }
  }
  menuKeys->Sent = true;
  std::vector<INPUT> inputs;
  for (const WORD key : menuKeys->Keys) {
    for (const DWORD flags : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = key;
      input.ki.dwFlags = flags;
      inputs.push_back(input);
    }
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

class SortMenuTest : public FileListTest {
 protected:
  void StartWithTheSystemMenu() {
    StartOnWork([](MainWindowOptions& options) { options.PopupMenu = nullptr; });
    SetForegroundWindow(Main());
    PumpPending();
  }
  // A real right press on the list, then `keys` in its menu; the checked items it showed.
  std::wstring RightPressAndChoose(std::vector<WORD> keys) {
    MenuKeys watch{std::move(keys)};
    menuKeys = &watch;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, PressMenuKeys);
    POINT at{20, 5};
    ClientToScreen(Control(ids::File1), &at);
    SetCursorPos(at.x, at.y);
    PumpPending();
    INPUT press[2]{};
    press[0].type = press[1].type = INPUT_MOUSE;
    press[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    press[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    SendInput(2, press, sizeof(INPUT));
    PumpUntil([&] { return watch.Sent && !OpenMenu(); });
    PumpPending();
    KillTimer(nullptr, timer);
    menuKeys = nullptr;
    return watch.Marks;
  }
  std::string Config() const { return ReadFileBytes(ConfigPath()); }
};

TEST_F(SortMenuTest, TheOrderIsChosenFromTheListsMenuAndKeptForTheNextStart) {
  work.WriteFile(L"a.jpg", "xxx");
  work.WriteFile(L"b.jpg", "x");
  work.WriteFile(L"c.jpg", "xx");
  StartWithTheSystemMenu();
  // 大    小 is the fourth item.
  EXPECT_EQ(RightPressAndChoose({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}),
            std::to_wstring(ids::menusortname) + L" " + std::to_wstring(ids::menusortup) + L" ");
  EXPECT_EQ(Listed(), (Names{L"b.jpg", L"c.jpg", L"a.jpg"}));
  EXPECT_NE(Config().find("Sort=size"), std::string::npos) << Config();
  // 降    序, the last item.
  EXPECT_EQ(RightPressAndChoose({VK_UP, VK_RETURN}),
            std::to_wstring(ids::menusortsize) + L" " + std::to_wstring(ids::menusortup) + L" ");
  EXPECT_EQ(Listed(), (Names{L"a.jpg", L"c.jpg", L"b.jpg"}));
  EXPECT_NE(Config().find("SortDescending=1"), std::string::npos) << Config();
  EXPECT_EQ(StatusText(), StatusLineFor(3, work.Path()));  // the press refreshed it
  window.reset();
  StartOnWork();
  EXPECT_EQ(Listed(), (Names{L"a.jpg", L"c.jpg", L"b.jpg"}));
}

// Photos of two cameras: by name the cameras come one after the other; by date taken they
// mix, and the one without a date comes last. Until the dates are in, the list keeps the
// order of names and the start image does nothing.
TEST_F(SortMenuTest, ByDateTakenTheListWaitsForTheDates) {
  const std::pair<const wchar_t*, const wchar_t*> photos[] = {
      {L"jpeg_ii_modify.jpg", L"IMG_0412.jpg"},     // 2023-11-12
      {L"jpeg_ii_all.jpg", L"IMG_0413.jpg"},        // 2021-03-04
      {L"jpeg_ii_digitized.jpg", L"DSC_1187.jpg"},  // 2022-01-02
      {L"jpeg_ii_none.jpg", L"DSC_1188.jpg"},       // none
  };
  for (const auto& [fixture, name] : photos) {
    ASSERT_TRUE(CopyFileW(PhotoFixture(fixture).c_str(), (work / name).c_str(), FALSE)) << fixture;
  }
  StartOnWork();
  SetText(ids::TextRull, L"trip_\r\n%Taxis:2,1,1%\r\n%ext%");
  menuChoice = ids::menusorttaken;
  SendMessageW(Control(ids::File1), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  menuChoice = 0;
  EXPECT_FALSE(IsWindowEnabled(Control(ids::ImgStart)));
  SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(ids::ImgStart, STN_CLICKED),
               reinterpret_cast<LPARAM>(Control(ids::ImgStart)));
  EXPECT_EQ(FileNamesIn(work.Path()).front(), L"DSC_1187.jpg");  // the click did nothing
  EXPECT_TRUE(PumpUntil([&] { return IsWindowEnabled(Control(ids::ImgStart)) != FALSE; }));
  EXPECT_EQ(Listed(), (Names{L"IMG_0413.jpg", L"DSC_1187.jpg", L"IMG_0412.jpg", L"DSC_1188.jpg"}));
  EXPECT_EQ(StatusText(), StatusLineFor(4, work.Path()));
  ClickControl(ids::ImgStart);
  const std::wstring summary = StatusText();
  EXPECT_TRUE(IsRunSummary(summary, 4, 0)) << testing::PrintToString(summary);
  EXPECT_EQ(ReadFileBytes(work / L"trip_01.jpg"), ReadFileBytes(PhotoFixture(L"jpeg_ii_all.jpg")));
  EXPECT_EQ(ReadFileBytes(work / L"trip_04.jpg"), ReadFileBytes(PhotoFixture(L"jpeg_ii_none.jpg")));
  // After the run the list is read again, and sorted again once its dates are in.
  EXPECT_TRUE(PumpUntil([&] { return IsWindowEnabled(Control(ids::ImgStart)) != FALSE; }));
  EXPECT_EQ(Listed(), (Names{L"trip_01.jpg", L"trip_02.jpg", L"trip_03.jpg", L"trip_04.jpg"}));
  EXPECT_EQ(StatusText(), summary);  // the run's summary stays
}

TEST_F(SortMenuTest, UnknownValuesReadAsTheDefault) {
  for (const wchar_t* name : {L"a.jpg", L"b.jpg"}) work.WriteFile(name);
  programFolder.WriteFile(L"config.ini", "[main]\r\nSort=colour\r\nSortDescending=yes\r\n");
  StartOnWork();
  EXPECT_EQ(window->File1().Order(), ListOrder{});
  EXPECT_EQ(Listed(), (Names{L"a.jpg", L"b.jpg"}));
}

}  // namespace
}  // namespace tarnivo::test
