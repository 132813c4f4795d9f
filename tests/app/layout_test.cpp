// The window's look and layout read back through the Win32 API: every control's place and
// size, the window's border and client area, fonts, colours on the screen, pointers, focus
// order, the resize rules (also after minimise and restore and during a run), pictures,
// and a change to 144 dpi and back.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/res/resource.h"
#include "tests/app/window_fixture.h"

namespace tarnivo::test {
namespace {

// How a control's size is decided.
enum class Sized {
  ByTable,    // the width and height below
  ByPicture,  // the picture it is given (image controls are not stretched)
  ByText,     // its text in its font
};

// A control's place in twips, as designed. Check boxes are placed in Frame1.
struct Place {
  int id;
  const char* name;
  int left, top, width, height;
  Sized sized = Sized::ByTable;
  bool inFrame = false;
};

// Lines are one pixel thick and include both end points.
constexpr int kPixelTwips = 15;
constexpr Place VerticalLine(int id, const char* name, int x, int top, int bottom) {
  return {id, name, x, top, kPixelTwips, bottom - top + kPixelTwips};
}
constexpr Place HorizontalLine(int id, const char* name, int y, int left, int right) {
  return {id, name, left, y, right - left + kPixelTwips, kPixelTwips};
}

// Every control of the window after the first display, in twips.
const Place kPlaces[] = {
    {ids::Frame1, "Frame1", 360, 600, 3015, 1095},
    {ids::CheckFileInfo(0), "CheckFileInfo(0)", 120, 240, 1215, 255, Sized::ByTable, true},
    {ids::CheckFileInfo(1), "CheckFileInfo(1)", 1560, 240, 1215, 255, Sized::ByTable, true},
    {ids::CheckFileInfo(2), "CheckFileInfo(2)", 120, 600, 1215, 255, Sized::ByTable, true},
    {ids::CheckFileInfo(3), "CheckFileInfo(3)", 1560, 600, 1215, 255, Sized::ByTable, true},
    {ids::TextRull, "TextRull", 360, 2880, 2945, 1695},
    {ids::TextPatt, "TextPatt", 360, 1920, 1455, 255},
    {ids::File1, "File1", 3840, 600, 3135, 3510},
    VerticalLine(ids::Line1(0), "Line1(0)", 6360, 5040, 5160),
    VerticalLine(ids::Line1(1), "Line1(1)", 5760, 5040, 5160),
    VerticalLine(ids::Line1(2), "Line1(2)", 120, 5040, 5160),
    VerticalLine(ids::Line1(3), "Line1(3)", 240, 300, 420),
    VerticalLine(ids::Line1(4), "Line1(4)", 240, 2460, 2575),
    VerticalLine(ids::Line1(5), "Line1(5)", 3840, 300, 420),
    {ids::ImgStart3, "ImgStart3", 3360, 5880, 1320, 495, Sized::ByPicture},
    {ids::ImgStart2, "ImgStart2", 4800, 5880, 1320, 495, Sized::ByPicture},
    {ids::ImgStart, "ImgStart", 3840, 4200, 1080, 375, Sized::ByPicture},
    VerticalLine(ids::LineBorder(0), "LineBorder(0)", 120, 240, 4800),
    VerticalLine(ids::LineBorder(1), "LineBorder(1)", 3480, 240, 4800),
    VerticalLine(ids::LineBorder(2), "LineBorder(2)", 3720, 240, 4800),
    VerticalLine(ids::LineBorder(3), "LineBorder(3)", 7080, 240, 4800),
    HorizontalLine(ids::LineBorder(4), "LineBorder(4)", 4800, 3720, 7080),
    HorizontalLine(ids::LineBorder(5), "LineBorder(5)", 4800, 120, 3480),
    {ids::LabTitle(0), "LabTitle(0)", 360, 270, 720, 180, Sized::ByText},
    {ids::LabTitle(1), "LabTitle(1)", 240, 5010, 5340, 180},
    {ids::LabTitle(2), "LabTitle(2)", 3960, 270, 1260, 180, Sized::ByText},
    {ids::LabTitle(3), "LabTitle(3)", 5880, 5010, 360, 180, Sized::ByText},
    {ids::LabTitle(4), "LabTitle(4)", 360, 2430, 720, 180, Sized::ByText},
    {ids::Labexit, "Labexit", 6480, 5010, 360, 180, Sized::ByText},
    {ids::ImgTitle(0), "ImgTitle(0)", 120, 240, 3375, 270},
    {ids::ImgTitle(1), "ImgTitle(1)", 0, 4965, 7230, 270},  // moved by the resize rules
    {ids::ImgTitle(2), "ImgTitle(2)", 120, 2400, 3375, 270},
    {ids::ImgTitle(3), "ImgTitle(3)", 3720, 240, 3375, 270},
    {ids::ShapeBorder(0), "ShapeBorder(0)", 330, 1890, 1515, 315},
    {ids::ShapeBorder(1), "ShapeBorder(1)", 330, 2850, 3005, 1755},
    {ids::ImgSetPath, "ImgSetPath", 5880, 4200, 1005, 495, Sized::ByPicture},
    {ids::ImgRefresh, "ImgRefresh", 2160, 1800, 1005, 495, Sized::ByPicture},
};

// Twips to pixels, nearest pixel, a half rounded up.
int Px(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

std::string Describe(const RECT& r) {
  return "{" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
         std::to_string(r.right) + ", " + std::to_string(r.bottom) + "}";
}

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

SIZE TextSize(HWND control) {
  const std::wstring text = WindowText(control);
  HDC dc = GetDC(nullptr);
  const HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return size;
}

SIZE PictureSize(HWND control) {
  BITMAP info{};
  const auto picture =
      reinterpret_cast<HBITMAP>(SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
  if (!picture || !GetObjectW(picture, sizeof(info), &info)) return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight};
}

LOGFONTW FontOf(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
  return font;
}

HBITMAP PictureOf(HWND control) {
  return reinterpret_cast<HBITMAP>(SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
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
  // A control's rectangle in the client area of the window.
  RECT Rect(int id) const {
    RECT r{};
    GetWindowRect(Control(id), &r);
    MapWindowPoints(nullptr, Main(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  std::map<int, RECT> AllRects() const {
    std::map<int, RECT> rects;
    for (const Place& p : kPlaces) rects[p.id] = Rect(p.id);
    return rects;
  }

  // Compares every control with the table at `dpi`.
  void ExpectTable(int dpi) const {
    const RECT frame = Rect(ids::Frame1);
    for (const Place& p : kPlaces) {
      SCOPED_TRACE(p.name);
      RECT got = Rect(p.id);
      if (p.inFrame) OffsetRect(&got, -frame.left, -frame.top);
      RECT want{Px(p.left, dpi), Px(p.top, dpi), Px(p.left + p.width, dpi),
                Px(p.top + p.height, dpi)};
      if (p.sized == Sized::ByPicture) {
        const SIZE picture = PictureSize(Control(p.id));
        EXPECT_GT(picture.cx, 0);
        want.right = want.left + picture.cx;
        want.bottom = want.top + picture.cy;
      } else if (p.sized == Sized::ByText) {
        const SIZE text = TextSize(Control(p.id));
        EXPECT_GT(text.cx, 0);
        want.right = want.left + text.cx;
        want.bottom = want.top + text.cy;
      }
      EXPECT_TRUE(Same(got, want)) << "got " << Describe(got) << ", want " << Describe(want);
    }
  }
};

TEST_F(LayoutTest, EveryControlSitsWhereTheTableSaysAt96Dpi) {
  StartOnWork();
  ExpectTable(96);
  // A few places spelled out in pixels, so the table's conversion is checked too.
  EXPECT_TRUE(Same(Rect(ids::TextPatt), RECT{24, 128, 121, 145}));
  EXPECT_TRUE(Same(Rect(ids::ShapeBorder(1)), RECT{22, 190, 222, 307}));
  EXPECT_TRUE(Same(Rect(ids::ImgTitle(1)), RECT{0, 331, 482, 349}));
  // ImgStart takes its 88 x 33 picture's size, not the 72 x 25 of its design.
  EXPECT_TRUE(Same(Rect(ids::ImgStart), RECT{256, 280, 344, 313}));
}

TEST_F(LayoutTest, WindowHasAFixedBorderAMinimiseBoxAndItsClientArea) {
  StartOnWork();
  RECT client;
  GetClientRect(Main(), &client);
  EXPECT_EQ(client.right, 482);
  EXPECT_EQ(client.bottom, 349);
  const LONG_PTR style = GetWindowLongPtrW(Main(), GWL_STYLE);
  EXPECT_NE(style & WS_CAPTION, 0);
  EXPECT_NE(style & WS_SYSMENU, 0);
  EXPECT_NE(style & WS_MINIMIZEBOX, 0);
  EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
  EXPECT_EQ(style & WS_THICKFRAME, 0);
  // Centred on the screen.
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
    int id;
    const wchar_t* face;  // null: the system's message font
    LONG height;
  };
  const Case cases[] = {
      {ids::LabTitle(0), L"宋体", -12},    {ids::LabTitle(2), L"宋体", -12},
      {ids::LabTitle(4), L"宋体", -12},    {ids::TextRull, L"宋体", -16},
      {ids::TextPatt, nullptr, 0},         {ids::LabTitle(1), nullptr, 0},
      {ids::LabTitle(3), nullptr, 0},      {ids::Labexit, nullptr, 0},
      {ids::CheckFileInfo(0), nullptr, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    const LOGFONTW font = FontOf(Control(c.id));
    if (c.face) {
      EXPECT_STREQ(font.lfFaceName, c.face);
      EXPECT_EQ(font.lfHeight, c.height);
      EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
      EXPECT_EQ(font.lfWeight, FW_NORMAL);
    } else {
      EXPECT_STREQ(font.lfFaceName, metrics.lfMessageFont.lfFaceName);
      EXPECT_EQ(font.lfHeight, metrics.lfMessageFont.lfHeight);
    }
  }
}

TEST_F(LayoutTest, LabelsAreStaticControlsThatReportPresses) {
  StartOnWork();
  for (int id : {ids::LabTitle(0), ids::LabTitle(1), ids::LabTitle(2), ids::LabTitle(3),
                 ids::LabTitle(4), ids::Labexit}) {
    SCOPED_TRACE(id);
    wchar_t className[32] = L"";
    GetClassNameW(Control(id), className, 32);
    EXPECT_STREQ(className, L"Static");
    EXPECT_NE(GetWindowLongPtrW(Control(id), GWL_STYLE) & SS_NOTIFY, 0);
  }
  EXPECT_EQ(Text(ids::LabTitle(0)), L"过滤信息");
  EXPECT_EQ(Text(ids::LabTitle(2)), L"需要转换的文件");
  EXPECT_EQ(Text(ids::LabTitle(3)), L"帮助");
  EXPECT_EQ(Text(ids::LabTitle(4)), L"转换命令");
  EXPECT_EQ(Text(ids::Labexit), L"退出");
}

TEST_F(LayoutTest, FocusGoesFromTheListThroughTheBoxesToTheCheckBoxes) {
  StartOnWork();
  const int order[] = {ids::File1,
                       ids::TextPatt,
                       ids::TextRull,
                       ids::CheckFileInfo(1),
                       ids::CheckFileInfo(2),
                       ids::CheckFileInfo(3),
                       ids::CheckFileInfo(0),
                       ids::File1};
  for (size_t i = 0; i + 1 < std::size(order); ++i) {
    EXPECT_EQ(GetNextDlgTabItem(Main(), Control(order[i]), FALSE), Control(order[i + 1])) << i;
  }
}

TEST_F(LayoutTest, ColoursOnTheScreen) {
  StartOnWork();  // an empty folder: the list shows its background
  const Screen screen(Main());
  struct Case {
    const char* what;
    int x, y;
    COLORREF color;
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
    EXPECT_EQ(ColorText(screen.At(c.x, c.y)), ColorText(c.color)) << c.what;
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
  EXPECT_GT(screen.Count(Rect(ids::LabTitle(0)), RGB(0, 128, 0)), 0);
  EXPECT_GT(screen.Count(Rect(ids::LabTitle(1)), RGB(64, 64, 64)), 0);
  EXPECT_GT(screen.Count(Rect(ids::Labexit), RGB(0, 0, 0)), 0);
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
    int id;
    HCURSOR pointer;
  };
  const Case cases[] = {
      {ids::ImgStart, custom},   {ids::ImgSetPath, custom}, {ids::ImgRefresh, custom},
      {ids::Labexit, custom},    {ids::LabTitle(3), help},  {ids::LabTitle(0), arrow},
      {ids::LabTitle(1), arrow}, {ids::TextPatt, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    SetCursor(nullptr);
    // As the system asks when the mouse moves over the control.
    SendMessageW(Control(c.id), WM_SETCURSOR, reinterpret_cast<WPARAM>(Control(c.id)),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    if (c.pointer) {
      EXPECT_EQ(GetCursor(), c.pointer);
    } else {
      EXPECT_NE(GetCursor(), custom);  // the text box's own I-beam
      EXPECT_NE(GetCursor(), help);
    }
  }
}

TEST_F(LayoutTest, ResizeRulesHoldAfterMinimiseAndRestore) {
  StartOnWork();
  const std::map<int, RECT> first = AllRects();
  ShowWindow(Main(), SW_MINIMIZE);
  ASSERT_TRUE(PumpUntil([&] { return IsIconic(Main()) != FALSE; }));
  // Minimised, the rules ran with the client area the system reports.
  RECT client;
  GetClientRect(Main(), &client);
  const RECT bottom = Rect(ids::ImgTitle(1));
  EXPECT_EQ(bottom.left, 0);
  EXPECT_EQ(bottom.right, client.right);
  EXPECT_EQ(bottom.bottom, client.bottom);
  ShowWindow(Main(), SW_RESTORE);
  ASSERT_TRUE(PumpUntil([&] { return !IsIconic(Main()); }));
  PumpPending();
  const std::map<int, RECT> restored = AllRects();
  for (const Place& p : kPlaces) {
    EXPECT_TRUE(Same(restored.at(p.id), first.at(p.id)))
        << p.name << ": " << Describe(restored.at(p.id)) << " after, " << Describe(first.at(p.id))
        << " before";
  }
}

TEST_F(LayoutTest, FramesFollowTheTextBoxesAtTheNextResize) {
  StartOnWork();
  MoveWindow(Control(ids::TextPatt), 30, 140, 80, 20, FALSE);
  MoveWindow(Control(ids::TextRull), 40, 200, 150, 90, FALSE);
  SendMessageW(Main(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(482, 349));
  EXPECT_TRUE(Same(Rect(ids::ShapeBorder(0)), RECT{28, 138, 112, 162}))
      << Describe(Rect(ids::ShapeBorder(0)));
  EXPECT_TRUE(Same(Rect(ids::ShapeBorder(1)), RECT{38, 198, 192, 292}))
      << Describe(Rect(ids::ShapeBorder(1)));
}

TEST_F(LayoutTest, ResizeInTheRunningStateKeepsTheRunningPicture) {
  StartOnWork();
  const HBITMAP idle = PictureOf(Control(ids::ImgStart3));
  const HBITMAP running = PictureOf(Control(ids::ImgStart2));
  ASSERT_NE(idle, nullptr);
  ASSERT_NE(running, nullptr);
  ASSERT_NE(idle, running);
  EXPECT_EQ(PictureOf(Control(ids::ImgStart)), idle);
  window->SetRunningState(0);
  SendMessageW(Main(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(482, 349));
  EXPECT_EQ(PictureOf(Control(ids::ImgStart)), running);
  window->SetRunningState(1);
  SendMessageW(Main(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(482, 349));
  EXPECT_EQ(PictureOf(Control(ids::ImgStart)), idle);
}

// Sees the start picture at the moment a posted message reaches it.
class Probe {
 public:
  explicit Probe(std::function<void()> onMessage) : onMessage_(std::move(onMessage)) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TarnivoLayoutProbe";
    RegisterClassW(&windowClass);  // already there from an earlier test is fine
    hwnd_ = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            windowClass.hInstance, nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  Probe(const Probe&) = delete;
  Probe& operator=(const Probe&) = delete;
  ~Probe() { DestroyWindow(hwnd_); }
  HWND Handle() const { return hwnd_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Probe*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && message == WM_APP) {
      self->onMessage_();
      return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  HWND hwnd_;
  std::function<void()> onMessage_;
};

TEST_F(LayoutTest, ResizeDuringARunShowsTheRunningPicture) {
  for (const wchar_t* name : {L"a.jpg", L"b.jpg"}) work.WriteFile(name);
  StartOnWork();
  SetText(ids::TextRull, L"%name%\r\n_x\r\n%ext%");
  bool seen = false, wasRunning = false;
  HBITMAP shown = nullptr;
  Probe probe([&] {
    seen = true;
    wasRunning = window->RunInProgress();
    shown = PictureOf(Control(ids::ImgStart));
  });
  // Handled while the run lets events through: the resize, then the probe.
  PostMessageW(Control(ids::ImgStart), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(Control(ids::ImgStart), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PostMessageW(Main(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(482, 349));
  PostMessageW(probe.Handle(), WM_APP, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return seen && !window->RunInProgress(); }));
  EXPECT_TRUE(wasRunning);
  EXPECT_EQ(shown, PictureOf(Control(ids::ImgStart2)));
  EXPECT_TRUE(FileExists(work / L"a_x.jpg"));
  EXPECT_EQ(PictureOf(Control(ids::ImgStart)), PictureOf(Control(ids::ImgStart3)));
}

TEST_F(LayoutTest, PicturesHaveTheirSizesAndLookDifferent) {
  StartOnWork();
  struct Case {
    int id;
    LONG width, height;
  };
  for (const Case& c : {Case{ids::ImgStart3, 88, 33}, Case{ids::ImgStart2, 88, 33},
                        Case{ids::ImgSetPath, 67, 33}, Case{ids::ImgRefresh, 67, 33}}) {
    SCOPED_TRACE(c.id);
    const SIZE size = PictureSize(Control(c.id));
    EXPECT_EQ(size.cx, c.width);
    EXPECT_EQ(size.cy, c.height);
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
  const std::map<int, RECT> at96 = AllRects();
  RECT window;
  GetWindowRect(Main(), &window);
  RECT suggested{window.left, window.top, window.left + (window.right - window.left) * 3 / 2,
                 window.top + (window.bottom - window.top) * 3 / 2};
  SendMessageW(Main(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  PumpPending();
  RECT client;
  GetClientRect(Main(), &client);
  EXPECT_EQ(client.right, 723);
  EXPECT_EQ(client.bottom, 524);
  ExpectTable(144);
  // The pictures are made for the new DPI, one and a half times as large.
  EXPECT_EQ(PictureSize(Control(ids::ImgStart)).cx, 132);
  EXPECT_EQ(PictureSize(Control(ids::ImgStart)).cy, 50);
  EXPECT_EQ(PictureSize(Control(ids::ImgRefresh)).cx, 101);
  EXPECT_EQ(FontOf(Control(ids::LabTitle(0))).lfHeight, -18);
  EXPECT_EQ(FontOf(Control(ids::TextRull)).lfHeight, -24);

  GetWindowRect(Main(), &window);
  suggested = RECT{window.left, window.top, window.left + (window.right - window.left) * 2 / 3,
                   window.top + (window.bottom - window.top) * 2 / 3};
  SendMessageW(Main(), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
  PumpPending();
  const std::map<int, RECT> back = AllRects();
  for (const Place& p : kPlaces) {
    EXPECT_TRUE(Same(back.at(p.id), at96.at(p.id))) << p.name << ": " << Describe(back.at(p.id));
  }
  GetClientRect(Main(), &client);
  EXPECT_EQ(client.right, 482);
  EXPECT_EQ(client.bottom, 349);
}

}  // namespace
}  // namespace tarnivo::test
