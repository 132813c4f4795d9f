// The folder chooser: its placement, its lists, the ways it closes, its Ctrl+V paste and
// its short-path label, driven as a real dialog; then the choose-folder image of the main
// window, which shows it modally.
#include "dialogs/folder_chooser.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "app/clipboard.h"
#include "dialogs/chooser_ids.h"
#include "dialogs/placement.h"
#include "tests/app/window_fixture.h"
#include "win/paths.h"

namespace tarnivo::test {
namespace {

constexpr const wchar_t* kDeviceUnavailable = L"设备不可用！";
constexpr LPARAM kAltDown = static_cast<LPARAM>(KF_ALTDOWN) << 16 | 1;

std::wstring ShortForm(const std::wstring& path) {
  wchar_t buffer[1024];
  const DWORD length = GetShortPathNameW(path.c_str(), buffer, 1024);
  return length > 0 && length < 1024 ? std::wstring(buffer, length) : std::wstring();
}

// A drive letter mapped to a folder that does not exist: listed among the drives but
// impossible to open, as a drive without a medium is. The mapping lives in the system's
// name space, not on disk, and goes at the end.
class UnopenableDrive {
 public:
  explicit UnopenableDrive(const std::wstring& missingFolder) {
    const DWORD used = GetLogicalDrives();
    for (wchar_t letter = L'Y'; letter >= L'D'; --letter) {
      if (used & (1u << (letter - L'A'))) continue;
      const std::wstring drive{letter, L':'};
      if (DefineDosDeviceW(0, drive.c_str(), missingFolder.c_str())) drive_ = drive;
      break;
    }
  }
  UnopenableDrive(const UnopenableDrive&) = delete;
  UnopenableDrive& operator=(const UnopenableDrive&) = delete;
  ~UnopenableDrive() {
    if (!drive_.empty()) DefineDosDeviceW(DDD_REMOVE_DEFINITION, drive_.c_str(), nullptr);
  }
  // "" when no letter could be mapped.
  const std::wstring& Drive() const { return drive_; }

 private:
  std::wstring drive_;
};

// Nested folders under `base` whose short form has exactly `length` characters. The
// names are valid 8.3 names, so each is its own short form.
std::wstring FolderWithShortLength(const std::wstring& base, size_t length) {
  std::wstring folder = base;
  const size_t baseLength = ShortForm(base).size();
  if (length < baseLength + 2) return {};
  size_t rest = length - baseLength;
  const size_t parts = (rest + 8) / 9;  // "\" and up to 8 characters each
  for (size_t i = 0; i < parts; ++i) {
    const size_t size = rest / (parts - i);  // 2 to 9
    folder += L"\\" + std::wstring(size - 1, static_cast<wchar_t>(L'a' + i % 26));
    if (!CreateDirectoryW(folder.c_str(), nullptr)) return {};
    rest -= size;
  }
  return folder;
}

// The client area and the places of the controls at `dpi`, each edge converted on its own
// (Command1 from Picture1's inside corner; a drop-down list sets its own height), and the
// select button's font of 7.5 points.
void ExpectLaidOutAt(HWND dialog, int dpi) {
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, Px(3045, dpi));
  EXPECT_EQ(client.bottom, Px(3405, dpi));
  const HWND picture = GetDlgItem(dialog, chooser_ids::Picture1);
  const struct {
    HWND Parent;
    int Id, Left, Top, Width, Height;
  } places[] = {
      {dialog, chooser_ids::Drive1, 120, 120, 1695, 0},
      {dialog, chooser_ids::Dir1, 120, 600, 2775, 2400},
      {dialog, chooser_ids::Picture1, 1920, 120, 975, 300},
      {picture, chooser_ids::Command1, 0, 0, 915, 245},
      {dialog, chooser_ids::Labpath, 120, 3120, 2820, 210},
  };
  for (const auto& p : places) {
    SCOPED_TRACE(p.Id);
    const RECT r = RectIn(p.Parent, GetDlgItem(p.Parent, p.Id));
    EXPECT_EQ(r.left, Px(p.Left, dpi));
    EXPECT_EQ(r.top, Px(p.Top, dpi));
    EXPECT_EQ(r.right, Px(p.Left + p.Width, dpi));
    if (p.Height) {
      EXPECT_EQ(r.bottom, Px(p.Top + p.Height, dpi));
    }
  }
  EXPECT_EQ(FontOf(GetDlgItem(picture, chooser_ids::Command1)).lfHeight, -MulDiv(75, dpi, 720));
}

// The dialog on its own, shown without a modal loop and driven through its key preview.
class ChooserTest : public ::testing::Test {
 public:  // the cases' lambdas drive the dialog through the fixture
  void SetUp() override {
    // A pop-up: an overlapped window could not be made smaller than the dialog.
    owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 80,
                            600, 500, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
  }
  void TearDown() override {
    chooser.reset();
    DestroyWindow(owner);
    PumpPending();
  }

