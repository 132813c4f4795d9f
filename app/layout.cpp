#include "app/layout.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "app/control_ids.h"

namespace tarnivo {

namespace {

// Overlapping siblings (labels on strips, check boxes in their frame, text boxes in their
// borders) must not paint over each other.
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
constexpr DWORD kCheck = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kImage = kChild | SS_NOTIFY | SS_BITMAP;
constexpr DWORD kHolder = kChild | SS_BITMAP;
// Labels react to mouse presses; the decoration is transparent to the mouse.
constexpr DWORD kLabel = kChild | SS_NOTIFY | SS_OWNERDRAW;
constexpr DWORD kDecoration = kChild | SS_OWNERDRAW;

constexpr int kOnePixel = 15;  // twips at 96 dpi
// The check boxes sit in Frame1 at these offsets from its corner; they are children of
// the window itself, so their clicks reach it.
constexpr int kFrameLeft = 360, kFrameTop = 600;

constexpr ControlSpec CheckBox(int index, std::wstring_view text, int left, int top) {
  return {ids::CheckFileInfo(index),
          WC_BUTTONW,
          text,
          kCheck,
          {kFrameLeft + left, kFrameTop + top, 1215, 255}};
}

constexpr ControlSpec Label(int id, std::wstring_view text, TwipsRect place, FontKind font,
                            COLORREF color) {
  return {id, WC_STATICW, text, kLabel, place, font, Paint::Label, color};
}

// The place's size is replaced by the text's.
constexpr ControlSpec Caption(int id, std::wstring_view text, TwipsRect place, FontKind font,
                              COLORREF color) {
  return {id, nullptr, text, 0, place, font, Paint::Caption, color};
}

// Lines include both end points, so the sides and bottom of a panel meet at its corners.
constexpr ControlSpec VerticalLine(int id, int x, int top, int bottom, COLORREF color) {
  return {
      id,           WC_STATICW,  L"",  kDecoration, {x, top, kOnePixel, bottom - top + kOnePixel},
      FontKind::Ui, Paint::Line, color};
}

constexpr ControlSpec HorizontalLine(int id, int y, int left, int right, COLORREF color) {
  return {
      id,           WC_STATICW,  L"",  kDecoration, {left, y, right - left + kOnePixel, kOnePixel},
      FontKind::Ui, Paint::Line, color};
}

constexpr ControlSpec Strip(int index, TwipsRect place) {
  return {ids::ImgTitle(index), WC_STATICW, L"", kDecoration, place, FontKind::Ui, Paint::Strip};
}

constexpr ControlSpec Image(int id, DWORD style, TwipsRect place) {
  return {id, WC_STATICW, L"", style, place};
}

constexpr ControlSpec Shape(int index) {
  return {ids::ShapeBorder(index),
          WC_STATICW,
          L"",
          kDecoration,
          {},
          FontKind::Ui,
          Paint::Frame,
          kShapeColor};
}

constexpr std::array kControls{
    // Focus order: the list, the pattern box, the template box, then the check boxes.
    ControlSpec{ids::File1, nullptr, L"", 0, {3840, 600, 3135, 3510}},
    ControlSpec{ids::TextPatt,
                WC_EDITW,
                L"*.jpg",
                kChild | WS_TABSTOP | ES_AUTOHSCROLL,
                {360, 1920, 1455, 255}},
    ControlSpec{ids::TextRull,
                WC_EDITW,
                L"",
                kChild | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL,
                {360, 2880, 2945, 1695},
                FontKind::Template},
    CheckBox(1, L"系统文件", 1560, 240),
    CheckBox(2, L"只读文件", 120, 600),
    CheckBox(3, L"存档文件", 1560, 600),
    CheckBox(0, L"隐藏文件", 120, 240),
    // Below its check boxes.
    ControlSpec{
        ids::Frame1, WC_BUTTONW, L"", kChild | BS_GROUPBOX, {kFrameLeft, kFrameTop, 3015, 1095}},

    // Above the strips they sit on. The status line is a window of its own: other programs
    // (and the end-to-end tests) read it.
    Caption(ids::LabTitle(0), L"过滤信息", {360, 270, 720, 180}, FontKind::Header,
            kHeaderTextColor),
    Label(ids::LabTitle(1), L"《Tarnivo》 批量文件改名 · 一键按模板改名", {240, 5010, 5340, 180},
          FontKind::Ui, kStatusTextColor),
    Caption(ids::LabTitle(2), L"需要转换的文件", {3960, 270, 1260, 180}, FontKind::Header,
            kHeaderTextColor),
    Caption(ids::LabTitle(3), L"帮助", {5880, 5010, 360, 180}, FontKind::Ui, kPlainTextColor),
    Caption(ids::LabTitle(4), L"转换命令", {360, 2430, 720, 180}, FontKind::Header,
            kHeaderTextColor),
    Caption(ids::Labexit, L"退出", {6480, 5010, 360, 180}, FontKind::Ui, kPlainTextColor),

    // ImgStart takes the size of the picture it is given; the holders lie below the
    // visible client area.
    Image(ids::ImgStart, kImage, {3840, 4200, 1080, 375}),
    Image(ids::ImgSetPath, kImage, {5880, 4200, 1005, 495}),
    Image(ids::ImgRefresh, kImage, {2160, 1800, 1005, 495}),
    Image(ids::ImgStart3, kHolder, {3360, 5880, 1320, 495}),
    Image(ids::ImgStart2, kHolder, {4800, 5880, 1320, 495}),

    VerticalLine(ids::Line1(0), 6360, 5040, 5160, kShapeColor),
    VerticalLine(ids::Line1(1), 5760, 5040, 5160, kShapeColor),
    VerticalLine(ids::Line1(2), 120, 5040, 5160, kShapeColor),
    VerticalLine(ids::Line1(3), 240, 300, 420, kShapeColor),
    VerticalLine(ids::Line1(4), 240, 2460, 2575, kShapeColor),
    VerticalLine(ids::Line1(5), 3840, 300, 420, kShapeColor),
    VerticalLine(ids::LineBorder(0), 120, 240, 4800, kPanelBorderColor),
    VerticalLine(ids::LineBorder(1), 3480, 240, 4800, kPanelBorderColor),
    VerticalLine(ids::LineBorder(2), 3720, 240, 4800, kPanelBorderColor),
    VerticalLine(ids::LineBorder(3), 7080, 240, 4800, kPanelBorderColor),
    HorizontalLine(ids::LineBorder(4), 4800, 3720, 7080, kPanelBorderColor),
    HorizontalLine(ids::LineBorder(5), 4800, 120, 3480, kPanelBorderColor),

    // Below the labels and lines drawn on them.
    Strip(0, {120, 240, 3375, 270}),
    Strip(1, {0, 5040, 6975, 270}),
    Strip(2, {120, 2400, 3375, 270}),
    Strip(3, {3720, 240, 3375, 270}),

    // At the bottom: the text boxes cover their insides.
    Shape(0),
    Shape(1),
};

}  // namespace

std::span<const ControlSpec> MainWindowControls() { return kControls; }

const ControlSpec* FindControl(int id) {
  const auto found = std::find_if(kControls.begin(), kControls.end(),
                                  [id](const ControlSpec& entry) { return entry.Id == id; });
  return found == kControls.end() ? nullptr : &*found;
}

}  // namespace tarnivo
