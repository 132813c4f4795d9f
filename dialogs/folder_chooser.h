#pragma once
// `FRMpath`: the modal dialog that picks the folder the main window lists, with its own
// drive list, folder list, select button and short-path label, and a Ctrl+V folder paste.
// It closes with a folder only by a mouse-button release on its select button; every
// other close (close box, system menu, Alt+F4, the program ending) is a cancel.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "win/handles.h"
#include "dialogs/drive_list.h"
#include "dialogs/folder_list.h"

namespace tarnivo {

// What a chooser closed without its select button returns.
inline constexpr wchar_t kCanceledSelect[] = L"canceledselect";

// What the dialog takes from its caller.
struct FolderChooserOptions {
  std::wstring ProgramFolder;  // where a chooser with an empty start folder opens
  // The clipboard's text, read for Ctrl+V only. Without it nothing can be pasted.
  std::function<std::wstring()> ClipboardText;
  // Modifier keys now down: 1 Shift, 2 Ctrl, 4 Alt, added. Defaults to the keyboard.
  std::function<int()> ShiftState;
  // The DPI the dialog is laid out at: its owner's, which the owner knows best (it follows
  // the monitor it stands on). 0: asked of the owner window.
  int Dpi = 0;
};

class FolderChooser {
 public:
  explicit FolderChooser(FolderChooserOptions options);
  FolderChooser(const FolderChooser&) = delete;
  FolderChooser& operator=(const FolderChooser&) = delete;
  ~FolderChooser();

  // Loads the dialog hidden, places it and points its lists at `startFolder`, which an
  // empty value replaces (in the caller's variable too) by the program folder. `left` and
  // `top` in twips; both 0 centre the dialog over `owner`. False when the window could
  // not be created.
  bool Load(HWND owner, std::wstring& startFolder, int32_t left, int32_t top);
  // Shows the loaded dialog without waiting (the modal loop, and tests, drive it).
  void Show();
  // Shows the loaded dialog with its owner disabled until the dialog is unloaded, and
  // returns `ChosenFolder()`.
  std::wstring ShowModal();

  // The dialog's key preview and keyboard navigation for a message taken from the queue.
  // True when the message has been handled and must not be dispatched.
  bool PreTranslateMessage(MSG& message);

  bool Unloaded() const { return unloaded_; }
  // The folder list's folder when the select button unloaded the dialog, otherwise
  // kCanceledSelect. Empty while the dialog is loaded.
  const std::wstring& ChosenFolder() const { return chosenFolder_; }

  HWND Handle() const { return hwnd_; }
  const DriveList& Drive1() const { return drive1_; }
  const FolderList& Dir1() const { return dir1_; }

  static constexpr const wchar_t* kClassName = L"TarnivoFolderChooser";
  static constexpr const wchar_t* kCaption = L"选择路径";

 private:
  enum class UnloadMode { ByCode, Other };

  template <typename Window>
  friend LRESULT CALLBACK RoutedWindowProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK SelectButtonProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool CreateWindowAndControls(HWND owner);
  bool CreateSelectButton(const RECT& picture);
  void OpenFirstFolder();
  void Place(int32_t left, int32_t top);
  void OpenStartFolder(const std::wstring& startFolder);
  bool SetFolder(const std::wstring& folder);  // runs Dir1_Change when the folder changed
  void SetLabpath(const std::wstring& text);
  void DrawSelectButton(const DRAWITEMSTRUCT& item) const;
  void OnCommand(int id, int code);
  void Unload(UnloadMode mode);

  void Form_Load();
  void Drive1_Change(const std::wstring& previousDrive);
  void Dir1_Change();
  void Command1_MouseUp();
  void Form_KeyDown(WORD keyCode, int shift);
  void Form_QueryUnload(UnloadMode mode);

  FolderChooserOptions options_;
  HWND hwnd_ = nullptr;
  HWND owner_ = nullptr;
  int dpi_ = 96;
  DriveList drive1_;
  FolderList dir1_;
  UniqueFont uiFont_, buttonFont_;
  UniqueBrush backBrush_;
  HWND lastFocus_ = nullptr;  // the control to give the focus back to on reactivation
  std::wstring chosenFolder_;
  bool unloaded_ = false;
  bool ownerDisabled_ = false;  // by ShowModal, to be enabled again at unload
};

// `ChooseFolder`: a fresh chooser shown modally over `owner`. Returns the folder chosen
// (no trailing "\" except at a drive root) or kCanceledSelect. `startFolder`, `left`
// and `top` as for FolderChooser::Load.
std::wstring ChooseFolder(HWND owner, std::wstring& startFolder, int32_t left, int32_t top,
                          FolderChooserOptions options);

}  // namespace tarnivo
