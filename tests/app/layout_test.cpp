// The window's look and layout read back through the Win32 API: what the layout must
// achieve (shared edges, containment, focus order, the client size) at 96 and 144 dpi,
// fonts, colours on the screen, pointers, the resize rules (also after minimise and
// restore and during a run), pictures and a change of DPI and back.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/layout.h"
#include "app/res/resource.h"
#include "tests/app/window_fixture.h"

namespace tarnivo::test {
namespace {

std::string Show(const RECT& r) {
  return "{" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
         std::to_string(r.right) + ", " + std::to_string(r.bottom) + "}";
}

bool Contains(const RECT& outer, const RECT& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

RECT Inflated(RECT r, int by) {
  InflateRect(&r, by, by);
  return r;
}

HBITMAP PictureOf(HWND control) {
  return reinterpret_cast<HBITMAP>(SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
}

SIZE PictureSize(HWND control) {
  BITMAP info{};
  GetObjectW(PictureOf(control), sizeof(info), &info);
  return SIZE{info.bmWidth, info.bmHeight};
}

// The client area as it is on the screen once the paints that are due have been done
// (nothing is repainted that the window did not ask for).
class Screen {
 public:
  explicit Screen(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    RECT client;
    GetClientRect(window, &client);
    width_ = client.right;
    height_ = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(info.bmiHeader), width_, -height_, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC dc = GetDC(window);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width_, height_, dc, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(bits);
    pixels_.assign(pixels, pixels + static_cast<size_t>(width_) * static_cast<size_t>(height_));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, dc);
  }

  COLORREF At(int x, int y) const {
    const uint32_t p =
        pixels_.at(static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x));
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  // The colours of column `x` from row `top` for `count` rows.
  std::vector<COLORREF> Column(int x, int top, int count) const {
    std::vector<COLORREF> column;
    for (int y = top; y < top + count; ++y) column.push_back(At(x, y));
    return column;
  }
  int Count(const RECT& area, COLORREF color) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) count += At(x, y) == color ? 1 : 0;
    }
    return count;
  }

 private:
  int width_ = 0, height_ = 0;
  std::vector<uint32_t> pixels_;
};

std::string ColorText(COLORREF c) {
  return std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," +
         std::to_string(GetBValue(c));
}

