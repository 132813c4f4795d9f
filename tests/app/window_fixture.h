#pragma once
// Creates the real main window in the test's own process, with its program folder and
// working folder in temp folders, and drives it through its real controls.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/main_window.h"
#include "tests/support/temp_folder.h"

namespace tarnivo::test {

// One call of the window's shell seam.
struct ShellCall {
  HWND owner;
  std::wstring file;
  std::wstring folder;
};

class WindowTest : public ::testing::Test {
 protected:
  void TearDown() override;

  // Creates the window as the program would with `arguments` after its name.
  void Start(const std::wstring& arguments);
  // Creates the window on the working folder `work`.
  void StartOnWork() { Start(L"\"" + work.Path() + L"\""); }

  // Handles queued messages the way the program's loop does (key preview included)
  // for about `milliseconds`.
  void Pump(int milliseconds = 30);
  // Pumps until `done` holds or `milliseconds` pass; returns `done()`.
  bool PumpUntil(const std::function<bool()>& done, int milliseconds = 3000);

  HWND Main() const { return window->Handle(); }
  HWND Control(int id) const { return GetDlgItem(window->Handle(), id); }
  std::wstring Text(int id) const;
  std::wstring StatusText() const { return Text(ids::LabTitle(1)); }
  void SetText(int id, const std::wstring& text) const;

  // A key press posted to a control, then pumped, with `shift` as the modifier state
  // (1 Shift, 2 Ctrl, 4 Alt) the window sees.
  void PressKey(int id, WORD keyCode, int shiftState);
  // A left-button press and release on a control, posted and pumped.
  void ClickControl(int id);
  void PressMouse(int id, UINT downMessage);

  std::wstring ConfigPath() const { return programFolder / L"config.ini"; }
  std::wstring StatusLineFor(int count, const std::wstring& folder) const {
    return L"当前目录[" + std::to_wstring(count) + L"]:  " + folder;
  }

  TempFolder programFolder;
  TempFolder work;
  int shift = 0;
  bool unloaded = false;
  std::vector<ShellCall> shellCalls;  // recorded instead of starting a viewer
  DateTime now{2026, 12, 6, 4, 5, 6};  // the window's clock
  std::unique_ptr<MainWindow> window;
};

// Puts `text` on the real clipboard.
void SetClipboard(HWND owner, const std::wstring& text);

}  // namespace tarnivo::test
