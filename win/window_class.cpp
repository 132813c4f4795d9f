#include "win/window_class.h"

namespace tarnivo {

bool RegisterWindowClass(const WindowClassSpec& spec) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{sizeof(windowClass)};
  if (GetClassInfoExW(instance, spec.Name, &windowClass)) return true;
  windowClass = WNDCLASSEXW{sizeof(windowClass)};
  windowClass.lpfnWndProc = spec.Procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = spec.Icon;
  windowClass.hIconSm = spec.SmallIcon;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = spec.Background;
  windowClass.lpszClassName = spec.Name;
  return RegisterClassExW(&windowClass) != 0;
}

}  // namespace tarnivo