class LayoutTest : public WindowTest {
 protected:
  // The children from the top of the z-order down.
  std::vector<HWND> Children() const {
    std::vector<HWND> children;
    for (HWND c = GetWindow(Main(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      children.push_back(c);
    }
    return children;
  }
  // Every control of the layout, the windowless ones included, from the top down.
  static std::vector<int> LayoutIds() {
    std::vector<int> ids;
    for (const ControlSpec& entry : MainWindowControls()) ids.push_back(entry.Id);
    return ids;
  }
  std::map<int, std::string> AllRects() const {
    std::map<int, std::string> rects;
    for (const int id : LayoutIds()) rects[id] = Show(Rect(id));
    return rects;
  }

  // What the layout must give at `dpi`, whatever numbers it is written in.
  void ExpectLayoutRules(int dpi) const {
    RECT client;
    GetClientRect(Main(), &client);
    // Each panel: its sides start at its header strip's corners and meet its bottom line
    // at the line's ends; what belongs to it lies inside.
    struct Panel {
      int Strip, Left, Right, Bottom;
      std::vector<int> Inside;
    };
    const Panel panels[] = {
        {ids::ImgTitle(0),
         ids::LineBorder(0),
         ids::LineBorder(1),
         ids::LineBorder(5),
         {ids::Frame1, ids::ShapeBorder(0), ids::ShapeBorder(1), ids::ImgRefresh,
          ids::ImgTitle(2)}},
        {ids::ImgTitle(3),
         ids::LineBorder(2),
         ids::LineBorder(3),
         ids::LineBorder(4),
         {ids::File1, ids::ImgStart, ids::ImgSetPath}},
    };
    for (const Panel& p : panels) {
      SCOPED_TRACE(p.Strip);
      const RECT strip = Rect(p.Strip), left = Rect(p.Left), right = Rect(p.Right);
      const RECT bottom = Rect(p.Bottom);
      EXPECT_EQ(Show({left.left, left.top, right.right, right.top}),
                Show({strip.left, strip.top, strip.right, strip.top}));
      EXPECT_EQ(Show({left.left, left.bottom, right.right, right.bottom}),
                Show({bottom.left, bottom.bottom, bottom.right, bottom.bottom}));
      for (const int id : p.Inside) {
        EXPECT_TRUE(Contains({left.left, strip.top, right.right, bottom.bottom}, Rect(id))) << id;
      }
    }
    // The bottom strip along the client area's bottom edge, over its full width.
    EXPECT_EQ(Show(Rect(ids::ImgTitle(1))),
              Show({0, client.bottom - (Rect(ids::ImgTitle(3)).bottom - Rect(ids::ImgTitle(3)).top),
                    client.right, client.bottom}));
    // Labels and separators on their strips.
    const std::pair<int, int> onStrips[] = {
        {ids::LabTitle(0), ids::ImgTitle(0)}, {ids::Line1(3), ids::ImgTitle(0)},
        {ids::LabTitle(2), ids::ImgTitle(3)}, {ids::Line1(5), ids::ImgTitle(3)},
        {ids::LabTitle(4), ids::ImgTitle(2)}, {ids::Line1(4), ids::ImgTitle(2)},
        {ids::LabTitle(1), ids::ImgTitle(1)}, {ids::LabTitle(3), ids::ImgTitle(1)},
        {ids::Labexit, ids::ImgTitle(1)},     {ids::Line1(0), ids::ImgTitle(1)},
        {ids::Line1(1), ids::ImgTitle(1)},    {ids::Line1(2), ids::ImgTitle(1)},
    };
    for (const auto& [id, strip] : onStrips) {
      EXPECT_TRUE(Contains(Rect(strip), Rect(id))) << id << " " << Show(Rect(id));
    }
    // The frames two pixels (at 96 dpi) outside the text boxes; the check boxes in theirs.
    EXPECT_EQ(Show(Rect(ids::ShapeBorder(0))), Show(Inflated(Rect(ids::TextPatt), Px(30, dpi))));
    EXPECT_EQ(Show(Rect(ids::ShapeBorder(1))), Show(Inflated(Rect(ids::TextRull), Px(30, dpi))));
    for (int i = 0; i < 4; ++i) {
      EXPECT_TRUE(Contains(Rect(ids::Frame1), Rect(ids::CheckFileInfo(i)))) << i;
    }
    // Everything on the screen inside the client area; the holders of the start pictures
    // below it.
    for (const int id : LayoutIds()) {
      const RECT r = Rect(id);
      if (id == ids::ImgStart2 || id == ids::ImgStart3) {
        EXPECT_GE(r.top, client.bottom) << id;
      } else {
        EXPECT_TRUE(Contains(client, r)) << id << " " << Show(r);
      }
    }
  }
};

TEST_F(LayoutTest, LayoutRulesHoldAt96Dpi) {
  StartOnWork();
  RECT client;
  GetClientRect(Main(), &client);
  EXPECT_EQ(Show(client), "{0, 0, 482, 349}");  // 7230 x 5235 twips
  ExpectLayoutRules(96);
  // Image controls take their pictures' sizes.
  for (const int id : {ids::ImgStart, ids::ImgSetPath, ids::ImgRefresh}) {
    const RECT r = Rect(id);
    const SIZE picture = PictureSize(Control(id));
    EXPECT_EQ(Show({0, 0, r.right - r.left, r.bottom - r.top}),
              Show({0, 0, picture.cx, picture.cy}));
  }
}

TEST_F(LayoutTest, WindowHasAFixedBorderAMinimiseBoxAndIsCentred) {
  StartOnWork();
  const LONG_PTR style = GetWindowLongPtrW(Main(), GWL_STYLE);
  EXPECT_NE(style & WS_CAPTION, 0);
  EXPECT_NE(style & WS_SYSMENU, 0);
  EXPECT_NE(style & WS_MINIMIZEBOX, 0);
  EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
  EXPECT_EQ(style & WS_THICKFRAME, 0);
  RECT window;
  GetWindowRect(Main(), &window);
  EXPECT_LE(std::abs(window.left + window.right - GetSystemMetrics(SM_CXSCREEN)), 1);
  EXPECT_LE(std::abs(window.top + window.bottom - GetSystemMetrics(SM_CYSCREEN)), 1);
}

TEST_F(LayoutTest, FontsAreSongtiWhereDesignedAndTheSystemFontElsewhere) {
  StartOnWork();
  NONCLIENTMETRICSW metrics{sizeof(metrics)};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
  struct Case {
    int Id;
    const wchar_t* Face;  // null: the system's message font
    LONG Height;
  };
  const Case cases[] = {
      {ids::LabTitle(0), L"宋体", -12},    {ids::LabTitle(2), L"宋体", -12},
      {ids::LabTitle(4), L"宋体", -12},    {ids::TextRull, L"宋体", -16},
      {ids::TextPatt, nullptr, 0},         {ids::LabTitle(1), nullptr, 0},
      {ids::LabTitle(3), nullptr, 0},      {ids::Labexit, nullptr, 0},
      {ids::CheckFileInfo(0), nullptr, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Id);
    const LOGFONTW font = ControlFont(c.Id);
    EXPECT_STREQ(font.lfFaceName, c.Face ? c.Face : metrics.lfMessageFont.lfFaceName);
    EXPECT_EQ(font.lfHeight, c.Face ? c.Height : metrics.lfMessageFont.lfHeight);
    if (c.Face) {
      EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
      EXPECT_EQ(font.lfWeight, FW_NORMAL);
    }
  }
}

TEST_F(LayoutTest, CaptionsAndTheStatusLineThatOtherProgramsRead) {
  StartOnWork();
  EXPECT_EQ(WindowText(Main()), L"《Tarnivo》 V 1.0");
  const std::pair<int, const wchar_t*> captions[] = {
      {ids::LabTitle(0), L"过滤信息"}, {ids::LabTitle(2), L"需要转换的文件"},
      {ids::LabTitle(3), L"帮助"},     {ids::LabTitle(4), L"转换命令"},
      {ids::Labexit, L"退出"},
  };
  for (const auto& [id, text] : captions) EXPECT_EQ(Text(id), text) << id;
  // The status line is a static window of its own, which reports presses.
  wchar_t className[32] = L"";
  GetClassNameW(Control(ids::LabTitle(1)), className, 32);
  EXPECT_STREQ(className, L"Static");
  EXPECT_NE(GetWindowLongPtrW(Control(ids::LabTitle(1)), GWL_STYLE) & SS_NOTIFY, 0);
}

// The short labels are as large as their text in their font, whatever the table gives.
TEST_F(LayoutTest, ShortLabelsHaveTheSizeOfTheirText) {
  StartOnWork();
  const HDC screen = GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  for (const int id :
       {ids::LabTitle(0), ids::LabTitle(2), ids::LabTitle(3), ids::LabTitle(4), ids::Labexit}) {
    SCOPED_TRACE(id);
    const HGDIOBJ old = SelectObject(screen, window->ControlFont(id));
    const std::wstring text = Text(id);
    SIZE size{};
    EXPECT_TRUE(GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &size));
    SelectObject(screen, old);
    const RECT r = Rect(id);
    EXPECT_EQ(Show({0, 0, r.right - r.left, r.bottom - r.top}), Show({0, 0, size.cx, size.cy}));
  }
  ReleaseDC(nullptr, screen);
}

// Tab goes down the z-order through the controls with a tab stop, then round again.
TEST_F(LayoutTest, FocusGoesFromTheListThroughTheBoxesToTheCheckBoxes) {
  StartOnWork();
  std::vector<std::pair<int, std::wstring>> order;
  for (HWND child : Children()) {
    if (GetWindowLongPtrW(child, GWL_STYLE) & WS_TABSTOP) {
      order.emplace_back(GetDlgCtrlID(child), WindowText(child));
    }
  }
  EXPECT_EQ(order, (decltype(order){{ids::File1, L""},
                                    {ids::TextPatt, L"*.jpg"},
                                    {ids::TextRull, L""},
                                    {ids::CheckFileInfo(1), L"系统文件"},
                                    {ids::CheckFileInfo(2), L"只读文件"},
                                    {ids::CheckFileInfo(3), L"存档文件"},
                                    {ids::CheckFileInfo(0), L"隐藏文件"}}));
  EXPECT_EQ(GetNextDlgTabItem(Main(), Control(ids::CheckFileInfo(0)), FALSE), Control(ids::File1));
}

TEST_F(LayoutTest, ColoursOnTheScreen) {
  StartOnWork();  // an empty folder: the list shows its background
  const Screen screen(Main());
  struct Case {
    const char* What;
    int X, Y;
    COLORREF Color;
  };
  const Case cases[] = {
      {"window left of the panels", 3, 100, RGB(224, 224, 224)},
      {"window between the panels", 240, 200, RGB(224, 224, 224)},
      {"inside Frame1", 100, 100, RGB(224, 224, 224)},
      {"File1's background", 360, 200, RGB(224, 224, 224)},
      {"TextPatt's background", 118, 137, RGB(190, 203, 204)},
      {"TextRull's background", 100, 290, RGB(190, 203, 204)},
      {"ShapeBorder(0)'s top edge", 60, 126, RGB(192, 192, 192)},
      {"ShapeBorder(0)'s left edge", 22, 135, RGB(192, 192, 192)},
      {"between ShapeBorder(0) and TextPatt", 23, 135, RGB(224, 224, 224)},
      {"ShapeBorder(1)'s bottom edge", 100, 306, RGB(192, 192, 192)},
      {"LineBorder(0)", 8, 200, RGB(128, 128, 128)},
      {"LineBorder(3)", 472, 200, RGB(128, 128, 128)},
      {"LineBorder(5)", 100, 320, RGB(128, 128, 128)},
      {"Line1(3) on its strip", 16, 24, RGB(192, 192, 192)},
      {"Line1(0) on the bottom strip", 424, 340, RGB(192, 192, 192)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ColorText(screen.At(c.X, c.Y)), ColorText(c.Color)) << c.What;
  }
  // Every strip shows the same stretched picture, which is no plain colour.
  const std::vector<COLORREF> strip = screen.Column(200, 16, 18);
  EXPECT_NE(strip.front(), strip.back());
  EXPECT_EQ(screen.Column(200, 160, 18), strip);  // ImgTitle(2)
  EXPECT_EQ(screen.Column(460, 16, 18), strip);   // ImgTitle(3)
  EXPECT_EQ(screen.Column(478, 331, 18), strip);  // ImgTitle(1), on the bottom edge
  // A label paints the strip behind its text: the status label's empty right end looks
  // like the strip beside it.
  const RECT status = Rect(ids::LabTitle(1));
  EXPECT_EQ(screen.Column(status.right - 1, status.top, 12),
            screen.Column(status.right + 2, status.top, 12));
  // Texts in their colours.
  const std::pair<int, COLORREF> texts[] = {
      {ids::LabTitle(0), RGB(0, 128, 0)}, {ids::LabTitle(2), RGB(0, 128, 0)},
      {ids::LabTitle(4), RGB(0, 128, 0)}, {ids::LabTitle(1), RGB(64, 64, 64)},
      {ids::LabTitle(3), RGB(0, 0, 0)},   {ids::Labexit, RGB(0, 0, 0)},
  };
  for (const auto& [id, color] : texts) EXPECT_GT(screen.Count(Rect(id), color), 0) << id;
}

TEST_F(LayoutTest, StatusLabelShowsEachNewText) {
  StartOnWork();
  const RECT status = Rect(ids::LabTitle(1));
  // Pixels of the label's right half that differ from the bare strip beside the label.
  const auto inked = [&] {
    const Screen screen(Main());
    const std::vector<COLORREF> strip =
        screen.Column(status.right + 2, status.top, status.bottom - status.top);
    int count = 0;
    for (int x = (status.left + status.right) / 2; x < status.right; ++x) {
      count += screen.Column(x, status.top, status.bottom - status.top) != strip ? 1 : 0;
    }
    return count;
  };
  SetText(ids::LabTitle(1), L"短");
  EXPECT_EQ(inked(), 0);
  SetText(ids::LabTitle(1), std::wstring(60, L'国'));
  EXPECT_GT(inked(), 0);
}

TEST_F(LayoutTest, PointersOfTheImagesExitAndHelp) {
  StartOnWork();
  const HCURSOR custom = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_POINTER));
  ASSERT_NE(custom, nullptr);
  const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  const HCURSOR help = LoadCursorW(nullptr, IDC_HELP);
  ASSERT_NE(help, arrow);
  struct Case {
    int Id;
    HCURSOR Pointer;
  };
  const Case cases[] = {
      {ids::ImgStart, custom},   {ids::ImgSetPath, custom}, {ids::ImgRefresh, custom},
      {ids::Labexit, custom},    {ids::LabTitle(3), help},  {ids::LabTitle(0), arrow},
      {ids::LabTitle(1), arrow}, {ids::TextPatt, nullptr},  {ids::ImgTitle(1), arrow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Id);
    SetCursor(nullptr);
    // As the system asks when the mouse moves over the control, or over the window where
    // it paints a caption or strip itself. The bottom strip's point lies right of 退出.
    const HWND over = Control(c.Id) ? Control(c.Id) : Main();
    const RECT place = Rect(c.Id);
    POINT at{place.left + 5, place.top + 5};
    if (c.Id == ids::ImgTitle(1)) at.x = Rect(ids::Labexit).right + 2;
    ClientToScreen(Main(), &at);
    ASSERT_TRUE(SetCursorPos(at.x, at.y));
    POINT now{};
    ASSERT_TRUE(GetCursorPos(&now));
    ASSERT_EQ(Show({now.x, now.y, 0, 0}), Show({at.x, at.y, 0, 0}));
    SendMessageW(over, WM_SETCURSOR, reinterpret_cast<WPARAM>(over),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    if (c.Pointer) {
      EXPECT_EQ(GetCursor(), c.Pointer);
    } else {
      EXPECT_NE(GetCursor(), custom);  // the text box's own I-beam
      EXPECT_NE(GetCursor(), help);
    }
  }
}

