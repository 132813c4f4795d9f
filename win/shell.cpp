#include "win/shell.h"

namespace tarnivo::shell {
namespace {

// shell32's export `name`, loaded once; null when shell32 or the export is missing.
template <typename Function>
Function Export(const char* name) {
  static const HMODULE shell32 = LoadLibraryW(L"shell32.dll");  // kept for the process
  if (!shell32) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(shell32, name)));
}

}  // namespace

void DragAcceptFiles(HWND window, bool accept) {
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
  const LONG_PTR changed = accept ? style | WS_EX_ACCEPTFILES : style & ~WS_EX_ACCEPTFILES;
  if (changed != style) SetWindowLongPtrW(window, GWL_EXSTYLE, changed);
}

UINT DragQueryFileW(HDROP drop, UINT index, wchar_t* buffer, UINT size) {
  using Function = UINT(WINAPI*)(HDROP, UINT, LPWSTR, UINT);
  static const auto function = Export<Function>("DragQueryFileW");
  return function ? function(drop, index, buffer, size) : 0;
}

void DragFinish(HDROP drop) {
  using Function = void(WINAPI*)(HDROP);
  static const auto function = Export<Function>("DragFinish");
  if (function) function(drop);
}

INT_PTR ShellExecuteA(HWND owner, const char* operation, const char* file, const char* parameters,
                      const char* folder, int show) {
  using Function = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
  static const auto function = Export<Function>("ShellExecuteA");
  if (!function) return 0;
  return reinterpret_cast<INT_PTR>(function(owner, operation, file, parameters, folder, show));
}

}  // namespace tarnivo::shell
