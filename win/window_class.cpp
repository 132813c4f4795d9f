#include "win/window_class.h"

namespace tarnivo {

bool RegisterWindowClass(const WindowClassSpec& wanted) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{sizeof(windowClass)};
  if (GetClassInfoExW(instance, wanted.Name, &windowClass)) return true;
  windowClass = WNDCLASSEXW{sizeof(windowClass)};
  windowClass.lpfnWndProc = wanted.Procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = wanted.Icon;
  windowClass.hIconSm = wanted.SmallIcon;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = wanted.Background;
  windowClass.lpszClassName = wanted.Name;
  return RegisterClassExW(&windowClass) != 0;
}

}  // namespace tarnivo