  void Open(const std::wstring& start = L"", int32_t left = 0, int32_t top = 0,
            const std::wstring& programPath = L"") {
    FolderChooserOptions options;
    options.ProgramFolder = programPath.empty() ? programFolder.Path() : programPath;
    options.ClipboardText = [this] {
      ++clipboardReads;
      return ReadClipboardText(owner);
    };
    options.ShiftState = [this] { return shift; };
    options.Dpi = dpi;
    chooser = std::make_unique<FolderChooser>(std::move(options));
    startFolder = start;
    ASSERT_TRUE(chooser->Load(owner, startFolder, left, top));
    chooser->Show();
    PumpPending();
  }

  // The dialog's own key preview, as its modal loop has it.
  void PumpPending() {
    test::PumpPending(
        [this](MSG& message) { return chooser && chooser->PreTranslateMessage(message); });
  }

  HWND Dialog() const { return chooser->Handle(); }
  HWND Item(int id) const { return GetDlgItem(Dialog(), id); }
  HWND SelectButton() const {
    return GetDlgItem(Item(chooser_ids::Picture1), chooser_ids::Command1);
  }
  std::wstring Labpath() const { return WindowText(Item(chooser_ids::Labpath)); }
  std::wstring ShownDrive() const { return WindowText(Item(chooser_ids::Drive1)); }

  void PressKey(HWND target, WORD key, int shiftState) {
    shift = shiftState;
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
    PumpPending();
    shift = 0;
  }
  void Release(UINT down, UINT up, POINT at = {5, 5}) {
    const WPARAM held = down == WM_LBUTTONDOWN   ? MK_LBUTTON
                        : down == WM_RBUTTONDOWN ? MK_RBUTTON
                                                 : MK_MBUTTON;
    PostMessageW(SelectButton(), down, held, MAKELPARAM(5, 5));
    PostMessageW(SelectButton(), up, 0, MAKELPARAM(at.x, at.y));
    PumpPending();
  }
  // What the drop-down box tells the dialog when the user picks a drive in it.
  void PickDrive(const std::wstring& drive) {
    HWND box = Item(chooser_ids::Drive1);
    const LRESULT index = SendMessageW(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(drive.c_str()));
    ASSERT_NE(index, CB_ERR) << testing::PrintToString(drive);
    SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(Dialog(), WM_COMMAND, MAKEWPARAM(chooser_ids::Drive1, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box));
    PumpPending();
  }
  int RowOf(const std::wstring& path) const {
    const auto& rows = chooser->Dir1().Rows();
    for (size_t i = 0; i < rows.size(); ++i) {
      if (rows[i].Path == path) return static_cast<int>(i);
    }
    return -1;
  }
  // A real click (or double click) on a row of the folder list.
  void ClickRow(int row, bool twice) {
    HWND list = Item(chooser_ids::Dir1);
    RECT r{};
    ASSERT_NE(
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r)),
        LB_ERR);
    const LPARAM at = MAKELPARAM(r.left + 30, (r.top + r.bottom) / 2);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    if (twice) {
      PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
      PostMessageW(list, WM_LBUTTONUP, 0, at);
    }
    PumpPending();
  }

  TempFolder programFolder;
  HWND owner = nullptr;
  std::unique_ptr<FolderChooser> chooser;
  std::wstring startFolder;
  int shift = 0;
  int dpi = 0;  // the options' DPI
  int clipboardReads = 0;
};