TEST_F(LayoutTest, ResizeRulesHoldAfterMinimiseAndRestore) {
  StartOnWork();
  const std::map<int, std::string> first = AllRects();
  ShowWindow(Main(), SW_MINIMIZE);
  ASSERT_TRUE(PumpUntil([&] { return IsIconic(Main()) != FALSE; }));
  // Minimised, the rules ran with the client area the system reports.
  RECT client;
  GetClientRect(Main(), &client);
  const RECT bottom = Rect(ids::ImgTitle(1));
  EXPECT_EQ(Show({bottom.left, bottom.right, bottom.bottom}),
            Show({0, client.right, client.bottom}));
  ShowWindow(Main(), SW_RESTORE);
  ASSERT_TRUE(PumpUntil([&] { return !IsIconic(Main()); }));
  EXPECT_EQ(AllRects(), first);
}

TEST_F(LayoutTest, FramesFollowTheTextBoxesAtTheNextResize) {
  StartOnWork();
  MoveWindow(Control(ids::TextPatt), 30, 140, 80, 20, FALSE);
  MoveWindow(Control(ids::TextRull), 40, 200, 150, 90, FALSE);
  SendMessageW(Main(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(482, 349));
  EXPECT_EQ(Show(Rect(ids::ShapeBorder(0))), Show({28, 138, 112, 162}));
  EXPECT_EQ(Show(Rect(ids::ShapeBorder(1))), Show({38, 198, 192, 292}));
}

TEST_F(LayoutTest, ResizeInTheRunningStateKeepsTheRunningPicture) {
  StartOnWork();
  const HBITMAP idle = PictureOf(Control(ids::ImgStart3));
  const HBITMAP running = PictureOf(Control(ids::ImgStart2));
  ASSERT_NE(idle, nullptr);
  ASSERT_NE(running, nullptr);
  ASSERT_NE(idle, running);
  EXPECT_EQ(PictureOf(Control(ids::ImgStart)), idle);
  window->SetRunningState(RunState::Running);
  SendMessageW(Main(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(482, 349));
  EXPECT_EQ(PictureOf(Control(ids::ImgStart)), running);
  window->SetRunningState(RunState::Idle);
  SendMessageW(Main(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(482, 349));
  EXPECT_EQ(PictureOf(Control(ids::ImgStart)), idle);
}

// Calls the function at `data` after each WM_SIZE the window has handled.
LRESULT CALLBACK AfterResize(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR data) {
  const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
  if (message == WM_SIZE) (*reinterpret_cast<std::function<void()>*>(data))();
  return result;
}

TEST_F(LayoutTest, ResizeDuringARunShowsTheRunningPicture) {
  for (const wchar_t* name : {L"a.jpg", L"b.jpg"}) work.WriteFile(name);
  StartOnWork();
  SetText(ids::TextRull, L"%name%\r\n_x\r\n%ext%");
  bool wasRunning = false;
  HBITMAP shown = nullptr;
  std::function<void()> look = [&] {
    wasRunning = window->RunInProgress();
    shown = PictureOf(Control(ids::ImgStart));
  };
  ASSERT_TRUE(SetWindowSubclass(Main(), AfterResize, 1, reinterpret_cast<DWORD_PTR>(&look)));
  PostClick(ids::ImgStart);  // the resize is handled while the run lets events through
  PostMessageW(Main(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(482, 349));
  PumpPending();
  RemoveWindowSubclass(Main(), AfterResize, 1);
  EXPECT_TRUE(wasRunning);
  EXPECT_EQ(shown, PictureOf(Control(ids::ImgStart2)));
  EXPECT_TRUE(FileExists(work / L"a_x.jpg"));
  EXPECT_EQ(PictureOf(Control(ids::ImgStart)), PictureOf(Control(ids::ImgStart3)));
}

TEST_F(LayoutTest, PicturesHaveTheirSizesAndLookDifferent) {
  StartOnWork();
  struct Case {
    int Id;
    LONG Width, Height;
  };
  for (const Case& c : {Case{ids::ImgStart3, 88, 33}, Case{ids::ImgStart2, 88, 33},
                        Case{ids::ImgSetPath, 67, 33}, Case{ids::ImgRefresh, 67, 33}}) {
    SCOPED_TRACE(c.Id);
    const SIZE size = PictureSize(Control(c.Id));
    EXPECT_EQ(size.cx, c.Width);
    EXPECT_EQ(size.cy, c.Height);
  }
  // The running picture is not the idle one recoloured by chance: their pixels differ.
  const auto bits = [](HBITMAP picture) {
    DIBSECTION section{};
    EXPECT_EQ(GetObjectW(picture, sizeof(section), &section), static_cast<int>(sizeof(section)));
    const auto* begin = static_cast<const unsigned char*>(section.dsBm.bmBits);
    return std::vector<unsigned char>(begin, begin + section.dsBmih.biSizeImage);
  };
  EXPECT_NE(bits(PictureOf(Control(ids::ImgStart3))), bits(PictureOf(Control(ids::ImgStart2))));
  EXPECT_NE(bits(PictureOf(Control(ids::ImgSetPath))), bits(PictureOf(Control(ids::ImgRefresh))));

  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const auto strip = static_cast<HBITMAP>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDB_STRIP), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(strip, nullptr);
  DIBSECTION section{};
  GetObjectW(strip, sizeof(section), &section);
  EXPECT_EQ(section.dsBm.bmWidth, 30);
  EXPECT_EQ(section.dsBm.bmHeight, 21);
  EXPECT_EQ(section.dsBm.bmBitsPixel, 24);
  DeleteObject(strip);
}

TEST_F(LayoutTest, IconHasA256Colour32PixelImageAndLargerOnes) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDI_TARNIVO), RT_GROUP_ICON);
  ASSERT_NE(found, nullptr);
  const auto* group =
      static_cast<const unsigned char*>(LockResource(LoadResource(instance, found)));
  ASSERT_NE(group, nullptr);
  // GRPICONDIR: reserved, type 1, count; then 14-byte entries: width, height, colours,
  // reserved, planes, bits per pixel, bytes, id.
  const int count = group[4] | (group[5] << 8);
  std::map<int, int> bitsBySize;
  for (int i = 0; i < count; ++i) {
    const unsigned char* entry = group + 6 + 14 * i;
    const int size = entry[0] == 0 ? 256 : entry[0];
    bitsBySize[size] = entry[6] | (entry[7] << 8);
  }
  EXPECT_EQ(bitsBySize, (std::map<int, int>{{16, 32}, {32, 8}, {48, 32}, {256, 32}}));
  // The window shows it.
  StartOnWork();
  EXPECT_NE(GetClassLongPtrW(Main(), GCLP_HICON),
            reinterpret_cast<ULONG_PTR>(LoadIconW(nullptr, IDI_APPLICATION)));
}

