// The window's look: every control of the layout table at its place, in its font, with its
// picture and pointer; the decoration the window paints itself; the resize rules
// (`Form_Resize`) and a move to a monitor of another DPI.
#include <string>
#include <string_view>
#include <utility>

#include "app/control_ids.h"
#include "app/layout.h"
#include "app/main_window.h"
#include "app/pictures.h"
#include "win/fonts.h"
#include "win/window_text.h"

namespace tarnivo {

namespace {

// The frames around the two text boxes stand this far outside them.
constexpr int kShapeMarginTwips = 30;
constexpr int kTextMarginTwips = 30;  // inside the text boxes, left and right

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

SIZE PixelSize(const TwipsRect& place, int dpi) {
  const RECT r = ToPixels(place, dpi);
  return SIZE{Width(r), Height(r)};
}

void FillSolid(HDC dc, const RECT& r, COLORREF color) {
  SetBkColor(dc, color);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

// A label's or caption's text, on what lies under it; the DC's state is left as it was.
void DrawPlainText(HDC dc, HFONT font, COLORREF color, std::wstring_view text, RECT box,
                   UINT extraFormat) {
  const SelectedObject selected(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColor = SetTextColor(dc, color);
  DrawTextW(dc, text.data(), static_cast<int>(text.size()), &box,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | extraFormat);
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
}

void FrameSolid(HDC dc, const RECT& r, COLORREF color) {
  FillSolid(dc, {r.left, r.top, r.right, r.top + 1}, color);
  FillSolid(dc, {r.left, r.bottom - 1, r.right, r.bottom}, color);
  FillSolid(dc, {r.left, r.top, r.left + 1, r.bottom}, color);
  FillSolid(dc, {r.right - 1, r.top, r.right, r.bottom}, color);
}

void SetPicture(HWND control, HBITMAP picture) {
  SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
}

}  // namespace

bool MainWindow::CreateLayoutControls() {
  dpi_ = WindowDpi(hwnd_);
  SizeWindowToClient();
  RECT frame;
  if (GetWindowRect(hwnd_, &frame)) {  // centred on the screen
    SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - Width(frame)) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - Height(frame)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  CreateFonts();
  CreatePictures();
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const WindowDc measuring(hwnd_);
  for (const ControlSpec& entry : MainWindowControls()) {
    const RECT r = ControlPlace(entry, measuring.Get());
    if (IsWindowless(entry.Painting)) {
      windowless_[entry.Id] = r;
      continue;
    }
    if (!entry.WindowClass) {
      if (!file1_.Create(hwnd_, entry.Id, r)) return false;
      continue;
    }
    const std::wstring text(entry.Text);
    const HWND control = CreateWindowExW(
        0, entry.WindowClass, text.c_str(), entry.Style, r.left, r.top, Width(r), Height(r), hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.Id)), instance, nullptr);
    if (!control) return false;
  }
  pointers_[ids::ImgRefresh] = LoadPointer(instance);
  pointers_[ids::LabTitle(3)] = LoadCursorW(nullptr, IDC_HELP);
  ApplyFontsAndPictures();
  Form_Resize();  // the first display
  return true;
}

void MainWindow::CreateFonts() {
  uiFont_ = MakeMessageFont(dpi_);
  if (!uiFont_) uiFont_.Reset(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  headerFont_ = MakeFont(L"宋体", 9, dpi_, GB2312_CHARSET);
  templateFont_ = MakeFont(L"宋体", 12, dpi_, GB2312_CHARSET);
}

void MainWindow::CreatePictures() {
  // Each picture has the size of the control that holds it.
  const PictureSizes sizes{PixelSize(FindControl(ids::ImgStart3)->Place, dpi_),
                           PixelSize(FindControl(ids::ImgSetPath)->Place, dpi_)};
  pictures_ = LoadWindowPictures(GetModuleHandleW(nullptr), sizes);
}

void MainWindow::ApplyFontsAndPictures() {
  for (const ControlSpec& entry : MainWindowControls()) {
    if (IsWindowless(entry.Painting)) continue;
    const HFONT font = FontOf(entry.Font);
    if (entry.Id == ids::File1) {
      file1_.SetFont(font);  // also sets the row height
    } else {
      SendMessageW(Control(entry.Id), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
  }
  // The text boxes have no border of their own: keep their text off the edges.
  const int margin = TwipsToPixels(kTextMarginTwips, dpi_);
  for (const int id : {ids::TextPatt, ids::TextRull}) {
    SendMessageW(Control(id), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                 MAKELPARAM(margin, margin));
  }
  // Image controls take the size of their pictures.
  SetPicture(Control(ids::ImgStart3), pictures_.StartIdle.Get());
  SetPicture(Control(ids::ImgStart2), pictures_.StartRunning.Get());
  SetPicture(Control(ids::ImgSetPath), pictures_.SetPath.Get());
  SetPicture(Control(ids::ImgRefresh), pictures_.Refresh.Get());
  stripPictures_[0] = pictures_.Strip.Get();
}

HFONT MainWindow::FontOf(FontKind kind) const {
  return kind == FontKind::Header     ? headerFont_.Get()
         : kind == FontKind::Template ? templateFont_.Get()
                                      : uiFont_.Get();
}

// A control's place at the window's DPI. A caption has the size of its text in its font,
// measured on `dc`.
RECT MainWindow::ControlPlace(const ControlSpec& entry, HDC dc) const {
  RECT place = ToPixels(entry.Place, dpi_);
  if (entry.Painting != Paint::Caption || !dc) return place;  // without a DC: the table's size
  const HFONT font = FontOf(entry.Font);
  const SelectedObject selected(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  SIZE size{};
  if (!GetTextExtentPoint32W(dc, entry.Text.data(), static_cast<int>(entry.Text.size()), &size)) {
    return place;  // the size of the table
  }
  place.right = place.left + size.cx;
  place.bottom = place.top + size.cy;
  return place;
}

// The client area of 7230 x 5235 twips at the window's DPI, whatever the frame measures.
void MainWindow::SizeWindowToClient() {
  if (IsIconic(hwnd_)) return;  // a minimised window reports no client area to measure by
  RECT window, client;
  if (!GetWindowRect(hwnd_, &window) || !GetClientRect(hwnd_, &client)) return;
  const int width = TwipsToPixels(kClientWidthTwips, dpi_) + Width(window) - Width(client);
  const int height = TwipsToPixels(kClientHeightTwips, dpi_) + Height(window) - Height(client);
  SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT MainWindow::PlaceOf(int id) const {
  const auto windowless = windowless_.find(id);
  return windowless != windowless_.end() ? windowless->second : ClientRectOf(Control(id));
}

std::wstring MainWindow::ControlText(int id) const {
  const ControlSpec* entry = FindControl(id);
  if (entry && entry->Painting == Paint::Caption) return std::wstring(entry->Text);
  return WindowText(Control(id));
}

HFONT MainWindow::ControlFont(int id) const {
  const ControlSpec* entry = FindControl(id);
  if (entry && IsWindowless(entry->Painting)) return FontOf(entry->Font);
  return reinterpret_cast<HFONT>(SendMessageW(Control(id), WM_GETFONT, 0, 0));
}

int MainWindow::CaptionAt(POINT at) const {
  for (const ControlSpec& entry : MainWindowControls()) {  // the top of the z-order first
    if (entry.Painting != Paint::Caption) continue;
    const auto place = windowless_.find(entry.Id);
    if (place != windowless_.end() && PtInRect(&place->second, at)) return entry.Id;
  }
  return 0;
}

RECT MainWindow::ClientRectOf(HWND control) const {
  RECT r{};
  if (!control || !GetWindowRect(control, &r)) return RECT{};
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The layout rules, in this order, on every resize, minimise and restore.
void MainWindow::Form_Resize() {
  if (!Control(ids::ImgStart)) return;  // a resize while the window is being created
  const int margin = TwipsToPixels(kShapeMarginTwips, dpi_);
  // 1 and 2: the frames around the pattern box and the template box.
  for (const auto& [shape, box] : {std::pair{ids::ShapeBorder(0), ids::TextPatt},
                                   std::pair{ids::ShapeBorder(1), ids::TextRull}}) {
    const RECT r = ClientRectOf(Control(box));
    windowless_[shape] = RECT{r.left - margin, r.top - margin, r.right + margin, r.bottom + margin};
  }
  // 3: the refresh image's pointer for "退出" and the other two image buttons.
  const HCURSOR pointer = pointers_[ids::ImgRefresh];
  for (const int id : {ids::Labexit, ids::ImgSetPath, ids::ImgStart}) pointers_[id] = pointer;
  // 4: every header strip shows the first one's picture.
  for (const int index : {1, 2, 3}) stripPictures_[index] = stripPictures_[0];
  // 5: the bottom strip along the client area's bottom edge, over its full width.
  RECT client;
  GetClientRect(hwnd_, &client);
  const int stripHeight = Height(PlaceOf(ids::ImgTitle(3)));
  const int bottomHeight = Height(PlaceOf(ids::ImgTitle(1)));
  windowless_[ids::ImgTitle(1)] = RECT{0, client.bottom - stripHeight, client.right,
                                       client.bottom - stripHeight + bottomHeight};
  // 6: the start picture of the state the window is in.
  ShowStartPicture();
  // The labels show the strips behind them, which may have moved or changed.
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The picture comes from its holder: `ImgStart3` idle, `ImgStart2` running. A resize
// during a run keeps the running picture on the disabled start image.
void MainWindow::ShowStartPicture() {
  const bool running = runState_ == RunState::Running;
  const LRESULT picture = SendMessageW(Control(running ? ids::ImgStart2 : ids::ImgStart3),
                                       STM_GETIMAGE, IMAGE_BITMAP, 0);
  SendMessageW(Control(ids::ImgStart), STM_SETIMAGE, IMAGE_BITMAP, picture);
}

// The window moved to a monitor of another DPI (or the user changed the scale): the same
// physical size, with fonts and pictures made for the new DPI.
void MainWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  if (dpi <= 0) return;
  dpi_ = dpi;
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, Width(suggested), Height(suggested),
               SWP_NOZORDER | SWP_NOACTIVATE);
  // The controls use the old fonts and pictures until they have the new ones.
  const UniqueFont oldFonts[] = {std::move(uiFont_), std::move(headerFont_),
                                 std::move(templateFont_)};
  const WindowPictures oldPictures = std::move(pictures_);
  CreateFonts();
  CreatePictures();
  const WindowDc measuring(hwnd_);
  for (const ControlSpec& entry : MainWindowControls()) {
    const RECT r = ControlPlace(entry, measuring.Get());
    if (IsWindowless(entry.Painting)) {
      windowless_[entry.Id] = r;
    } else {
      MoveWindow(Control(entry.Id), r.left, r.top, Width(r), Height(r), FALSE);
    }
  }
  ApplyFontsAndPictures();
  ShowStartPicture();
  SizeWindowToClient();
  Form_Resize();
}

bool MainWindow::OnSetCursor(HWND over, int hitTest) {
  if (hitTest != HTCLIENT) return false;
  int id = 0;
  if (over == hwnd_) {  // perhaps over a caption
    POINT at;
    if (!GetCursorPos(&at) || !ScreenToClient(hwnd_, &at)) return false;
    id = CaptionAt(at);
  } else if (IsChild(hwnd_, over)) {
    id = GetDlgCtrlID(over);
  }
  const auto found = pointers_.find(id);
  if (found == pointers_.end() || !found->second) return false;
  SetCursor(found->second);
  return true;
}

// The strip pictures that lie under `target` (client pixels), stretched over their strips
// as the strips show them, on a DC whose origin is `target`'s top-left corner: a label on
// a strip looks like part of it.
void MainWindow::PaintStrips(HDC dc, const RECT& target) const {
  SetStretchBltMode(dc, COLORONCOLOR);
  for (int index = 0; index < static_cast<int>(stripPictures_.size()); ++index) {
    const HBITMAP picture = stripPictures_[static_cast<size_t>(index)];
    const RECT strip = PlaceOf(ids::ImgTitle(index));
    RECT overlap;
    if (!picture || !IntersectRect(&overlap, &strip, &target)) continue;
    BITMAP info{};
    if (!GetObjectW(picture, sizeof(info), &info)) continue;
    const MemoryDc source(picture);
    if (!source.Get()) continue;  // the strip stays in the window colour
    StretchBlt(dc, strip.left - target.left, strip.top - target.top, Width(strip), Height(strip),
               source.Get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  }
}

void MainWindow::PaintWindowless(HDC dc) const {
  const auto controls = MainWindowControls();
  for (auto entry = controls.rbegin(); entry != controls.rend(); ++entry) {
    const auto place = windowless_.find(entry->Id);
    if (place == windowless_.end()) continue;
    const RECT& r = place->second;
    switch (entry->Painting) {
      case Paint::Strip: {
        // Only this strip: the strips do not overlap.
        const int index = entry->Id - ids::ImgTitle(0);
        const HBITMAP picture = stripPictures_[static_cast<size_t>(index)];
        BITMAP info{};
        const MemoryDc source(picture);
        if (!picture || !GetObjectW(picture, sizeof(info), &info) || !source.Get()) break;
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, r.left, r.top, Width(r), Height(r), source.Get(), 0, 0, info.bmWidth,
                   info.bmHeight, SRCCOPY);
        break;
      }
      case Paint::Line:
        FillSolid(dc, r, entry->Color);
        break;
      case Paint::Frame:
        FrameSolid(dc, r, entry->Color);
        break;
      case Paint::Caption:
        DrawPlainText(dc, FontOf(entry->Font), entry->Color, entry->Text, r, 0);
        break;
      default:
        break;
    }
  }
}

bool MainWindow::DrawDecoration(const DRAWITEMSTRUCT& item) const {
  if (item.CtlType != ODT_STATIC) return false;
  const ControlSpec* entry = FindControl(static_cast<int>(item.CtlID));
  if (!entry || entry->Painting == Paint::System) return false;
  const HDC dc = item.hDC;
  const RECT& r = item.rcItem;
  switch (entry->Painting) {
    case Paint::Label: {
      FillSolid(dc, r, kWindowColor);
      PaintStrips(dc, ClientRectOf(item.hwndItem));
      const auto font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
      DrawPlainText(dc, font, entry->Color, WindowText(item.hwndItem), r, DT_END_ELLIPSIS);
      break;
    }
    default:
      break;
  }
  return true;
}

}  // namespace tarnivo