TEST(ChooserPlacement, CentresByTheUnsignedDifferenceHalved) {
  constexpr double kWidth = 3135, kHeight = 3885;  // a dialog's outer size
  struct Case {
    const wchar_t* What;
    double WidthDifference, HeightDifference;  // owner minus dialog
    double Left, Top;                          // expected, from the owner's corner
  };
  const Case cases[] = {
      {L"owner 301 larger: remainder dropped across, kept down", 301, 301, 150, 150.5},
      {L"dialog 301 larger: still right and down", -301, -301, 150, 150.5},
      {L"same size", 0, 0, 0, 0},
      {L"a half rounds to the even whole number below", 300.5, 0.5, 150, 0.25},
      {L"a half rounds to the even whole number above", 301.5, 1.5, 151, 0.75},
      {L"2.5 gives 2, halved 1", 2.5, 2.5, 1, 1.25},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    const TwipsBox owner{1000, 2000, kWidth + c.WidthDifference, kHeight + c.HeightDifference};
    const TwipsPoint at = CentreOver(owner, kWidth, kHeight);
    EXPECT_DOUBLE_EQ(at.Left, 1000 + c.Left);
    EXPECT_DOUBLE_EQ(at.Top, 2000 + c.Top);
  }
}

TEST_F(ChooserTest, OpensCentredOverItsOwnerOrAtTheGivenPlace) {
  Open();
  RECT ownerRect, dialogRect;
  GetWindowRect(owner, &ownerRect);
  GetWindowRect(Dialog(), &dialogRect);
  EXPECT_LE(std::abs((ownerRect.left + ownerRect.right) - (dialogRect.left + dialogRect.right)), 2);
  EXPECT_LE(std::abs((ownerRect.top + ownerRect.bottom) - (dialogRect.top + dialogRect.bottom)), 2);

  // A dialog larger than its owner moves right and down, never left or up.
  SetWindowPos(owner, nullptr, 100, 80, 40, 30, SWP_NOZORDER);
  Open();
  GetWindowRect(Dialog(), &dialogRect);
  EXPECT_EQ(dialogRect.left, 100 + ((dialogRect.right - dialogRect.left) - 40) / 2);
  EXPECT_GT(dialogRect.top, 80);

  Open(L"", 1500, 3000);  // twips: 100 and 200 pixels at 96 dpi
  GetWindowRect(Dialog(), &dialogRect);
  EXPECT_EQ(dialogRect.left, Px(1500, ScreenDpi()));
  EXPECT_EQ(dialogRect.top, Px(3000, ScreenDpi()));
}

TEST_F(ChooserTest, EmptyStartFolderOpensTheProgramFolderOnItsDrive) {
  Open();
  EXPECT_EQ(startFolder, programFolder.Path());  // the caller's variable is filled in too
  EXPECT_EQ(chooser->Dir1().Path(), programFolder.Path());
  EXPECT_EQ(chooser->Drive1().Drive(), DriveOf(programFolder.Path()));
  EXPECT_EQ(ShownDrive(), DriveOf(programFolder.Path()));
  EXPECT_EQ(Labpath(), ShortForm(programFolder.Path()));
  EXPECT_TRUE(IsWindowVisible(Dialog()));
  EXPECT_FALSE(chooser->Unloaded());
}