TEST_F(LayoutTest, PointerIs32PixelsWithItsHotSpotOnTheFingerTip) {
  const HCURSOR pointer = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_POINTER));
  ASSERT_NE(pointer, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(pointer, &info));
  BITMAP mask{};
  GetObjectW(info.hbmMask, sizeof(mask), &mask);
  EXPECT_EQ(mask.bmWidth, 32);
  EXPECT_EQ(info.xHotspot, 12u);
  EXPECT_EQ(info.yHotspot, 1u);
  DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
}

TEST_F(LayoutTest, DpiChangeScalesEverythingAndChangingBackRestoresIt) {
  StartOnWork();
  const std::map<int, std::string> at96 = AllRects();
  std::map<int, POINT> corners;
  for (const int id : LayoutIds()) {
    const RECT r = Rect(id);
    corners[id] = POINT{r.left, r.top};
  }
  ChangeDpi(96, 144);
  RECT client;
  GetClientRect(Main(), &client);
  EXPECT_EQ(Show(client), "{0, 0, 723, 524}");
  ExpectLayoutRules(144);
  // Every control keeps its place, one and a half times as far from the corner.
  for (const auto& [id, at] : corners) {
    const RECT r = Rect(id);
    EXPECT_LE(std::abs(2 * r.left - 3 * at.x), 1) << id;
    EXPECT_LE(std::abs(2 * r.top - 3 * at.y), 1) << id;
  }
  // The pictures and fonts are made for the new DPI.
  EXPECT_EQ(
      Show({0, 0, PictureSize(Control(ids::ImgStart)).cx, PictureSize(Control(ids::ImgStart)).cy}),
      "{0, 0, 132, 50}");
  EXPECT_EQ(PictureSize(Control(ids::ImgRefresh)).cx, 101);
  EXPECT_EQ(ControlFont(ids::LabTitle(0)).lfHeight, -18);
  EXPECT_EQ(FontOf(Control(ids::TextRull)).lfHeight, -24);

  ChangeDpi(144, 96);
  EXPECT_EQ(AllRects(), at96);
}

}  // namespace
}  // namespace tarnivo::test
