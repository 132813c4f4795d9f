#include "app/layout.h"

#include <commctrl.h>

#include <array>

#include "app/control_ids.h"

namespace tarnivo {

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kLabel = kChild | SS_NOTIFY | SS_LEFT | SS_NOPREFIX;
constexpr DWORD kImage = kChild | SS_NOTIFY | SS_BITMAP;
constexpr DWORD kCheck = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;
// Check boxes sit inside the frame; they are children of the window (so their clicks
// reach it) placed at the frame's corner plus their own offset.
constexpr int kFrameLeft = 360, kFrameTop = 600;

// The file list is made by FileList itself; its place is listed for the layout only.
constexpr std::array kControls{
    ControlSpec{ids::TextPatt, WC_EDITW, L"*.jpg", kChild | WS_TABSTOP | ES_AUTOHSCROLL, 0,
                {360, 1920, 1455, 255}, FontKind::Ui},
    ControlSpec{ids::TextRull, WC_EDITW, L"",
                kChild | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL,
                0, {360, 2880, 2945, 1695}, FontKind::Template},
    ControlSpec{ids::CheckFileInfo(1), WC_BUTTONW, L"系统文件", kCheck, 0,
                {kFrameLeft + 1560, kFrameTop + 240, 1215, 255}, FontKind::Ui},
    ControlSpec{ids::CheckFileInfo(2), WC_BUTTONW, L"只读文件", kCheck, 0,
                {kFrameLeft + 120, kFrameTop + 600, 1215, 255}, FontKind::Ui},
    ControlSpec{ids::CheckFileInfo(3), WC_BUTTONW, L"存档文件", kCheck, 0,
                {kFrameLeft + 1560, kFrameTop + 600, 1215, 255}, FontKind::Ui},
    ControlSpec{ids::CheckFileInfo(0), WC_BUTTONW, L"隐藏文件", kCheck, 0,
                {kFrameLeft + 120, kFrameTop + 240, 1215, 255}, FontKind::Ui},
    ControlSpec{ids::Frame1, WC_BUTTONW, L"", kChild | BS_GROUPBOX, 0,
                {kFrameLeft, kFrameTop, 3015, 1095}, FontKind::Ui},
    ControlSpec{ids::ImgStart, WC_STATICW, L"", kImage, 0, {3840, 4200, 1080, 375}, FontKind::Ui},
    ControlSpec{ids::LabTitle(0), WC_STATICW, L"过滤信息", kLabel, 0, {360, 270, 720, 180},
                FontKind::Header},
    ControlSpec{ids::LabTitle(1), WC_STATICW, L"《Tarnivo》 批量文件改名 · 一键按模板改名", kLabel, 0,
                {240, 5010, 5340, 180}, FontKind::Ui},
    ControlSpec{ids::LabTitle(2), WC_STATICW, L"需要转换的文件", kLabel, 0,
                {3960, 270, 1260, 180}, FontKind::Header},
    ControlSpec{ids::LabTitle(3), WC_STATICW, L"帮助", kLabel, 0, {5880, 5010, 360, 180},
                FontKind::Ui},
    ControlSpec{ids::LabTitle(4), WC_STATICW, L"转换命令", kLabel, 0, {360, 2430, 720, 180},
                FontKind::Header},
    ControlSpec{ids::Labexit, WC_STATICW, L"退出", kLabel, 0, {6480, 5010, 360, 180},
                FontKind::Ui},
    ControlSpec{ids::ImgSetPath, WC_STATICW, L"", kImage, 0, {5880, 4200, 1005, 495},
                FontKind::Ui},
    ControlSpec{ids::ImgRefresh, WC_STATICW, L"", kImage, 0, {2160, 1800, 1005, 495},
                FontKind::Ui},
};

}  // namespace

std::span<const ControlSpec> MainWindowControls() { return kControls; }

RECT ToPixels(const TwipsRect& place, int dpi) {
  const int left = TwipsToPixels(place.left, dpi);
  const int top = TwipsToPixels(place.top, dpi);
  return RECT{left, top, left + TwipsToPixels(place.width, dpi),
              top + TwipsToPixels(place.height, dpi)};
}

}  // namespace tarnivo