TEST_F(ChooserTest, FolderListShowsTheFoldersAboveThenTheFoldersInside) {
  programFolder.MakeFolder(L"b10");
  programFolder.MakeFolder(L"b2");
  programFolder.MakeFolder(L"a");
  programFolder.WriteFile(L"file.txt");
  Open();
  const auto& rows = chooser->Dir1().Rows();
  ASSERT_GE(rows.size(), 5u);
  EXPECT_EQ(rows[0].Name, DriveOf(programFolder.Path()) + L"\\");
  EXPECT_EQ(rows[0].Level, 0);
  const size_t opened = rows.size() - 4;
  EXPECT_EQ(rows[opened].Path, programFolder.Path());
  for (size_t i = 0; i <= opened; ++i) {
    SCOPED_TRACE(rows[i].Path);
    EXPECT_TRUE(rows[i].Open);
    EXPECT_EQ(rows[i].Level, static_cast<int>(i));
    EXPECT_EQ(programFolder.Path().rfind(rows[i].Path, 0), 0u);  // each one above the next
  }
  const std::vector<std::wstring> inside{L"a", L"b2", L"b10"};  // as the shell sorts them
  for (size_t i = 0; i < inside.size(); ++i) {
    SCOPED_TRACE(inside[i]);
    const FolderRow& row = rows[opened + 1 + i];
    EXPECT_EQ(row.Path, programFolder / inside[i]);
    EXPECT_EQ(row.Name, inside[i]);
    EXPECT_EQ(row.Level, static_cast<int>(opened) + 1);
    EXPECT_FALSE(row.Open);
  }
}

TEST_F(ChooserTest, OnlyADoubleClickOpensAFolder) {
  const std::wstring inner = programFolder.MakeFolder(L"inner");
  Open();
  ClickRow(RowOf(inner), false);
  EXPECT_EQ(chooser->Dir1().ListIndex(), RowOf(inner));  // highlighted, not opened
  EXPECT_EQ(chooser->Dir1().Path(), programFolder.Path());
  EXPECT_EQ(Labpath(), ShortForm(programFolder.Path()));

  ClickRow(RowOf(inner), true);
  EXPECT_EQ(chooser->Dir1().Path(), inner);
  EXPECT_EQ(Labpath(), ShortForm(inner));
  ClickRow(RowOf(programFolder.Path()), true);  // back up to a folder above
  EXPECT_EQ(chooser->Dir1().Path(), programFolder.Path());
}

