#include "tests/app/window_fixture.h"

#include <commctrl.h>

#include <regex>

#include "app/clipboard.h"

namespace tarnivo::test {

namespace {

bool IsSummaryLine(const std::wstring& text, const std::wstring& action, const std::wstring& verb,
                   int done, int notDone) {
  return std::regex_match(text, std::wregex(action + L"完成  用时[0-9]+\\.[0-9]{4}秒, 共" + verb +
                                            L" :" + std::to_wstring(done) + L"个文件, 未" + verb +
                                            L" :" + std::to_wstring(notDone) + L"个文件"));
}

}  // namespace

bool IsRunSummary(const std::wstring& text, int renamed, int notRenamed) {
  return IsSummaryLine(text, L"转换", L"转换", renamed, notRenamed);
}

bool IsUndoSummary(const std::wstring& text, int restored, int failed) {
  return IsSummaryLine(text, L"撤销", L"恢复", restored, failed);
}

namespace {

constexpr UINT_PTR kRecorderId = 0x7e57;

LRESULT CALLBACK RecordTexts(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR data) {
  if (message == WM_SETTEXT && lParam) {
    const HWND main = GetParent(hwnd);
    const HWND start = GetDlgItem(main, ids::ImgStart);
    const bool running =
        !IsWindowEnabled(start) &&
        SendMessageW(start, STM_GETIMAGE, IMAGE_BITMAP, 0) ==
            SendMessageW(GetDlgItem(main, ids::ImgStart2), STM_GETIMAGE, IMAGE_BITMAP, 0);
    reinterpret_cast<std::vector<std::wstring>*>(data)->push_back(
        (running ? L"running: " : L"") + std::wstring(reinterpret_cast<const wchar_t*>(lParam)));
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

void WindowTest::RecordStatusTexts() {
  ASSERT_TRUE(SetWindowSubclass(Control(ids::LabTitle(1)), RecordTexts, kRecorderId,
                                reinterpret_cast<DWORD_PTR>(&statusTexts)));
}

void WindowTest::StopRecordingStatusTexts() {
  RemoveWindowSubclass(Control(ids::LabTitle(1)), RecordTexts, kRecorderId);
}

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

LOGFONTW FontOf(HFONT font) {
  LOGFONTW described{};
  GetObjectW(font, sizeof(described), &described);
  return described;
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
  // A menu is read and answered by the test, never left open on the screen.
  options.PopupMenu = [this](HMENU menu, POINT) {
    shownMenus.push_back(menu);
    return menuChoice;
  };
  if (adjust) adjust(options);
  window = std::make_unique<MainWindow>(std::move(options));
  ASSERT_TRUE(window->Create(SW_SHOWNORMAL));
  PumpPending();
}

void WindowTest::TearDown() {
  window.reset();
  PumpPending();
}

UINT SendKeys(std::initializer_list<std::pair<WORD, bool>> keys) {
  std::vector<INPUT> inputs;
  for (const auto& [code, up] : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = code;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  }
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
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

// Five pixels into the control, as the system posts a press: to the control, or to the
// window when the control is a caption it paints itself.
void WindowTest::PostMouse(int id, UINT message, WPARAM keys) const {
  const HWND control = Control(id);
  const RECT place = Rect(id);
  const POINT at = control ? POINT{5, 5} : POINT{place.left + 5, place.top + 5};
  PostMessageW(control ? control : Main(), message, keys, MAKELPARAM(at.x, at.y));
}

void WindowTest::PressMouse(int id, UINT downMessage) {
  PostMouse(id, downMessage, 0);
  PumpPending();
}

void WindowTest::PostClick(int id) const {
  PostMouse(id, WM_LBUTTONDOWN, MK_LBUTTON);
  PostMouse(id, WM_LBUTTONUP, 0);
}

void WindowTest::ClickControl(int id) {
  PostClick(id);
  PumpPending();
}

void SetClipboard(HWND owner, const std::wstring& text) {
  ASSERT_TRUE(WriteClipboardText(owner, text));
}

}  // namespace tarnivo::test
