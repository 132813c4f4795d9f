#include "tests/app/window_fixture.h"

#include "app/clipboard.h"

namespace tarnivo::test {

void WindowTest::Start(const std::wstring& arguments) {
  MainWindowOptions options;
  options.ProgramFolder = programFolder.Path();
  options.Arguments = arguments;
  options.ShiftState = [this] { return shift; };
  options.OnUnloaded = [this] { unloaded = true; };
  options.ShellOpen = [this](HWND owner, const std::wstring& file, const std::wstring& folder) {
    shellCalls.push_back({owner, file, folder});
  };
  options.LocalTime = [this] { return now; };
  window = std::make_unique<MainWindow>(std::move(options));
  ASSERT_TRUE(window->Create(SW_SHOWNORMAL));
  Pump();
}

void WindowTest::TearDown() {
  window.reset();
  Pump(10);
}

void WindowTest::Pump(int milliseconds) {
  const DWORD until = GetTickCount() + static_cast<DWORD>(milliseconds);
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) continue;
      if (window && window->PreTranslateMessage(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (static_cast<LONG>(until - GetTickCount()) > 0);
}

bool WindowTest::PumpUntil(const std::function<bool()>& done, int milliseconds) {
  const DWORD until = GetTickCount() + static_cast<DWORD>(milliseconds);
  while (!done() && static_cast<LONG>(until - GetTickCount()) > 0) Pump(10);
  return done();
}

std::wstring WindowTest::Text(int id) const {
  HWND control = Control(id);
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), length + 1)));
  return text;
}

void WindowTest::SetText(int id, const std::wstring& text) const {
  SendMessageW(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void WindowTest::PressKey(int id, WORD keyCode, int shiftState) {
  shift = shiftState;
  PostMessageW(Control(id), WM_KEYDOWN, keyCode, 1);
  PostMessageW(Control(id), WM_KEYUP, keyCode, static_cast<LPARAM>(0xC0000001));
  Pump();
  shift = 0;
}

void WindowTest::PressMouse(int id, UINT downMessage) {
  PostMessageW(Control(id), downMessage, 0, MAKELPARAM(5, 5));
  Pump();
}

void WindowTest::ClickControl(int id) {
  PostMessageW(Control(id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(Control(id), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Pump();
}

void SetClipboard(HWND owner, const std::wstring& text) {
  ASSERT_TRUE(WriteClipboardText(owner, text));
}

}  // namespace tarnivo::test
