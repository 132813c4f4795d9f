#include "tests/app/window_fixture.h"

#include "app/clipboard.h"

namespace tarnivo::test {

void PumpPending(const MessagePreview& preview) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    if (preview && preview(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

bool PumpUntil(const std::function<bool()>& done, const MessagePreview& preview, int milliseconds) {
  const DWORD until = GetTickCount() + static_cast<DWORD>(milliseconds);
  for (;;) {
    PumpPending(preview);
    if (done()) return true;
    const auto left = static_cast<LONG>(until - GetTickCount());
    if (left <= 0) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
  }
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

RECT RectIn(HWND parent, HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

LOGFONTW FontOf(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
  return font;
}

void WindowTest::Start(const std::wstring& arguments,
                       const std::function<void(MainWindowOptions&)>& adjust) {
  MainWindowOptions options;
  options.ProgramFolder = programFolder.Path();
  options.Arguments = arguments;
  options.ShiftState = [this] { return shift; };
  options.OnUnloaded = [this] { unloaded = true; };
  options.ShellOpen = [this](HWND owner, const std::wstring& file, const std::wstring& folder) {
    shellCalls.push_back({owner, file, folder});
  };
  options.LocalTime = [this] { return now; };
  if (adjust) adjust(options);
  window = std::make_unique<MainWindow>(std::move(options));
  ASSERT_TRUE(window->Create(SW_SHOWNORMAL));
  PumpPending();
}

void WindowTest::TearDown() {
  window.reset();
  PumpPending();
}

void WindowTest::ChangeDpi(int from, int to) {
  RECT frame;
  GetWindowRect(Main(), &frame);
  RECT suggested{frame.left, frame.top, frame.left + MulDiv(frame.right - frame.left, to, from),
                 frame.top + MulDiv(frame.bottom - frame.top, to, from)};
  SendMessageW(Main(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
  PumpPending();
}

void WindowTest::SetText(int id, const std::wstring& text) const {
  SendMessageW(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void WindowTest::PressKey(int id, WORD keyCode, int shiftState) {
  shift = shiftState;
  PostMessageW(Control(id), WM_KEYDOWN, keyCode, 1);
  PostMessageW(Control(id), WM_KEYUP, keyCode, static_cast<LPARAM>(0xC0000001));
  PumpPending();
  shift = 0;
}

void WindowTest::PressMouse(int id, UINT downMessage) {
  PostMessageW(Control(id), downMessage, 0, MAKELPARAM(5, 5));
  PumpPending();
}

void WindowTest::PostClick(int id) const {
  PostMessageW(Control(id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(Control(id), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

void WindowTest::ClickControl(int id) {
  PostClick(id);
  PumpPending();
}

void SetClipboard(HWND owner, const std::wstring& text) {
  ASSERT_TRUE(WriteClipboardText(owner, text));
}

}  // namespace tarnivo::test
