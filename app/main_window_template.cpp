// The template box `TextRull` as an editor, and its pop-up menu `menupopo`: copy, paste,
// the token items, the preview and the undo, then the saved templates and Explorer's
// folder menu (main_window_saved.cpp). The menu opens on a right press in the box and on a
// press on the header label "转换命令"; a press on any header label refreshes the copy and paste
// states.
#include <windows.h>
// Needs windows.h before it.
#include <commctrl.h>
#include <windowsx.h>

#include <span>

#include "app/clipboard.h"
#include "app/control_ids.h"
#include "app/filter_items.h"
#include "app/main_window.h"
#include "app/menu_ids.h"
#include "win/keyboard.h"

namespace tarnivo {

namespace {

constexpr UINT_PTR kMouseSubclassId = 1;

// Mouse buttons as the press handlers number them.
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;

constexpr int kTemplateLabel = 4;  // LabTitle(4), "转换命令"

int ButtonOf(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
      return kLeftButton;
    case WM_RBUTTONDOWN:
      return kRightButton;
    case WM_MBUTTONDOWN:
      return kMiddleButton;
    default:
      return 0;
  }
}

struct MenuItem {
  int Id;
  const wchar_t* Caption;
};

bool AppendItems(HMENU menu, std::span<const MenuItem> items) {
  for (const MenuItem& item : items) {
    if (!AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.Id), item.Caption)) return false;
  }
  return true;
}

// `menution`, "命    令": an item per token, then, below a separator, an item per filter.
bool AppendTokenItems(HMENU menu) {
  for (const TokenSpec& token : kTokens) {
    const std::wstring caption(token.MenuCaption);
    if (!AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(ids::TokenItem(token.Kind)),
                     caption.c_str())) {
      return false;
    }
  }
  if (!AppendMenuW(menu, MF_SEPARATOR, 0, nullptr)) return false;
  for (std::size_t i = 0; i < kFilterItems.size(); ++i) {
    const std::wstring caption(kFilterItems[i].Caption);
    if (!AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(ids::FilterItem(static_cast<int>(i))),
                     caption.c_str())) {
      return false;
    }
  }
  return true;
}
static_assert(kFilterItems.size() == ids::kFilterItemCount);

// `menupopo` with every item enabled, its submenu "模    板" still empty in `templates`;
// empty when the system refuses a menu.
UniqueMenu BuildTemplateMenu(HMENU& templates) {
  static constexpr MenuItem kEditItems[] = {
      {ids::menucopy, L"复    制"},
      {ids::menuplast, L"粘    贴"},
  };
  // Items that open other windows, below a separator of their own.
  static constexpr MenuItem kWindowItems[] = {
      {ids::menupreview, L"预    览"},
      {ids::menuundo, L"撤    销"},
  };
  UniqueMenu popup(CreatePopupMenu());
  UniqueMenu commands(CreatePopupMenu());  // `menution`, "命    令"
  if (!popup || !commands) return {};
  if (!AppendItems(popup.Get(), kEditItems) || !AppendTokenItems(commands.Get()) ||
      !AppendMenuW(popup.Get(), MF_SEPARATOR, 0, nullptr) ||
      !AppendMenuW(popup.Get(), MF_POPUP, reinterpret_cast<UINT_PTR>(commands.Get()),
                   L"命    令")) {
    return {};
  }
  commands.Release();  // destroyed with the menu that now holds it
  if (!AppendMenuW(popup.Get(), MF_SEPARATOR, 0, nullptr) ||
      !AppendItems(popup.Get(), kWindowItems)) {
    return {};
  }
  // Saved templates, then Explorer's folder menu, each below a separator.
  static constexpr MenuItem kTemplateItems[] = {
      {ids::menusavetemplate, L"保存为模板…"},
      {ids::menutemplatefolder, L"打开模板文件夹"},
  };
  UniqueMenu saved(CreatePopupMenu());
  if (!saved || !AppendMenuW(popup.Get(), MF_SEPARATOR, 0, nullptr) ||
      !AppendMenuW(popup.Get(), MF_POPUP, reinterpret_cast<UINT_PTR>(saved.Get()), L"模    板")) {
    return {};
  }
  templates = saved.Release();
  if (!AppendItems(popup.Get(), kTemplateItems) ||
      !AppendMenuW(popup.Get(), MF_SEPARATOR, 0, nullptr) ||
      !AppendMenuW(popup.Get(), MF_STRING, ids::menuexplorer, L"加入右键菜单")) {
    return {};
  }
  return popup;
}

