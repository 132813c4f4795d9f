#pragma once
// `Formain`: the program's one window. Start-up, the status line, the idle and running
// states, the window-wide Ctrl+V folder paste (with key preview) and shut-down.
#include <windows.h>
// Needs windows.h before it.
#include <shellapi.h>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/batch_session.h"
#include "app/batch_setup.h"
#include "app/date_reader.h"
#include "app/explorer_menu.h"
#include "app/file_list.h"
#include "app/filter_items.h"
#include "app/layout.h"
#include "app/live_preview.h"
#include "app/pictures.h"
#include "app/preview_window.h"
#include "app/template_store.h"
#include "dialogs/template_name_dialog.h"
#include "engine/token.h"
#include "settings/settings_store.h"
#include "win/handles.h"
#include "win/window_text.h"

namespace tarnivo {

// What the window takes from its surroundings; the program fills it from the process,
// tests from their temp folders.
struct MainWindowOptions {
  std::wstring ProgramFolder;  // holds "config.ini"
  // Where config.ini's changes, "Err.LOG", "Undo.LOG" and "模板" go when the program folder
  // cannot be written; "" for none.
  std::wstring FallbackFolder;
  std::wstring Arguments;  // the command line after the program's own name
  // Modifier keys now down: 1 Shift, 2 Ctrl, 4 Alt, added. Defaults to the keyboard.
  std::function<int()> ShiftState;
  // Runs once the window is gone. Defaults to ending the message loop.
  std::function<void()> OnUnloaded;
  // Opens a document of the program folder through the Windows shell ("Err.LOG",
  // "help.chm"). Defaults to ShellExecuteA(owner, "Open", file, "", folder, 1); tests
  // record the call instead of starting a viewer.
  std::function<void(HWND owner, const std::wstring& file, const std::wstring& folder)> ShellOpen;
  // Shows a pop-up menu at a screen point and returns the chosen item's id, 0 for none.
  // Defaults to TrackPopupMenu; tests read the menu's states and choose an item instead.
  std::function<int(HMENU menu, POINT screenPoint)> PopupMenu;
  // Shows a modal message box and returns the button pressed. Defaults to MessageBoxW.
  std::function<int(HWND owner, const std::wstring& text, const std::wstring& title, UINT style)>
      ShowMessageBox;
  // The revision the About box shows. Unset: the program's own version resource.
  std::optional<int> Revision;
  // The local date and time for the template's date tokens and the log header. Defaults
  // to the system clock.
  std::function<DateTime()> LocalTime;
  // Asks for a saved template's name. Defaults to the dialog "保存为模板"; tests answer it.
  std::function<bool(HWND owner, TemplateNameRequest request)> AskTemplateName;
  // Explorer's folder menu: the classes key under HKEY_CURRENT_USER (tests use a key of
  // their own) and the program its entry starts (unset: this executable).
  std::wstring ExplorerClassesKey = L"Software\\Classes";
  std::wstring ExplorerProgram;
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
  // Running: the start image shows its running picture, and it, the template and the
  // refresh image are disabled. Idle: the idle picture, all enabled.
  void SetRunningState(RunState state);

  // True while a rename run or an undo is under way: the actions that would change the
  // list or the template are held off until it ends.
  bool RunInProgress() const { return batch_.Busy(); }

  // `DropFiles`: lists the first item of a drop on the window when the path probe
  // accepts it as a folder, and always releases the drop. During a run it only releases it.
  void DropFiles(HDROP drop);

  FileList& File1() { return file1_; }
  // Where a control of the layout stands, in client pixels: a windowless one's place (the
  // strips, lines, frames and captions the window paints itself), else its window's.
  RECT PlaceOf(int id) const;
  // What a control of the layout shows and in which font: a window's, or a caption's.
  std::wstring ControlText(int id) const;
  HFONT ControlFont(int id) const;
  const std::wstring& CurrentFolder() const { return currentFolder_; }
  // The token keywords, read once at start-up.
  const Keywords& TokenKeywords() const { return keywords_; }
  // The preview window; null until it is first opened.
  HWND PreviewHandle() const { return preview_.Handle(); }

  static constexpr const wchar_t* kClassName = L"TarnivoMain";
  static constexpr const wchar_t* kCaption = kProgramCaption;
  // Posted by the preview's worker when a result waits; it carries nothing.
  static constexpr UINT kPreviewReady = WM_APP + 1;
  // Posted by the date reader when it has news; it carries nothing.
  static constexpr UINT kDatesReady = WM_APP + 2;