TEST_F(ChooserTest, SelectButtonOrACancelIsTheOnlyWayOut) {
  struct Case {
    const wchar_t* What;
    std::function<void(ChooserTest&)> Act;
    bool Selects;
  };
  const Case cases[] = {
      {L"left button released on the select button",
       [](ChooserTest& t) { t.Release(WM_LBUTTONDOWN, WM_LBUTTONUP); }, true},
      {L"right button released on the select button",
       [](ChooserTest& t) { t.Release(WM_RBUTTONDOWN, WM_RBUTTONUP); }, true},
      {L"middle button released on the select button",
       [](ChooserTest& t) { t.Release(WM_MBUTTONDOWN, WM_MBUTTONUP); }, true},
      {L"the close box (and the system menu's close)",
       [](ChooserTest& t) { PostMessageW(t.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0); }, false},
      {L"Alt+F4 in the folder list",
       [](ChooserTest& t) {
         PostMessageW(t.Item(chooser_ids::Dir1), WM_SYSKEYDOWN, VK_F4, kAltDown);
       },
       false},
      {L"Alt+F4 in the drive list",
       [](ChooserTest& t) {
         PostMessageW(t.Item(chooser_ids::Drive1), WM_SYSKEYDOWN, VK_F4, kAltDown);
       },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    Open();
    const HWND dialog = Dialog();
    c.Act(*this);
    PumpPending();
    ASSERT_TRUE(chooser->Unloaded());
    EXPECT_EQ(chooser->ChosenFolder(), c.Selects ? programFolder.Path() : kCanceledSelect);
    EXPECT_FALSE(IsWindow(dialog));
  }
}

TEST_F(ChooserTest, KeysAndStrayPressesSelectNothing) {
  Open();
  struct Case {
    const wchar_t* What;
    std::function<void(ChooserTest&)> Act;
  };
  const Case cases[] = {
      {L"Space on the select button",
       [](ChooserTest& t) { t.PressKey(t.SelectButton(), VK_SPACE, 0); }},
      {L"Enter on the select button",
       [](ChooserTest& t) { t.PressKey(t.SelectButton(), VK_RETURN, 0); }},
      {L"Esc on the select button",
       [](ChooserTest& t) { t.PressKey(t.SelectButton(), VK_ESCAPE, 0); }},
      {L"Enter in the folder list",
       [](ChooserTest& t) { t.PressKey(t.Item(chooser_ids::Dir1), VK_RETURN, 0); }},
      {L"Esc in the folder list",
       [](ChooserTest& t) { t.PressKey(t.Item(chooser_ids::Dir1), VK_ESCAPE, 0); }},
      {L"a press dragged off the button",
       [](ChooserTest& t) {
         t.Release(WM_LBUTTONDOWN, WM_LBUTTONUP, {-20, -20});
       }},
      {L"a press without a release",
       [](ChooserTest& t) {
         PostMessageW(t.SelectButton(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
         t.PumpPending();
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    SetFocus(SelectButton());
    ASSERT_EQ(GetFocus(), SelectButton());
    c.Act(*this);
    EXPECT_FALSE(chooser->Unloaded());
    EXPECT_TRUE(IsWindowVisible(Dialog()));
  }
  Release(WM_LBUTTONDOWN, WM_LBUTTONUP);  // the button itself still works
  EXPECT_TRUE(chooser->Unloaded());
}

TEST_F(ChooserTest, LeavingAndComingBackKeepsTheFocusedControl) {
  Open();
  SetFocus(SelectButton());
  SetActiveWindow(owner);
  PumpPending();
  SetActiveWindow(Dialog());
  PumpPending();
  EXPECT_EQ(GetFocus(), SelectButton());
}

TEST_F(ChooserTest, CtrlVOpensAPastedFolderAndLeavesTheDriveList) {
  const std::wstring elsewhere = ProgramFolder();  // this test's own folder
  if (DriveOf(elsewhere) == DriveOf(programFolder.Path())) {
    GTEST_SKIP() << "the test program and the temp folder share a drive";
  }
  const std::wstring file = programFolder.WriteFile(L"photo.jpg");
  struct Case {
    const wchar_t* What;
    std::wstring Clipboard;
    WORD Key;
    int ShiftState;
    bool Opens;
    int Reads;  // of the clipboard
  };
  const Case cases[] = {
      {L"Ctrl+Shift+V", elsewhere, 'V', 3, false, 0},
      {L"Ctrl+Alt+V", elsewhere, 'V', 6, false, 0},
      {L"V alone", elsewhere, 'V', 0, false, 0},
      {L"Ctrl+C", elsewhere, 'C', 2, false, 0},
      {L"a file", file, 'V', 2, false, 1},
      {L"a missing folder", programFolder / L"missing", 'V', 2, false, 1},
      {L"no text", L"", 'V', 2, false, 1},
      {L"a folder on another drive", elsewhere, 'V', 2, true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    Open();
    SetClipboard(owner, c.Clipboard);
    clipboardReads = 0;
    PressKey(Item(chooser_ids::Dir1), c.Key, c.ShiftState);
    EXPECT_EQ(clipboardReads, c.Reads);
    EXPECT_EQ(chooser->Dir1().Path(), c.Opens ? elsewhere : programFolder.Path());
    EXPECT_EQ(Labpath(), ShortForm(c.Opens ? elsewhere : programFolder.Path()));
    EXPECT_EQ(chooser->Drive1().Drive(), DriveOf(programFolder.Path()));
    EXPECT_EQ(ShownDrive(), DriveOf(programFolder.Path()));
    EXPECT_FALSE(chooser->Unloaded());
  }
}

TEST_F(ChooserTest, DriveThatCannotBeOpenedTurnsTheDriveListBack) {
  const UnopenableDrive noMedium(programFolder / L"not-there");
  if (noMedium.Drive().empty()) GTEST_SKIP() << "no drive letter could be mapped";
  const std::wstring inner = programFolder.MakeFolder(L"inner");
  Open();
  PickDrive(noMedium.Drive());
  EXPECT_EQ(Labpath(), kDeviceUnavailable);
  EXPECT_EQ(chooser->Drive1().Drive(), DriveOf(programFolder.Path()));
  EXPECT_EQ(ShownDrive(), DriveOf(programFolder.Path()));
  EXPECT_EQ(chooser->Dir1().Path(), programFolder.Path());  // the folder shown stays open
  EXPECT_FALSE(chooser->Unloaded());

  ClickRow(RowOf(inner), true);  // the next folder change replaces the message
  EXPECT_EQ(Labpath(), ShortForm(inner));
}

TEST_F(ChooserTest, PickingAnotherDriveOpensIt) {
  const std::wstring other = DriveOf(ProgramFolder());
  if (other.empty() || other == DriveOf(programFolder.Path())) GTEST_SKIP() << "one drive only";
  Open();
  PickDrive(other);
  EXPECT_EQ(chooser->Drive1().Drive(), other);
  EXPECT_EQ(DriveOf(chooser->Dir1().Path()), other);
  EXPECT_EQ(Labpath(), ShortForm(chooser->Dir1().Path()));
}

TEST_F(ChooserTest, ShortPathLabelHoldsAtMost163Characters) {
  const struct {
    size_t Length;
    bool Shown;
  } cases[] = {{162, true}, {163, true}, {164, false}, {200, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Length);
    const TempFolder base;
    const std::wstring folder = FolderWithShortLength(base.Path(), c.Length);
    ASSERT_EQ(ShortForm(folder).size(), c.Length);
    Open(folder);
    ASSERT_EQ(chooser->Dir1().Path(), folder);
    EXPECT_EQ(Labpath(), c.Shown ? ShortForm(folder) : L"");
  }
}

TEST_F(ChooserTest, ShortPathOfANameOutsideTheCodePage) {
  const std::wstring korean = programFolder.MakeFolder(L"사진 2024");
  Open(korean);
  ASSERT_EQ(chooser->Dir1().Path(), korean);
  EXPECT_FALSE(Labpath().empty());
  EXPECT_EQ(Labpath(), ShortForm(korean));
}

TEST_F(ChooserTest, ChosenFolderHasABackslashOnlyAtADriveRoot) {
  const std::wstring root = DriveOf(programFolder.Path()) + L"\\";
  struct Case {
    const wchar_t* What;
    std::wstring Start;
    std::wstring Pasted;
    std::wstring Chosen;
  };
  const Case cases[] = {
      {L"a start folder given with a backslash", programFolder.Path() + L"\\", L"",
       programFolder.Path()},
      {L"a drive root pasted", L"", root, root},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    Open(c.Start);
    if (!c.Pasted.empty()) {
      SetClipboard(owner, c.Pasted);
      PressKey(Item(chooser_ids::Drive1), 'V', 2);
    }
    Release(WM_LBUTTONDOWN, WM_LBUTTONUP);
    ASSERT_TRUE(chooser->Unloaded());
    EXPECT_EQ(chooser->ChosenFolder(), c.Chosen);
  }
}

TEST_F(ChooserTest, ProgramOnANetworkShareStillOpensOnADrive) {
  const std::wstring share = L"\\\\tarnivo-no-such-server\\share\\tarnivo";
  Open(L"", 0, 0, share);
  EXPECT_EQ(startFolder, share);
  const std::wstring drive = chooser->Drive1().Drive();
  ASSERT_FALSE(drive.empty());
  EXPECT_EQ(DriveOf(chooser->Dir1().Path()), drive);
  EXPECT_EQ(ShownDrive(), drive);
  EXPECT_NE(Labpath(), kDeviceUnavailable);
}

TEST_F(ChooserTest, LooksAsDesigned) {
  Open();
  EXPECT_EQ(WindowText(Dialog()), L"选择路径");
  EXPECT_EQ(SendMessageW(Dialog(), WM_GETICON, ICON_SMALL, 0), 0);
  EXPECT_EQ(SendMessageW(Dialog(), WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_EQ(GetClassLongPtrW(Dialog(), GCLP_HICON), 0u);
  EXPECT_NE(GetWindowLongPtrW(Dialog(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, 0);
  ExpectLaidOutAt(Dialog(), ScreenDpi());

  EXPECT_EQ(WindowText(SelectButton()), L"选  择");
  const LOGFONTW font = FontOf(SelectButton());
  EXPECT_STREQ(font.lfFaceName, L"宋体");
  EXPECT_EQ(font.lfWeight, FW_NORMAL);
  EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);

  // The grey background behind the lists and the label, with black text.
  for (UINT message : {WM_CTLCOLORLISTBOX, WM_CTLCOLORSTATIC}) {
    HDC dc = GetDC(Dialog());
    const auto brush =
        reinterpret_cast<HBRUSH>(SendMessageW(Dialog(), message, reinterpret_cast<WPARAM>(dc),
                                              reinterpret_cast<LPARAM>(Item(chooser_ids::Dir1))));
    LOGBRUSH look{};
    ASSERT_TRUE(GetObjectW(brush, sizeof(look), &look)) << message;
    EXPECT_EQ(look.lbColor, RGB(224, 224, 224)) << message;
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0)) << message;
    ReleaseDC(Dialog(), dc);
  }

  // Focus order: drive list, folder list, the select button in its frame, round again.
  const HWND order[] = {Item(chooser_ids::Drive1), Item(chooser_ids::Dir1), SelectButton(),
                        Item(chooser_ids::Drive1)};
  for (size_t i = 0; i + 1 < std::size(order); ++i) {
    EXPECT_EQ(GetNextDlgTabItem(Dialog(), order[i], FALSE), order[i + 1]) << i;
  }
  EXPECT_EQ(GetFocus(), Item(chooser_ids::Drive1));
  EXPECT_NE(Labpath(), L"Labpath");
}

TEST_F(ChooserTest, LaidOutAtTheDpiItIsGiven) {
  dpi = 144;
  Open();
  ExpectLaidOutAt(Dialog(), 144);
}

// Runs `steps` one after another once the folder chooser is on screen. A thread timer
// drives them, so they run inside the chooser's own modal loop; each step's posted input
// is handled before the next step (timer messages come only when the queue is empty).
// A chooser still open about two seconds after the last step is closed, so a failing
// test ends; `StuckOpen()` tells.
class ChooserScript {
 public:
  using Step = std::function<void(HWND dialog)>;
  explicit ChooserScript(std::vector<Step> steps) : steps_(std::move(steps)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 10, Tick);
  }
  ChooserScript(const ChooserScript&) = delete;
  ChooserScript& operator=(const ChooserScript&) = delete;
  ~ChooserScript() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  bool Opened() const { return next_ > 0; }
  bool StuckOpen() const { return stuck_; }

 private:
  static BOOL CALLBACK FindChooser(HWND window, LPARAM found) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    if (lstrcmpW(name, FolderChooser::kClassName) != 0 || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ChooserScript* self = current_;
    if (!self) return;
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindChooser, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return;
    if (self->next_ < self->steps_.size()) {
      self->steps_[self->next_++](dialog);
    } else if (++self->ticksAfter_ == 200) {
      self->stuck_ = true;
      PostMessageW(dialog, WM_CLOSE, 0, 0);
    }
  }

  static inline ChooserScript* current_ = nullptr;
  std::vector<Step> steps_;
  size_t next_ = 0;
  int ticksAfter_ = 0;
  bool stuck_ = false;
  UINT_PTR timer_ = 0;
};

HWND SelectButtonOf(HWND dialog) {
  return GetDlgItem(GetDlgItem(dialog, chooser_ids::Picture1), chooser_ids::Command1);
}

void RightClick(HWND control) {
  PostMessageW(control, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  PostMessageW(control, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
}

TEST_F(WindowTest, ChooseFolderImageListsTheChosenFolderOrKeepsTheList) {
  programFolder.WriteFile(L"p1.jpg");
  programFolder.WriteFile(L"p2.jpg");
  work.WriteFile(L"w.jpg");
  StartOnWork();
  struct Case {
    const wchar_t* What;
    ChooserScript::Step Act;
    bool Lists;
  };
  const Case cases[] = {
      {L"the close box", [](HWND d) { PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, false},
      {L"Alt+F4",
       [](HWND d) {
         PostMessageW(GetFocus(), WM_SYSKEYDOWN, VK_F4, kAltDown);
         (void)d;
       },
       false},
      {L"the program ending", [](HWND) { PostQuitMessage(0); }, false},
      {L"right button on the select button", [](HWND d) { RightClick(SelectButtonOf(d)); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    SetText(ids::LabTitle(1), L"stale");
    window->SetRunningState(RunState::Running);
    bool ownerDisabled = false;
    {
      const ChooserScript script({[&](HWND d) {
        ownerDisabled = !IsWindowEnabled(Main());
        c.Act(d);
      }});
      ClickControl(ids::ImgSetPath);
      ASSERT_TRUE(script.Opened());
      EXPECT_FALSE(script.StuckOpen());
    }
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(Main()));
    EXPECT_TRUE(IsWindowEnabled(Control(ids::ImgStart)));  // idle state in both cases
    if (c.Lists) {
      EXPECT_EQ(window->File1().Path(), programFolder.Path());
      EXPECT_EQ(StatusText(), StatusLineFor(2, programFolder.Path()));
    } else {
      EXPECT_EQ(window->File1().Path(), work.Path());
      EXPECT_EQ(StatusText(), L"stale");
    }
  }
}

TEST_F(WindowTest, ChosenFolderGoneMeanwhileLeavesTheListAndStatusLine) {
  work.WriteFile(L"w.jpg");
  const std::wstring gone = programFolder.MakeFolder(L"gone");
  StartOnWork();
  SetText(ids::LabTitle(1), L"stale");
  SetClipboard(Main(), gone);
  {
    const ChooserScript script({
        [&](HWND) {
          shift = 2;  // Ctrl+V of the folder, read by the chooser's key preview
          PostMessageW(GetFocus(), WM_KEYDOWN, 'V', 1);
        },
        [&](HWND d) {
          shift = 0;
          RemoveDirectoryW(gone.c_str());
          RightClick(SelectButtonOf(d));
        },
    });
    ClickControl(ids::ImgSetPath);
    EXPECT_FALSE(script.StuckOpen());
  }
  EXPECT_FALSE(FileExists(gone));
  EXPECT_EQ(window->File1().Path(), work.Path());
  EXPECT_EQ(StatusText(), L"stale");
}

TEST_F(WindowTest, ChooseFolderImageDoesNothingDuringARun) {
  for (const wchar_t* name : {L"a.jpg", L"b.jpg"}) work.WriteFile(name);
  programFolder.WriteFile(L"p.jpg");
  StartOnWork();
  SetText(ids::TextRull, L"%name%\r\n_x\r\n%ext%");
  const ChooserScript script({[](HWND d) { RightClick(SelectButtonOf(d)); }});
  PostClick(ids::ImgStart);
  ClickControl(ids::ImgSetPath);  // handled while the run lets events through
  ASSERT_FALSE(window->RunInProgress());
  EXPECT_FALSE(script.Opened());
  EXPECT_EQ(window->File1().Path(), work.Path());
  EXPECT_TRUE(FileExists(work / L"a_x.jpg"));
  EXPECT_TRUE(FileExists(work / L"b_x.jpg"));
}

TEST_F(WindowTest, ChooserOpensAtTheWindowsDpiAfterAChange) {
  StartOnWork();
  ChangeDpi(96, 144);
  bool inspected = false;
  {
    const ChooserScript script({[&](HWND d) {
      ExpectLaidOutAt(d, 144);
      inspected = true;
      PostMessageW(d, WM_CLOSE, 0, 0);
    }});
    ClickControl(ids::ImgSetPath);
    EXPECT_FALSE(script.StuckOpen());
  }
  EXPECT_TRUE(inspected);
}

}  // namespace
}  // namespace tarnivo::test
