#include "app/pictures.h"

#include "app/res/resource.h"

namespace tarnivo {

namespace {

UniqueBitmap LoadBitmapResource(HINSTANCE instance, int id) {
  return UniqueBitmap(static_cast<HBITMAP>(
      LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info)) return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight};
}

UniqueBitmap LoadButtonPicture(HINSTANCE instance, int normalId, int doubleId, SIZE size) {
  UniqueBitmap normal = LoadBitmapResource(instance, normalId);
  const SIZE normalSize = BitmapSize(normal.Get());
  if (normalSize.cx == size.cx && normalSize.cy == size.cy) return normal;
  UniqueBitmap twice = LoadBitmapResource(instance, doubleId);
  const HBITMAP source = twice ? twice.Get() : normal.Get();
  if (!source) return UniqueBitmap();
  return ScalePicture(source, size);
}

}  // namespace

UniqueBitmap ScalePicture(HBITMAP source, SIZE size) {
  const SIZE from = BitmapSize(source);
  if (from.cx <= 0 || from.cy <= 0 || size.cx <= 0 || size.cy <= 0) return UniqueBitmap();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = size.cy;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap scaled(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!scaled) return scaled;
  const MemoryDc to(scaled.Get());
  const MemoryDc in(source);
  if (!to.Get() || !in.Get()) return UniqueBitmap();
  SetStretchBltMode(to.Get(), HALFTONE);
  SetBrushOrgEx(to.Get(), 0, 0, nullptr);  // required after choosing HALFTONE
  if (!StretchBlt(to.Get(), 0, 0, size.cx, size.cy, in.Get(), 0, 0, from.cx, from.cy, SRCCOPY)) {
    return UniqueBitmap();
  }
  return scaled;
}

WindowPictures LoadWindowPictures(HINSTANCE instance, const PictureSizes& sizes) {
  WindowPictures pictures;
  pictures.StartIdle = LoadButtonPicture(instance, IDB_START_IDLE, IDB_START_IDLE_2X, sizes.Start);
  pictures.StartRunning =
      LoadButtonPicture(instance, IDB_START_RUNNING, IDB_START_RUNNING_2X, sizes.Start);
  pictures.SetPath = LoadButtonPicture(instance, IDB_SET_PATH, IDB_SET_PATH_2X, sizes.Button);
  pictures.Refresh = LoadButtonPicture(instance, IDB_REFRESH, IDB_REFRESH_2X, sizes.Button);
  pictures.Strip = LoadBitmapResource(instance, IDB_STRIP);
  return pictures;
}

HCURSOR LoadPointer(HINSTANCE instance) {
  return LoadCursorW(instance, MAKEINTRESOURCEW(IDC_POINTER));
}

}  // namespace tarnivo