 private:
  template <typename Window>
  friend LRESULT CALLBACK RoutedWindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool CreateControls();
  HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
  int CurrentShiftState() const;
  // A modal message box through the options' seam; the button pressed.
  int ShowMessage(HWND owner, const std::wstring& text, const std::wstring& title, UINT style);
  void ShellOpen(const std::wstring& file);  // a file of the program folder
  void ShellOpen(const std::wstring& file, const std::wstring& folder);
  DataFolders Folders() const { return {options_.ProgramFolder, options_.FallbackFolder}; }
  LRESULT ControlColor(HDC dc, HWND control);

  void Form_Load();
  void Form_Unload();
  void Form_KeyDown(WORD keyCode, int shift);
  void Labexit_Click();
  void OnCommand(int id, int code);

  // File list and filters.
  void CheckFileInfo_Click(int index);
  // The list's order (main_window_order.cpp): a press on `File1` refreshes the status line,
  // a right press opens the menu 排序.
  void File1_MouseDown(UINT message, POINT screenPoint);
  void SortMenu_Click(int id);
  ListOrder SavedOrder() const;  // "Sort" and "SortDescending" of config.ini
  // The list takes `order`; by date taken once the dates are read (in the background).
  void ApplyOrder(ListOrder order);
  // After every change of the list: a new listing sorted by date taken has its dates read.
  void OnListChanged();
  void RequestDates();
  void OnDatesReady();
  // The start image is enabled only idle and with the list in its order.
  void EnableStart();
  void ImgRefresh_Click();
  void TextPatt_GotFocus();
  void TextPatt_KeyDown(WORD keyCode, int shift);

  // Template editor and its pop-up menu `menupopo` (main_window_template.cpp).
  void InitTemplateEditor();
  static LRESULT CALLBACK MouseSubclassProc(HWND control, UINT message, WPARAM wParam,
                                            LPARAM lParam, UINT_PTR id, DWORD_PTR refData);
  // `button`: 1 left, 2 right, 4 middle; `at` in the box's client pixels.
  void TextRull_MouseDown(int button, POINT at);
  // Tab and Shift+Tab leave the template box along the focus order; Ctrl+Tab types a tab.
  // True when the key has been handled.
  bool TextRull_KeyDown(WORD keyCode, int shift);
  void LabTitle_MouseDown(int index, int button);
  // A press on the window itself: on a caption, its MouseDown and Click.
  void OnCaptionPress(UINT message, POINT at);
  void PrepareTemplateMenu();  // the enabled states of the items, set before every opening
  void ShowTemplateMenu(POINT screenPoint);
  void TemplateMenu_Click(int id);
  std::wstring TemplateSelection() const;
  void ReplaceTemplateSelection(const std::wstring& text);
  void menucopy_Click();
  void menuplast_Click();
  // The items of `menution` ("命    令"), one per token (menuname_Click, menuext_Click,
  // menudate_Click, menutime_Click, menudd_Click and the date items): "%" + its keyword +
  // its parameters + "%" at the caret.
  void menution_Click(const TokenSpec& token);
  void menufilter_Click(const FilterItem& item);
  void menupreview_Click();

  // The About box (main_window_about.cpp).
  void LabTitle_Click(int index);

  // What a run, an undo or a preview pass is assembled from: the settings, the keywords,
  // the clock, the locale, the program folder and the caption.
  BatchSources Sources() const;
  SettingReader SettingsReader() const;  // reads settings_, which outlives every batch

  // The rename run behind the start image (main_window_run.cpp) and the undo of the last
  // run from its journal (main_window_undo.cpp), both run by RunInWindow
  // (main_window_batch.cpp).
  void ImgStart_Click();
  bool UndoAvailable() const;  // the journal holds something to undo, and it is this run's
  void menuundo_Click();

