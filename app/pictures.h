#pragma once
// The pictures of the image buttons, drawn at start-up.
#include <windows.h>

#include <string_view>

#include "app/handles.h"

namespace tarnivo {

// A `width` x `height` pixel button picture: a filled rounded panel with a centred caption.
UniqueBitmap MakeButtonPicture(int width, int height, std::wstring_view caption, COLORREF fill,
                               COLORREF textColor, HFONT font);

}  // namespace tarnivo
