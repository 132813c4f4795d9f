#pragma once
// Creates the real main window in the test's own process, with its program folder and
// working folder in temp folders, and drives it through its real controls.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/control_ids.h"
#include "app/main_window.h"
#include "tests/support/temp_folder.h"
#include "win/window_text.h"

namespace tarnivo::test {

// One call of the window's shell seam.
struct ShellCall {
  HWND Owner;
  std::wstring File;
  std::wstring Folder;
};

// What a message loop asks of its window before dispatching: true when handled.
using MessagePreview = std::function<bool(MSG& message)>;

// The status line's summary at the end of a run ("转换完成  用时…秒, 共转换 :N个文件, 未转换
// :M个文件") or of an undo ("撤销完成  用时…秒, 共恢复 :N个文件, 未恢复 :M个文件"), seconds with
// four decimals.
bool IsRunSummary(const std::wstring& text, int renamed, int notRenamed);
bool IsUndoSummary(const std::wstring& text, int restored, int failed);

// Handles the queued messages as a message loop with `preview` does, and the ones that
// handling them adds, until none is left.
void PumpPending(const MessagePreview& preview);
// Handles messages as they come until `done` holds or `milliseconds` pass: for what arrives
// on its own time (injected input, timers, other processes). Returns `done()`.
bool PumpUntil(const std::function<bool()>& done, const MessagePreview& preview,
               int milliseconds = 3000);

// Twips to pixels at `dpi`: the nearest pixel, a half away from zero.
constexpr int Px(int twips, int dpi) { return (twips * dpi + 720) / 1440; }
// The screen's DPI, which new windows are laid out at.
int ScreenDpi();
// `control`'s rectangle in the client coordinates of `parent`.
RECT RectIn(HWND parent, HWND control);
LOGFONTW FontOf(HFONT font);
inline LOGFONTW FontOf(HWND control) {
  return FontOf(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
}

class WindowTest : public ::testing::Test {
 protected:
  void TearDown() override;

  // Creates the window as the program would with `arguments` after its name; `adjust`
  // changes the options the fixture fills in.
  void Start(const std::wstring& arguments,
             const std::function<void(MainWindowOptions&)>& adjust = {});
  // Creates the window on the working folder `work`.
  void StartOnWork(const std::function<void(MainWindowOptions&)>& adjust = {}) {
    Start(L"\"" + work.Path() + L"\"", adjust);
  }

  // The free functions with the window's own key preview, as the program's loop has it.
  void PumpPending() { test::PumpPending(Preview()); }
  bool PumpUntil(const std::function<bool()>& done, int milliseconds = 3000) {
    return test::PumpUntil(done, Preview(), milliseconds);
  }
  MessagePreview Preview() {
    return [this](MSG& message) { return window && window->PreTranslateMessage(message); };
  }

  HWND Main() const { return window->Handle(); }
  HWND Control(int id) const { return GetDlgItem(window->Handle(), id); }
  // Where a control of the layout stands, what it shows and in which font, windowless ones
  // (captions, strips, lines, frames) too.
  RECT Rect(int id) const { return window->PlaceOf(id); }
  std::wstring Text(int id) const { return window->ControlText(id); }
  LOGFONTW ControlFont(int id) const { return FontOf(window->ControlFont(id)); }
  std::wstring StatusText() const { return Text(ids::LabTitle(1)); }
  void SetText(int id, const std::wstring& text) const;

  // A key press posted to a control, then pumped, with `shift` as the modifier state
  // (1 Shift, 2 Ctrl, 4 Alt) the window sees.
  void PressKey(int id, WORD keyCode, int shiftState);
  // A left-button press and release on a control, posted (to the window over a caption);
  // ClickControl also handles it.
  void PostClick(int id) const;
  void PostMouse(int id, UINT message, WPARAM keys) const;
  void ClickControl(int id);
  void PressMouse(int id, UINT downMessage);

  // From now on every text written into the status line goes to `statusTexts`, marked
  // "running: " while the start image is disabled and shows the running picture.
  void RecordStatusTexts();
  void StopRecordingStatusTexts();

  // What the system sends when the window moves to a monitor of `to` dpi from one of
  // `from`: WM_DPICHANGED with the window's frame scaled as the suggested place.
  void ChangeDpi(int from, int to);

  std::wstring ConfigPath() const { return programFolder / L"config.ini"; }
  std::wstring StatusLineFor(int count, const std::wstring& folder) const {
    return L"当前目录[" + std::to_wstring(count) + L"]:  " + folder;
  }

  TempFolder programFolder;
  TempFolder work;
  int shift = 0;
  bool unloaded = false;
  std::vector<ShellCall> shellCalls;  // recorded instead of starting a viewer
  std::vector<HMENU> shownMenus;      // the pop-up menus the window opened, answered with:
  int menuChoice = 0;
  std::vector<std::wstring> statusTexts;
  DateTime now{2026, 12, 6, 4, 5, 6};  // the window's clock
  std::unique_ptr<MainWindow> window;
};

// Real key presses and releases through SendInput, as a person types them: each key with
// true for its release. Returns how many the system took.
UINT SendKeys(std::initializer_list<std::pair<WORD, bool>> keys);

// Puts `text` on the real clipboard.
void SetClipboard(HWND owner, const std::wstring& text);

}  // namespace tarnivo::test
