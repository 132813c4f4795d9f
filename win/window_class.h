#pragma once
// The program's window classes: registration, and the routing of a window's messages to
// the C++ object that created it (the object passes itself as CreateWindowEx's last
// argument and is found again through GWLP_USERDATA).
#include <windows.h>

namespace tarnivo {

struct WindowClassSpec {
  const wchar_t* Name;
  WNDPROC Procedure;
  HICON Icon = nullptr;
  HICON SmallIcon = nullptr;
  HBRUSH Background = nullptr;  // null: the window erases its own background
};

// Registers the class of this module unless it is registered already. False when the
// system refuses it.
bool RegisterWindowClass(const WindowClassSpec& wanted);

// `Window` has an `HWND hwnd_` and `LRESULT HandleMessage(UINT, WPARAM, LPARAM)`; it
// befriends this function when they are private.
template <typename Window>
LRESULT CALLBACK RoutedWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

}  // namespace tarnivo
