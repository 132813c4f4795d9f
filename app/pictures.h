#pragma once
// The pictures of the main window, loaded from the program's resources at the window's DPI.
#include <windows.h>

#include "win/handles.h"

namespace tarnivo {

struct WindowPictures {
  UniqueBitmap StartIdle;     // `ImgStart3`'s picture
  UniqueBitmap StartRunning;  // `ImgStart2`'s picture
  UniqueBitmap SetPath;       // `ImgSetPath`
  UniqueBitmap Refresh;       // `ImgRefresh`
  UniqueBitmap Strip;         // `ImgTitle(0)`, 30 x 21, stretched by every header strip
};

// Pixel sizes of the button pictures at the window's DPI.
struct PictureSizes {
  SIZE Start;   // both start pictures: 88 x 33 at 96 dpi
  SIZE Button;  // choose-folder and refresh: 67 x 33 at 96 dpi
};

// The pictures of `instance`'s resources at `sizes`. A button picture is the 96-dpi drawing
// when that has the size, else the 192-dpi drawing scaled to it (sharper than enlarging).
// A missing resource leaves its picture empty.
WindowPictures LoadWindowPictures(HINSTANCE instance, const PictureSizes& sizes);

// `source` scaled to `size` with halftone filtering, as a 24-bit DIB section.
UniqueBitmap ScalePicture(HBITMAP source, SIZE size);

// The custom pointer of the image buttons and "退出" (a shared resource: never destroyed);
// null when the resource is missing.
HCURSOR LoadPointer(HINSTANCE instance);

}  // namespace tarnivo
