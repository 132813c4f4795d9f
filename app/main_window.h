#pragma once
// `Formain`: the program's one window. Start-up, the status line, the idle and running
// states, the window-wide Ctrl+V folder paste (with key preview) and shut-down.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "app/file_list.h"
#include "app/handles.h"
#include "engine/token.h"
#include "settings/settings_store.h"

namespace tarnivo {

// What the window takes from its surroundings; the program fills it from the process,
// tests from their temp folders.
struct MainWindowOptions {
  std::wstring programFolder;   // holds "config.ini"
  std::wstring arguments;       // the command line after the program's own name
  // Modifier keys now down: 1 Shift, 2 Ctrl, 4 Alt, added. Defaults to the keyboard.
  std::function<int()> shiftState;
  // Runs once the window is gone. Defaults to ending the message loop.
  std::function<void()> onUnloaded;
  // Opens a document of the program folder through the Windows shell ("Err.LOG",
  // "help.chm"). Defaults to ShellExecuteA(owner, "Open", file, "", folder, 1); tests
  // record the call instead of starting a viewer.
  std::function<void(HWND owner, const std::wstring& file, const std::wstring& folder)> shellOpen;
};

class MainWindow {
 public:
  explicit MainWindow(MainWindowOptions options);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  ~MainWindow();

  // Creates the window and its controls and runs the start-up sequence. False when the
  // window could not be created (no display, out of resources).
  bool Create(int showCommand);
  HWND Handle() const { return hwnd_; }

  // Key preview and dialog-style keyboard navigation for a message taken from the queue.
  // True when the message has been handled and must not be dispatched.
  bool PreTranslateMessage(MSG& message);

  void RefreshStatusLine();
  // 0: running (start image, template and refresh disabled); anything else: idle.
  void SetRunningState(int32_t enabled);

  // True while a rename run is under way: the actions that would change the list or the
  // template are held off until it ends.
  bool RunInProgress() const { return runInProgress_; }

  FileList& File1() { return file1_; }
  const std::wstring& CurrentFolder() const { return currentFolder_; }
  // The token keywords, read once at start-up.
  const Keywords& TokenKeywords() const { return keywords_; }

  static constexpr const wchar_t* kClassName = L"TarnivoMain";
  static constexpr const wchar_t* kCaption = L"《Tarnivo》 V 1.0";

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool CreateControls();
  void CreateFonts();
  void CreatePictures();
  HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
  std::wstring ControlText(int id) const;
  int CurrentShiftState() const;
  void ShellOpen(const std::wstring& file);  // a file of the program folder
  LRESULT ControlColor(HDC dc, HWND control);

  void Form_Load();
  void Form_Unload();
  void Form_KeyDown(WORD keyCode, int shift);
  void Labexit_Click();
  void OnCommand(int id, int code);

  // File list and filters.
  void CheckFileInfo_Click(int index);
  void ImgRefresh_Click();
  void TextPatt_GotFocus();
  void TextPatt_KeyDown(WORD keyCode, int shift);

  MainWindowOptions options_;
  SettingsStore settings_;
  HWND hwnd_ = nullptr;
  int dpi_ = 96;
  FileList file1_;
  std::wstring currentFolder_;
  Keywords keywords_;
  UniqueFont uiFont_, headerFont_, templateFont_;
  UniqueBrush windowBrush_, editBrush_;
  UniqueBitmap idlePicture_;     // `ImgStart3`
  UniqueBitmap runningPicture_;  // `ImgStart2`
  UniqueBitmap setPathPicture_, refreshPicture_;
  bool unloaded_ = false;
  bool runInProgress_ = false;
};

}  // namespace tarnivo
