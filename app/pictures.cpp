#include "app/pictures.h"

namespace tarnivo {

namespace {

class MemoryDc {
 public:
  MemoryDc() : screen_(GetDC(nullptr)), dc_(CreateCompatibleDC(screen_)) {}
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  ~MemoryDc() {
    if (dc_) DeleteDC(dc_);
    if (screen_) ReleaseDC(nullptr, screen_);
  }
  HDC Screen() const { return screen_; }
  HDC Get() const { return dc_; }

 private:
  HDC screen_;
  HDC dc_;
};

}  // namespace

UniqueBitmap MakeButtonPicture(int width, int height, std::wstring_view caption, COLORREF fill,
                               COLORREF textColor, HFONT font) {
  MemoryDc dc;
  if (!dc.Get()) return UniqueBitmap();
  UniqueBitmap bitmap(CreateCompatibleBitmap(dc.Screen(), width, height));
  if (!bitmap) return bitmap;
  const HGDIOBJ oldBitmap = SelectObject(dc.Get(), bitmap.Get());
  const RECT all{0, 0, width, height};
  UniqueBrush background(CreateSolidBrush(RGB(224, 224, 224)));
  FillRect(dc.Get(), &all, background.Get());
  UniqueBrush panel(CreateSolidBrush(fill));
  const HGDIOBJ oldBrush = SelectObject(dc.Get(), panel.Get());
  const HGDIOBJ oldPen = SelectObject(dc.Get(), GetStockObject(NULL_PEN));
  RoundRect(dc.Get(), 1, 1, width, height, 8, 8);
  const HGDIOBJ oldFont = SelectObject(dc.Get(), font);
  SetBkMode(dc.Get(), TRANSPARENT);
  SetTextColor(dc.Get(), textColor);
  RECT text = all;
  DrawTextW(dc.Get(), caption.data(), static_cast<int>(caption.size()), &text,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc.Get(), oldFont);
  SelectObject(dc.Get(), oldPen);
  SelectObject(dc.Get(), oldBrush);
  SelectObject(dc.Get(), oldBitmap);
  return bitmap;
}

}  // namespace tarnivo