// The token of a `menution` item; null for any other id.
const TokenSpec* TokenOfItem(int id) {
  const int index = id - ids::kFirstTokenItem;
  return index >= 0 && index < static_cast<int>(kTokens.size())
             ? &kTokens[static_cast<std::size_t>(index)]
             : nullptr;
}

bool IsItemEnabled(HMENU menu, int id) {
  const UINT state = GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

void EnableItem(HMENU menu, int id, bool enabled) {
  EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

}  // namespace

void MainWindow::InitTemplateEditor() {
  // Without a menu the presses open nothing; the box still edits.
  menupopo_ = BuildTemplateMenu(templatesMenu_);
  // A control whose subclass is refused keeps its plain behaviour; nothing else depends on it.
  // The other header labels are captions: the window hit-tests their presses.
  for (const int id : {ids::TextRull, ids::LabTitle(1)}) {
    SetWindowSubclass(Control(id), MouseSubclassProc, kMouseSubclassId,
                      reinterpret_cast<DWORD_PTR>(this));
  }
}

LRESULT CALLBACK MainWindow::MouseSubclassProc(HWND control, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR, DWORD_PTR refData) {
  auto* self = reinterpret_cast<MainWindow*>(refData);
  const int id = GetDlgCtrlID(control);
  switch (message) {
    case WM_CONTEXTMENU:
      // The edit's own menu would open on the release of the right button.
      if (id == ids::TextRull) return 0;
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      if (id == ids::TextRull) {
        // The box places its caret and takes the focus before the menu opens.
        const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
        self->TextRull_MouseDown(ButtonOf(message),
                                 POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return result;
      }
      self->LabTitle_MouseDown(id - ids::LabTitle(0), ButtonOf(message));
      // The window may have closed while the menu was open. Otherwise a left press goes on
      // to the label, which reports its click.
      if (!IsWindow(control)) return 0;
      break;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(control, MouseSubclassProc, kMouseSubclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

bool MainWindow::TextRull_KeyDown(WORD keyCode, int shift) {
  if (keyCode != VK_TAB || (shift & kAltKey)) return false;
  if (shift & kCtrlKey) {  // as in the multi-line boxes of Windows: the tab character
    ReplaceTemplateSelection(L"\t");
    return true;
  }
  // The box asks for every key, so the dialog navigation never moves the focus out of it.
  const HWND next = GetNextDlgTabItem(hwnd_, Control(ids::TextRull), (shift & kShiftKey) != 0);
  if (next) SetFocus(next);
  return true;
}

void MainWindow::TextRull_MouseDown(int button, POINT at) {
  if (button != kRightButton) return;
  PrepareTemplateMenu();
  ClientToScreen(Control(ids::TextRull), &at);
  ShowTemplateMenu(at);
}

// As a static with SS_NOTIFY does, a left press is also the caption's click.
void MainWindow::OnCaptionPress(UINT message, POINT at) {
  const int id = CaptionAt(at);
  const bool left = message == WM_LBUTTONDOWN;
  if (id == ids::Labexit) {
    if (left) Labexit_Click();
    return;
  }
  if (id < ids::LabTitle(0) || id > ids::LabTitle(4)) return;
  const int index = id - ids::LabTitle(0);
  LabTitle_MouseDown(index, ButtonOf(message));
  // The window may have closed while the menu was open.
  if (left && hwnd_) LabTitle_Click(index);
}

void MainWindow::LabTitle_MouseDown(int index, int /*button: any button counts*/) {
  PrepareTemplateMenu();
  if (index != kTemplateLabel) return;
  // Just under the template header strip, left-aligned with the label.
  const RECT label = PlaceOf(ids::LabTitle(kTemplateLabel));
  const RECT strip = PlaceOf(ids::ImgTitle(2));
  POINT at{label.left, strip.bottom};
  ClientToScreen(hwnd_, &at);
  ShowTemplateMenu(at);
}

void MainWindow::PrepareTemplateMenu() {
  if (!menupopo_) return;
  const HMENU menu = menupopo_.Get();
  // During a run the template must not change between two entries; copying stays allowed.
  const bool running = RunInProgress();
  EnableItem(menu, ids::menucopy, !TemplateSelection().empty());
  // A clipboard held by another program reads as empty.
  EnableItem(menu, ids::menuplast, !running && !ReadClipboardText(hwnd_).empty());
  for (const TokenSpec& token : kTokens) EnableItem(menu, ids::TokenItem(token.Kind), !running);
  for (int i = 0; i < ids::kFilterItemCount; ++i) EnableItem(menu, ids::FilterItem(i), !running);
  EnableItem(menu, ids::menuundo, !running && UndoAvailable());
  PrepareSavedTemplatesMenu(running);
}

void MainWindow::ShowTemplateMenu(POINT screenPoint) {
  if (!menupopo_) return;
  const int chosen =
      options_.PopupMenu
          ? options_.PopupMenu(menupopo_.Get(), screenPoint)
          : static_cast<int>(TrackPopupMenu(
                menupopo_.Get(),
                TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                screenPoint.x, screenPoint.y, 0, hwnd_, nullptr));
  if (chosen != 0 && hwnd_) TemplateMenu_Click(chosen);
}

void MainWindow::TemplateMenu_Click(int id) {
  // Only an enabled item acts, as the menu itself guarantees for a user's choice.
  if (!IsItemEnabled(menupopo_.Get(), id)) return;
  if (const TokenSpec* token = TokenOfItem(id)) {
    menution_Click(*token);
    return;
  }
  if (id >= ids::kFirstFilterItem && id < ids::FilterItem(ids::kFilterItemCount)) {
    menufilter_Click(kFilterItems[static_cast<std::size_t>(id - ids::kFirstFilterItem)]);
    return;
  }
  if (id >= ids::kFirstTemplateItem && id < ids::TemplateItem(ids::kTemplateItemCount)) {
    menutemplate_Click(id - ids::kFirstTemplateItem);
    return;
  }
  switch (id) {
    case ids::menucopy:
      menucopy_Click();
      break;
    case ids::menuplast:
      menuplast_Click();
      break;
    case ids::menupreview:
      menupreview_Click();
      break;
    case ids::menuundo:
      menuundo_Click();
      break;
    case ids::menusavetemplate:
      menusavetemplate_Click();
      break;
    case ids::menutemplatefolder:
      menutemplatefolder_Click();
      break;
    case ids::menuexplorer:
      menuexplorer_Click();
      break;
    default:
      break;
  }
}

std::wstring MainWindow::TemplateSelection() const {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(Control(ids::TextRull), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  const std::wstring text = ControlText(ids::TextRull);
  if (start >= end || end > text.size()) return {};
  return text.substr(start, end - start);
}

void MainWindow::ReplaceTemplateSelection(const std::wstring& text) {
  // Goes in over the selection or at the caret, and the caret ends behind it.
  SendMessageW(Control(ids::TextRull), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void MainWindow::menucopy_Click() {
  const std::wstring selected = TemplateSelection();
  if (selected.empty()) return;
  // A clipboard held by another program leaves its content as it was.
  WriteClipboardText(hwnd_, selected);
}

void MainWindow::menuplast_Click() {
  const std::wstring text = ReadClipboardText(hwnd_);
  if (!text.empty()) ReplaceTemplateSelection(text);
}

// Added to the caret's token line, or as a line of its own, its placeholder selected.
void MainWindow::menufilter_Click(const FilterItem& item) {
  const HWND box = Control(ids::TextRull);
  DWORD start = 0, end = 0;
  SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const TextInsertion insertion =
      PlanFilterInsertion(ControlText(ids::TextRull), end, item.Snippet, keywords_);
  SendMessageW(box, EM_SETSEL, insertion.At, insertion.At);
  ReplaceTemplateSelection(insertion.Text);
  SendMessageW(box, EM_SETSEL, insertion.SelectFrom, insertion.SelectTo);
}

// The keyword as it is now: read once at start-up.
void MainWindow::menution_Click(const TokenSpec& token) {
  ReplaceTemplateSelection(L"%" + keywords_[token.Kind] + std::wstring(token.MenuParameters) +
                           L"%");
}

}  // namespace tarnivo