  // Saved templates and Explorer's folder menu, the last items of `menupopo`
  // (main_window_saved.cpp); the text at exit kept by Form_Unload and restored by Form_Load.
  TemplateStore Templates() const;
  ExplorerMenu ExplorerEntry() const;
  void PrepareSavedTemplatesMenu(bool running);
  void menutemplate_Click(int index);
  void menusavetemplate_Click();
  void menutemplatefolder_Click();
  void menuexplorer_Click();
  bool AcceptTemplateName(HWND dialog, const std::wstring& name, std::wstring& reason);
  int Ask(HWND owner, const std::wstring& text, UINT style);
  void RestoreLastTemplate();
  void KeepLastTemplate();
  // Runs the batch `start` starts; at its end the summary in the status line, the idle
  // state, the list read again by `relist`, the log shown when it holds failures and
  // "openlog" asks for it, and a close that waited for the end.
  void RunInWindow(const BatchSession::Start& start, const std::function<void()>& relist);
  void ShowBatchProgress(const BatchProgress& progress);
  void LetEventsRun();
  // True when messages (input, sent or posted ones, paints) wait for the window's thread.
  static bool EventsWaiting();
  // During a run: puts check box `index` back to its flag's state and returns true.
  bool HoldOffCheckBox(int index);

  // Look and layout (main_window_layout.cpp).
  // Sizes the window for its DPI, creates every control of the layout table at its place
  // with its font and picture, and applies the resize rules once.
  bool CreateLayoutControls();
  void CreateFonts();
  void CreatePictures();
  void ApplyFontsAndPictures();
  HFONT FontOf(FontKind kind) const;
  RECT ControlPlace(const ControlSpec& entry, HDC dc) const;
  void SizeWindowToClient();
  void Form_Resize();
  void ShowStartPicture();  // the picture of the state the window is in
  void OnDpiChanged(int dpi, const RECT& suggested);
  bool OnSetCursor(HWND over, int hitTest);
  int CaptionAt(POINT at) const;  // the caption's id; 0 when there is none
  bool DrawDecoration(const DRAWITEMSTRUCT& item) const;
  // The captions, strips, lines and frames, bottom of the z-order first, on the window's
  // background.
  void PaintWindowless(HDC dc) const;
  void PaintStrips(HDC dc, const RECT& target) const;
  RECT ClientRectOf(HWND control) const;

  // The folder chooser and folder drag and drop (main_window_folder.cpp, main_window_drop.cpp).
  void ImgSetPath_Click();
  void AcceptDroppedFolders();  // the last two steps of start-up
  void StopAcceptingDrops();    // at unload, before the window goes
  static LRESULT CALLBACK MainWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  // The live preview (main_window_preview.cpp): a pass in the background after every
  // change of the template or the list, its rows in the preview window and in the tips
  // over `File1`.
  void InitPreview();
  static LRESULT CALLBACK TemplateTextProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR refData);
  void TextRull_Change();
  void StartPreviewPass();
  void WantPreview();
  void OnPreviewReady();
  void ShowPreviewState();
  void OpenPreview();

  MainWindowOptions options_;
  SettingsStore settings_;
  HWND hwnd_ = nullptr;
  int dpi_ = 96;
  FileList file1_;
  std::wstring currentFolder_;
  Keywords keywords_;
  UniqueFont uiFont_, headerFont_, templateFont_;
  UniqueBrush windowBrush_, editBrush_;
  WindowPictures pictures_;
  std::array<HBITMAP, 4> stripPictures_{};  // what `ImgTitle(0..3)` show; owned by pictures_
  std::map<int, RECT> windowless_;          // captions, strips, lines, frames; client pixels
  std::map<int, HCURSOR> pointers_;         // custom pointers by control id
  UniqueMenu menupopo_;
  HMENU templatesMenu_ = nullptr;            // "模    板", owned by menupopo_
  std::vector<std::wstring> templateNames_;  // what its items showed when it last opened
  bool unloaded_ = false;
  RunState runState_ = RunState::Idle;  // what SetRunningState last showed
  bool closePending_ = false;           // the window was closed during a run: unload when it ends
  BatchSession batch_;
  // The dates taken read so far, and the reading of a listing's dates for the order Taken.
  std::shared_ptr<TakenDates> takenDates_ = std::make_shared<TakenDates>();
  std::shared_ptr<const WorkList> datesListing_;  // the listing whose dates were asked for
  bool awaitingDates_ = false;                    // the list waits for its dates: no run meanwhile
  bool datesShown_ = false;                       // the status line shows the reading's progress
  bool summaryShown_ = false;               // the status line shows a run's or an undo's summary
  std::unique_ptr<DateReader> dateReader_;  // made at the first need
  WNDPROC prevWndProc_ = nullptr;           // `PrevWndProc`: where `MainWndProc` passes messages on
  PreviewWindow preview_;
  // Last, so it goes first: its thread reads settings_ and options_ until it has stopped.
  LivePreview livePreview_;
};

}  // namespace tarnivo
