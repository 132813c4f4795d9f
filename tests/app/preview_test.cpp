// The preview window on the real main window: how it opens and where, what it shows while
// a pass is under way and after, and that a run then does exactly what it showed.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "app/menu_ids.h"
#include "tests/app/window_fixture.h"
#include "tests/support/preview_rows.h"
#include "win/code_page.h"
#include "win/handles.h"
#include "win/keyboard.h"

namespace tarnivo::test {
namespace {

using Names = std::vector<std::wstring>;

constexpr COLORREF kRed = RGB(204, 0, 0);
constexpr COLORREF kGrey = RGB(128, 128, 128);

// Records every text written into a control.
LRESULT CALLBACK RecordTexts(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR data) {
  if (message == WM_SETTEXT && lParam) {
    reinterpret_cast<Names*>(data)->emplace_back(reinterpret_cast<const wchar_t*>(lParam));
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

bool Overlap(const RECT& a, const RECT& b) {
  RECT both;
  return IntersectRect(&both, &a, &b) != FALSE;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

class PreviewTest : public WindowTest {
 public:  // also read from inside the window's own handlers
  // The menu answers `choice`; the clock waits while `clockOpen` is reset, which holds a
  // pass at its first date token.
  void StartWithMenu(const std::wstring& arguments) {
    Start(arguments, [this](MainWindowOptions& options) {
      options.PopupMenu = [this](HMENU, POINT) { return choice; };
      options.LocalTime = [this] {
        WaitForSingleObject(clockOpen.Get(), 5000);
        return now;
      };
    });
  }

  HWND Preview() const { return window->PreviewHandle(); }
  HWND List() const { return GetDlgItem(Preview(), ids::PreviewList); }
  std::wstring Summary() const { return WindowText(GetDlgItem(Preview(), ids::PreviewSummary)); }
  bool Shown() const { return Preview() && IsWindowVisible(Preview()); }

  // F5 in the template box; then the rows of the pass now under way.
  void OpenPreview() {
    PressKey(ids::TextRull, VK_F5, 0);
    ASSERT_TRUE(Shown());
    WaitForPass();
  }
  void WaitForPass() {
    EXPECT_TRUE(PumpUntil([&] { return Summary() != kChecking; })) << "still checking";
  }

  std::wstring CellText(int row, int column) const {
    wchar_t text[2048] = L"";
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 2048;
    SendMessageW(List(), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return text;
  }
  std::vector<PreviewRowText> Rows() const {
    std::vector<PreviewRowText> rows;
    const auto count = static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
      rows.push_back({CellText(i, 0), CellText(i, 1), CellText(i, 2)});
    return rows;
  }
  // The text colour the window gives a row as the list view draws it.
  COLORREF RowColor(int row) const {
    NMLVCUSTOMDRAW draw{};
    draw.nmcd.hdr.hwndFrom = List();
    draw.nmcd.hdr.idFrom = ids::PreviewList;
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
    draw.clrText = CLR_DEFAULT;
    SendMessageW(Preview(), WM_NOTIFY, ids::PreviewList, reinterpret_cast<LPARAM>(&draw));
    return draw.clrText;
  }
  std::wstring TipOver(int row) {
    const LRESULT height = SendMessageW(Control(ids::File1), LB_GETITEMHEIGHT, 0, 0);
    SendMessageW(Control(ids::File1), WM_MOUSEMOVE, 0,
                 MAKELPARAM(10, static_cast<int>(height) * row + 2));
    wchar_t text[1024] = L"";
    TTTOOLINFOW tool{sizeof(tool)};
    tool.hwnd = Main();
    tool.uId = reinterpret_cast<UINT_PTR>(Control(ids::File1));
    tool.lpszText = text;
    SendMessageW(window->File1().TipWindow(), TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tool));
    return text;
  }

  // Until the worker has posted that a result waits, with nothing handled meanwhile.
  bool WaitForReadyWithoutHandlingIt() {
    const DWORD until = GetTickCount() + 3000;
    MSG message;
    while (!PeekMessageW(&message, Main(), MainWindow::kPreviewReady, MainWindow::kPreviewReady,
                         PM_NOREMOVE)) {
      if (static_cast<LONG>(until - GetTickCount()) <= 0) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_POSTMESSAGE);
    }
    return true;
  }

  // A key press posted straight to a window of the preview.
  void PressKeyTo(HWND target, WORD keyCode) {
    PostMessageW(target, WM_KEYDOWN, keyCode, 1);
    PostMessageW(target, WM_KEYUP, keyCode, static_cast<LPARAM>(0xC0000001));
    PumpPending();
  }

  int choice = 0;
  UniqueHandle clockOpen{CreateEventW(nullptr, TRUE, TRUE, nullptr)};
};

// Each case: a folder with clashes, the preview read, the batch run, and every row compared
// with the folder and the log afterwards. Kept to what Wine and Windows do alike: no names
// beyond 255 UTF-8 bytes (Wine cuts them).
TEST_F(PreviewTest, ARunDoesWhatThePreviewShowed) {
  struct Case {
    const char* What;
    Names Files;    // listed by *.jpg, or not
    Names Folders;  // made as folders
    std::wstring Template;
    std::string Counts;  // what the summary says, "N K M"
    std::string Ways;    // rows saying "顺移" and "经临时名"
  };
  TempFolder probe;
  probe.WriteFile(L"verylongname.jpeg");
  WIN32_FIND_DATAW found{};
  const HANDLE find = FindFirstFileW((probe / L"verylongname.jpeg").c_str(), &found);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  FindClose(find);
  const std::wstring shortName = found.cAlternateFileName;  // "" where the volume makes none
  std::vector<Case> cases = {
      {"a template of literals",
       {L"a.jpg", L"b.jpg", L"c.jpg"},
       {},
       L"photo\r\n.jpg",
       "1 0 2",
       "0 0"},
      {"a chain 1 to 2 to 3 to 4",
       {L"1.jpg", L"2.jpg", L"3.jpg"},
       {},
       L"%Taxis:1,2,1%\r\n.jpg",
       "3 0 0",
       "2 0"},
      {"a swap", {L"1.jpg", L"2.jpg"}, {}, L"%Taxis:1,2,-1%\r\n.jpg", "2 0 0", "1 1"},
      {"a cycle with a fixed point",
       {L"1.jpg", L"2.jpg", L"3.jpg"},
       {},
       L"%Taxis:1,3,-1%\r\n.jpg",
       "2 1 0",
       "1 1"},
      {"a chain into a folder",
       {L"1.jpg", L"2.jpg"},
       {L"3.jpg"},
       L"%Taxis:1,2,1%\r\n.jpg",
       "0 0 2",
       "0 0"},
      {"a change of case only", {L"IMG.JPG", L"b.jpg"}, {}, L"img\r\n.jpg", "1 0 1", "0 1"},
      {"names freed by the entries before",
       {L"1.jpg", L"2.jpg"},
       {},
       L"%Taxis:1,0,1%\r\n.jpg",
       "2 0 0",
       "1 0"},
      {"an unlisted file",
       {L"a.jpg", L"b.jpg", L"a_.png"},
       {},
       L"%name%\r\n_\r\n.png",
       "1 0 1",
       "0 0"},
      {"a folder", {L"a.jpg", L"b.jpg"}, {L"b_.jpg"}, L"%name%\r\n_\r\n%ext%", "1 0 1", "0 0"},
      {"a case twin", {L"a.jpg", L"b.jpg", L"B_.TXT"}, {}, L"%name%\r\n_.txt", "1 0 1", "0 0"},
      {"a name with a trailing dot", {L"a.jpg", L"b.jpg"}, {}, L"%name%\r\n.", "0 0 2", "0 0"},
      {"a device name", {L"a.jpg"}, {}, L"nul\r\n%ext%", "0 0 1", "0 0"},
      {"an empty template", {L"a.jpg"}, {}, L"", "0 0 1", "0 0"},
      {"a failing line",
       {L"a.jpg", L"b.jpg"},
       {},
       L"%name%\r\n_\r\n%Taxis:6,50%\r\n%ext%",
       "2 0 0",
       "0 0"},
      {"a failing line, then a taken name",
       {L"a.jpg", L"b.jpg", L"b_.png"},
       {},
       L"%name%\r\n_\r\n%Taxis:6,50%\r\n.png",
       "1 0 1",
       "0 0"},
      {"unchanged, then taken by the unchanged",
       {L"photo.jpg", L"x.jpg"},
       {},
       L"photo\r\n.jpg",
       "0 1 1",
       "0 0"},
      {"names outside the code page",
       {L"한국.jpg", L"照片.jpg"},
       {},
       L"%name%\r\n_\r\n%ext%",
       "2 0 0",
       "0 0"},
  };
  Names shift;
  for (int i = 1; i <= 39; ++i)
    shift.push_back((i < 10 ? L"0" : L"") + std::to_wstring(i) + L".jpg");
  cases.push_back(
      {"a shift of 01 to 39 onto 02 to 40", shift, {}, L"%Taxis:2,2,1%\r\n.jpg", "39 0 0", "38 0"});
  if (!shortName.empty()) {
    cases.push_back({"another file's short name",
                     {L"a.jpg", L"verylongname.jpeg"},
                     {},
                     shortName,
                     "0 0 1",
                     "0 0"});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    TempFolder files;
    for (const std::wstring& name : c.Files) files.WriteFile(name, "x");
    for (const std::wstring& name : c.Folders) files.MakeFolder(name);
    const Names before = FileNamesIn(files.Path());
    Start(L"\"" + files.Path() + L"\"");
    SetText(ids::TextRull, c.Template);
    OpenPreview();
    const std::vector<PreviewRowText> rows = Rows();
    ASSERT_EQ(rows.size(), window->File1().Names().size());
    const ForeseenRun run = Foresee(before, rows);
    EXPECT_EQ(std::to_string(run.Renamed) + " " + std::to_string(run.Unchanged) + " " +
                  std::to_string(run.Failing),
              c.Counts);
    const auto saying = [&rows](const wchar_t* way) {
      return std::count_if(rows.begin(), rows.end(), [way](const PreviewRowText& row) {
        const Names parts = StatusParts(row.Status);
        return std::find(parts.begin(), parts.end(), way) != parts.end();
      });
    };
    EXPECT_EQ(std::to_string(saying(L"顺移")) + " " + std::to_string(saying(L"经临时名")), c.Ways);
    EXPECT_EQ(Summary(), L"将转换 " + std::to_wstring(run.Renamed) + L" 个文件, 不变 " +
                             std::to_wstring(run.Unchanged) + L" 个, 将失败 " +
                             std::to_wstring(run.Failing) + L" 个");
    for (size_t i = 0; i < rows.size(); ++i) {
      SCOPED_TRACE(
          testing::PrintToString(rows[i].Old + L" -> " + rows[i].New + L": " + rows[i].Status));
      EXPECT_EQ(rows[i].Old, window->File1().Entry(static_cast<int32_t>(i)));
      const Names parts = StatusParts(rows[i].Status);
      const bool fails = std::any_of(parts.begin(), parts.end(), [](const std::wstring& part) {
        return part.rfind(L"错误代号 ", 0) == 0;
      });
      const bool unchanged = std::find(parts.begin(), parts.end(), L"不变") != parts.end();
      EXPECT_EQ(RowColor(static_cast<int>(i)), fails ? kRed : unchanged ? kGrey : CLR_DEFAULT);
    }

    ClickControl(ids::ImgStart);
    ASSERT_FALSE(window->RunInProgress());
    EXPECT_EQ(FileNamesIn(files.Path()), run.FilesAfter);
    const std::wstring log = FromAnsi(ReadFileBytes(programFolder / L"Err.LOG"));
    EXPECT_EQ(FailuresInLog(log, files.Path() + L"\\"), run.Failures);
    // The run counts an unchanged name as renamed: the system was asked and agreed.
    EXPECT_TRUE(std::regex_search(
        StatusText(), std::wregex(L"共转换 :" + std::to_wstring(run.Renamed + run.Unchanged) +
                                  L"个文件, 未转换 :" + std::to_wstring(run.Failing) + L"个文件")))
        << testing::PrintToString(StatusText());
    // Afterwards the preview shows the list read again.
    WaitForPass();
    EXPECT_EQ(Rows().size(), window->File1().Names().size());
    window.reset();
  }
}

TEST_F(PreviewTest, OpensBesideTheMainWindowAndHides) {
  work.WriteFile(L"a.jpg");
  StartWithMenu(L"\"" + work.Path() + L"\"");
  EXPECT_EQ(Preview(), nullptr);  // made at its first opening
  PressKey(ids::File1, VK_F5, 0);
  ASSERT_TRUE(Shown());
  EXPECT_EQ(WindowText(Preview()), L"预览");
  EXPECT_EQ(GetWindow(Preview(), GW_OWNER), Main());
  EXPECT_TRUE(GetWindowLongW(Preview(), GWL_STYLE) & WS_THICKFRAME);  // resizable
  EXPECT_TRUE(GetWindowLongW(List(), GWL_STYLE) & LVS_OWNERDATA);
  EXPECT_EQ(GetWindowLongW(List(), GWL_STYLE) & LVS_TYPEMASK, static_cast<LONG>(LVS_REPORT));
  const HWND header = reinterpret_cast<HWND>(SendMessageW(List(), LVM_GETHEADER, 0, 0));
  ASSERT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 3);
  const wchar_t* const columns[] = {L"原文件名", L"新文件名", L"状态"};
  for (int i = 0; i < 3; ++i) {
    wchar_t text[32] = L"";
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = 32;
    SendMessageW(header, HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::wstring(text), columns[i]);
  }
  EXPECT_NE(GetForegroundWindow(), Preview());  // the focus stays where the user types

  // Beside the main window wherever it stands, and fully inside the work area.
  MONITORINFO monitor{sizeof(monitor)};
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(Main(), MONITOR_DEFAULTTONEAREST), &monitor));
  const RECT work = monitor.rcWork;
  RECT main{};
  GetWindowRect(Main(), &main);
  const int width = main.right - main.left, height = main.bottom - main.top;
  const POINT places[] = {{main.left, main.top},
                          {work.left, work.top},
                          {work.right - width, work.top},
                          {(work.left + work.right - width) / 2, work.bottom - height},
                          {work.left + 40, (work.top + work.bottom - height) / 2}};
  for (const POINT& at : places) {
    SCOPED_TRACE(testing::Message() << at.x << "," << at.y);
    SetWindowPos(Main(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageW(Preview(), WM_CLOSE, 0, 0);  // the close box hides it
    PumpPending();
    ASSERT_FALSE(Shown());
    ASSERT_NE(Preview(), nullptr);
    choice = ids::menupreview;  // the menu item opens it again
    PressMouse(ids::TextRull, WM_RBUTTONDOWN);
    ASSERT_TRUE(Shown());
    RECT preview{};
    GetWindowRect(Main(), &main);
    GetWindowRect(Preview(), &preview);
    EXPECT_FALSE(Overlap(preview, main));
    EXPECT_TRUE(Inside(preview, work));
    EXPECT_GE(preview.right - preview.left, 320);
  }
  // Esc in the list hides it; F5 from the main window again brings it back, and F5 on it
  // keeps it shown.
  PressKeyTo(List(), VK_ESCAPE);
  EXPECT_FALSE(Shown());
  PressKey(ids::TextPatt, VK_F5, 0);
  EXPECT_TRUE(Shown());
  PressKeyTo(List(), VK_F5);
  EXPECT_TRUE(Shown());
  PressKey(ids::TextRull, VK_F5, kShiftKey);  // only F5 itself
  PressKeyTo(List(), VK_ESCAPE);
  PressKey(ids::TextRull, VK_F5, kShiftKey);
  EXPECT_FALSE(Shown());
}

// Every change of the template or the list starts a pass; the summary says so until its
// result is there, and only the latest pass's result is ever shown.
TEST_F(PreviewTest, FollowsEveryChangeAndNeverShowsAStaleResult) {
  for (const wchar_t* name : {L"a.jpg", L"b.jpg", L"c.txt"}) work.WriteFile(name);
  const std::wstring hidden = work.WriteFile(L"h.jpg");
  ASSERT_TRUE(SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
  TempFolder other;
  other.WriteFile(L"x.jpg");
  StartWithMenu(L"\"" + work.Path() + L"\"");
  OpenPreview();
  EXPECT_EQ(Summary(), L"将转换 0 个文件, 不变 0 个, 将失败 2 个");  // the empty template
  Names texts;
  ASSERT_TRUE(SetWindowSubclass(GetDlgItem(Preview(), ids::PreviewSummary), RecordTexts, 1,
                                reinterpret_cast<DWORD_PTR>(&texts)));
  struct Case {
    const char* What;
    std::function<void()> Act;
    std::wstring Summary;
  };
  const auto type = [&](const std::wstring& keys) {
    for (const wchar_t key : keys) SendMessageW(Control(ids::TextRull), WM_CHAR, key, 1);
  };
  const auto choose = [&](int id) {
    choice = id;
    PressMouse(ids::TextRull, WM_RBUTTONDOWN);
  };
  const Case cases[] = {
      {"keys typed", [&] { type(L"%name%\r%ext%\r"); }, L"将转换 0 个文件, 不变 2 个, 将失败 0 个"},
      {"a token item", [&] { choose(ids::menudd); }, L"将转换 2 个文件, 不变 0 个, 将失败 0 个"},
      {"paste over the whole template",
       [&] {
         SetClipboard(Main(), L"same\r\n.jpg");
         SendMessageW(Control(ids::TextRull), EM_SETSEL, 0, -1);
         choose(ids::menuplast);
       },
       L"将转换 1 个文件, 不变 0 个, 将失败 1 个"},
      {"the hidden-files box", [&] { ClickControl(ids::CheckFileInfo(0)); },
       L"将转换 1 个文件, 不变 0 个, 将失败 2 个"},
      {"the pattern and Enter",
       [&] {
         SetText(ids::TextPatt, L"*.*");
         PressKey(ids::TextPatt, VK_RETURN, 0);
       },
       L"将转换 1 个文件, 不变 0 个, 将失败 3 个"},
      {"Ctrl+V of a folder",
       [&] {
         SetClipboard(Main(), other.Path());
         PressKey(ids::File1, 'V', kCtrlKey);
       },
       L"将转换 1 个文件, 不变 0 个, 将失败 0 个"},
      {"a file gone, then the refresh image",
       [&] {
         DeleteFileW((other / L"x.jpg").c_str());
         ClickControl(ids::ImgRefresh);
       },
       L"将转换 0 个文件, 不变 0 个, 将失败 0 个"},
      {"a pass that ended, its result waiting, when the next change comes",
       [&] {
         other.WriteFile(L"y.jpg");
         // The refresh's pass ends and posts its result, "same.jpg" for y.jpg: 1 renamed...
         SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(ids::ImgRefresh, STN_CLICKED),
                      reinterpret_cast<LPARAM>(Control(ids::ImgRefresh)));
         ASSERT_TRUE(WaitForReadyWithoutHandlingIt());
         // ...then the next change, whose pass is held while that message is handled:
         // only the new pass counts (a trailing dot, refused).
         ASSERT_TRUE(ResetEvent(clockOpen.Get()));
         SetText(ids::TextRull, L"%name%\r\n%date%\r\n.");
         PumpPending();
         SetEvent(clockOpen.Get());
       },
       L"将转换 0 个文件, 不变 0 个, 将失败 1 个"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    WaitForPass();
    texts.clear();
    c.Act();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front(), kChecking);
    WaitForPass();
    for (const std::wstring& text : texts) {
      EXPECT_TRUE(text == kChecking || text == c.Summary) << testing::PrintToString(text);
    }
    EXPECT_EQ(Summary(), c.Summary);
  }
  RemoveWindowSubclass(GetDlgItem(Preview(), ids::PreviewSummary), RecordTexts, 1);
}

TEST_F(PreviewTest, TipOverAnEntryShowsItsNewNameAndWhyItFails) {
  for (const wchar_t* name : {L"a.jpg", L"b.jpg", L"사진.jpg"}) work.WriteFile(name);
  StartOnWork();
  SetText(ids::TextRull, L"%name%\r\n_\r\n%Taxis:6,50%\r\n.jpg");
  EXPECT_EQ(TipOver(0), kChecking);  // before its pass has ended
  EXPECT_TRUE(PumpUntil([&] { return TipOver(0) != kChecking; }));
  EXPECT_EQ(TipOver(0), L"a_.jpg\r\n第 3 行 错误代号 9: 下标越界");
  SetText(ids::TextRull, L"%name%\r\n%ext%");
  EXPECT_TRUE(PumpUntil([&] { return TipOver(2) != kChecking; }));
  EXPECT_EQ(TipOver(2), L"사진.jpg\r\n不变");
  SetText(ids::TextRull, L"same.jpg");
  EXPECT_TRUE(PumpUntil([&] { return TipOver(1) != kChecking; }));
  EXPECT_EQ(TipOver(0), L"same.jpg");
  EXPECT_EQ(TipOver(1), L"same.jpg\r\n错误代号 58: 文件已存在");
  EXPECT_EQ(TipOver(3), L"");  // below the last entry
}

// What the preview showed at each progress line of a run.
struct RunSeen {
  PreviewTest* Test;
  std::vector<std::vector<PreviewRowText>> Rows;
  Names Summaries;
};

LRESULT CALLBACK RecordRows(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR data) {
  auto* seen = reinterpret_cast<RunSeen*>(data);
  if (message == WM_SETTEXT &&
      std::wstring(reinterpret_cast<const wchar_t*>(lParam)).rfind(L"正在转换", 0) == 0) {
    seen->Rows.push_back(seen->Test->Rows());
    seen->Summaries.push_back(seen->Test->Summary());
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

// During a run the preview shows the run's own forecast and can still be opened; at the
// end it shows the list read again.
TEST_F(PreviewTest, DuringARunItShowsTheRunsForecast) {
  for (const wchar_t* name : {L"a.jpg", L"b.jpg", L"c.jpg"}) work.WriteFile(name);
  StartOnWork();
  SetText(ids::TextRull, L"%name%\r\n_\r\n%ext%");
  OpenPreview();
  const std::vector<PreviewRowText> before = Rows();
  ASSERT_EQ(before.size(), 3u);
  RunSeen seen{this, {}, {}};
  ASSERT_TRUE(SetWindowSubclass(Control(ids::LabTitle(1)), RecordRows, 1,
                                reinterpret_cast<DWORD_PTR>(&seen)));
  PressKeyTo(List(), VK_ESCAPE);
  ASSERT_FALSE(Shown());
  PostClick(ids::ImgStart);
  PostMessageW(Control(ids::TextRull), WM_KEYDOWN, VK_F5, 1);  // handled during the run
  PumpPending();
  RemoveWindowSubclass(Control(ids::LabTitle(1)), RecordRows, 1);
  EXPECT_TRUE(Shown());
  ASSERT_FALSE(seen.Rows.empty());
  for (size_t i = 0; i < seen.Rows.size(); ++i) {
    EXPECT_EQ(seen.Summaries[i], L"将转换 3 个文件, 不变 0 个, 将失败 0 个");
    ASSERT_EQ(seen.Rows[i].size(), 3u);
    for (size_t row = 0; row < 3; ++row) EXPECT_EQ(seen.Rows[i][row].New, before[row].New);
  }
  WaitForPass();
  EXPECT_EQ(Summary(), L"将转换 3 个文件, 不变 0 个, 将失败 0 个");
  const std::vector<PreviewRowText> after = Rows();
  ASSERT_EQ(after.size(), 3u);
  EXPECT_EQ(after[0].Old, L"a_.jpg");
  EXPECT_EQ(after[0].New, L"a__.jpg");
}

}  // namespace
}  // namespace tarnivo::test

namespace tarnivo::test {
namespace {

// Real input into the preview's list: a click on a row's check box, Space on the selected
// rows, Ctrl+A, and the right press's menu; the rows, the summary and the run follow.
class PreviewTicksTest : public PreviewTest {
 protected:
  // Screen pixels of row `row`'s check box, found by the list's own hit test.
  POINT CheckBoxOf(int row) const {
    RECT bounds{LVIR_BOUNDS};
    SendMessageW(List(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
    for (int x = bounds.left; x < bounds.left + 40; ++x) {
      LVHITTESTINFO hit{};
      hit.pt = POINT{x, (bounds.top + bounds.bottom) / 2};
      SendMessageW(List(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      if (hit.iItem == row && (hit.flags & LVHT_ONITEMSTATEICON)) {
        ClientToScreen(List(), &hit.pt);
        return hit.pt;
      }
    }
    ADD_FAILURE() << "no check box in row " << row;
    return POINT{};
  }
  void Click(POINT at, bool right = false) {
    ASSERT_TRUE(SetCursorPos(at.x, at.y));
    INPUT clicks[2]{};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(SendInput(2, clicks, sizeof(INPUT)), 2u);
  }
  void Keys(std::initializer_list<std::pair<WORD, bool>> keys) {
    ASSERT_EQ(SendKeys(keys), keys.size());
  }
  std::wstring Statuses() const {
    std::wstring statuses;
    for (const PreviewRowText& row : Rows()) statuses += row.New + L"|" + row.Status + L" ";
    return statuses;
  }
};

TEST_F(PreviewTicksTest, BoxesSpaceAndTheMenuLeaveFilesOutOfTheRun) {
  for (const wchar_t* name : {L"a.jpg", L"b.jpg", L"c.jpg", L"d.jpg"}) work.WriteFile(name);
  StartWithMenu(L"\"" + work.Path() + L"\"");
  SetText(ids::TextRull, L"x_\r\n%Taxis:1,1,1%\r\n.jpg");
  OpenPreview();
  ASSERT_EQ(Summary(), L"将转换 4 个文件, 不变 0 个, 将失败 0 个");
  SetForegroundWindow(Preview());
  PumpPending();

  Click(CheckBoxOf(1));  // b
  ASSERT_TRUE(PumpUntil([&] { return Summary().find(L"不转换 1 个") != std::wstring::npos; }))
      << Summary();
  EXPECT_FALSE(window->File1().IsTicked(1));
  // Space ticks or unticks the selected rows: d, selected by the keyboard as a user would.
  SetFocus(List());
  LVITEMW select{};
  select.stateMask = select.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(List(), LVM_SETITEMSTATE, 3, reinterpret_cast<LPARAM>(&select));
  Keys({{VK_SPACE, false}, {VK_SPACE, true}});
  ASSERT_TRUE(PumpUntil([&] { return Summary().find(L"不转换 2 个") != std::wstring::npos; }))
      << Summary();
  WaitForPass();
  EXPECT_EQ(Summary(), L"将转换 2 个文件, 不变 0 个, 将失败 0 个, 不转换 2 个");
  // Numbered without a gap; the left-out rows grey, their status 不转换.
  EXPECT_EQ(Statuses(), L"x_1.jpg| |不转换 x_2.jpg| |不转换 ");
  EXPECT_EQ(RowColor(1), kGrey);
  EXPECT_EQ(TipOver(3), L"不转换");

  // Ctrl+A selects every row; Space then ticks them all (the lead row, a, was ticked: all
  // go the other way first, then back).
  Keys({{VK_CONTROL, false}, {'A', false}, {'A', true}, {VK_CONTROL, true}});
  ASSERT_TRUE(PumpUntil([&] { return SendMessageW(List(), LVM_GETSELECTEDCOUNT, 0, 0) == 4; }));
  // The right press's menu: 反向勾选 (its third item).
  choice = 3;
  RECT row{LVIR_BOUNDS};
  SendMessageW(List(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  POINT inside{row.left + 60, (row.top + row.bottom) / 2};
  ClientToScreen(List(), &inside);
  Click(inside, /*right=*/true);
  ASSERT_TRUE(PumpUntil([&] { return window->File1().IsTicked(1); }));
  EXPECT_FALSE(window->File1().IsTicked(0));
  choice = 0;
  WaitForPass();
  EXPECT_EQ(Summary(), L"将转换 2 个文件, 不变 0 个, 将失败 0 个, 不转换 2 个");

  // The run leaves a and c alone, renames b and d as x_1 and x_2, and counts only them.
  ClickControl(ids::ImgStart);
  ASSERT_FALSE(window->RunInProgress());
  EXPECT_EQ(FileNamesIn(work.Path()), (Names{L"a.jpg", L"c.jpg", L"x_1.jpg", L"x_2.jpg"}));
  EXPECT_TRUE(IsRunSummary(StatusText(), 2, 0)) << testing::PrintToString(StatusText());
  EXPECT_EQ(window->File1().LeftOut(), 0);  // read again after the run: all ticked
}

}  // namespace
}  // namespace tarnivo::test
