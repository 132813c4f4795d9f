// Saved templates and Explorer's folder menu, the last items of the template box's pop-up
// menu: "模    板" with a template per item, "保存为模板…", "打开模板文件夹" and the checkable
// "加入右键菜单". The template box's text at exit comes back at the next start.
#include <string>

#include "app/control_ids.h"
#include "app/main_window.h"
#include "app/menu_ids.h"
#include "engine/run_log.h"
#include "win/paths.h"

namespace tarnivo {
namespace {

constexpr wchar_t kMessageTitle[] = L"Tarnivo";

}  // namespace

TemplateStore MainWindow::Templates() const { return TemplatesOf(Folders()); }

ExplorerMenu MainWindow::ExplorerEntry() const {
  return {options_.ExplorerClassesKey,
          options_.ExplorerProgram.empty() ? ExecutablePath() : options_.ExplorerProgram};
}

void MainWindow::PrepareSavedTemplatesMenu(bool running) {
  const HMENU menu = menupopo_.Get();
  if (templatesMenu_) {
    while (GetMenuItemCount(templatesMenu_) > 0) DeleteMenu(templatesMenu_, 0, MF_BYPOSITION);
    templateNames_ = Templates().Names();
    if (templateNames_.size() > ids::kTemplateItemCount) {
      templateNames_.resize(ids::kTemplateItemCount);
    }
    // An item the system refuses is only missing from the submenu: nothing depends on it.
    for (std::size_t i = 0; i < templateNames_.size(); ++i) {
      // "&" would make the next character a shortcut; doubled it shows as itself.
      std::wstring caption;
      for (const wchar_t c : templateNames_[i]) caption += c == L'&' ? L"&&" : std::wstring(1, c);
      AppendMenuW(templatesMenu_, MF_STRING | (running ? MF_GRAYED : 0),
                  static_cast<UINT_PTR>(ids::TemplateItem(static_cast<int>(i))), caption.c_str());
    }
    if (templateNames_.empty()) {
      AppendMenuW(templatesMenu_, MF_STRING | MF_GRAYED, ids::menunotemplates, L"(无)");
    }
  }
  CheckMenuItem(menu, ids::menuexplorer,
                MF_BYCOMMAND | (ExplorerMenuPresent(ExplorerEntry()) ? MF_CHECKED : MF_UNCHECKED));
}

void MainWindow::menutemplate_Click(int index) {
  if (RunInProgress() || index < 0 || index >= static_cast<int>(templateNames_.size())) return;
  const std::wstring& name = templateNames_[static_cast<std::size_t>(index)];
  const std::optional<std::wstring> text = Templates().Load(name);
  if (!text) {
    Ask(hwnd_, L"无法读取模板“" + name + L"”", MB_OK | MB_ICONWARNING);
    return;
  }
  // Replaced as a typed selection would be, so that Ctrl+Z brings the old text back.
  const HWND box = Control(ids::TextRull);
  SendMessageW(box, EM_SETSEL, 0, -1);
  ReplaceTemplateSelection(*text);
}

void MainWindow::menusavetemplate_Click() {
  TemplateNameRequest request;
  request.Accept = [this](HWND dialog, const std::wstring& name, std::wstring& reason) {
    return AcceptTemplateName(dialog, name, reason);
  };
  if (options_.AskTemplateName) {
    options_.AskTemplateName(hwnd_, std::move(request));
  } else {
    AskTemplateName(hwnd_, std::move(request));
  }
}

bool MainWindow::AcceptTemplateName(HWND dialog, const std::wstring& name, std::wstring& reason) {
  if (!IsTemplateName(name)) {
    reason = L"“" + name +
             L"”不能用作文件名: 不能为空, 不能含有 \\ / : * ? \" < > |, 也不能以空格或点结尾";
    return false;
  }
  const TemplateStore store = Templates();
  if (store.Exists(name) && Ask(dialog, L"模板“" + name + L"”已经存在, 要替换它吗?",
                                MB_YESNO | MB_ICONQUESTION) != IDYES) {
    reason.clear();
    return false;
  }
  std::wstring why;
  if (store.Save(name, ControlText(ids::TextRull), &why)) return true;
  reason = L"无法保存到 " + store.Folder() + L": " + why;
  return false;
}

int MainWindow::Ask(HWND owner, const std::wstring& text, UINT style) {
  return ShowMessage(owner, text, kMessageTitle, style);
}

void MainWindow::menutemplatefolder_Click() {
  const TemplateStore store = Templates();
  // Made when missing, so that there is a folder to open and to put templates in.
  if (!CreateDirectoryW(ExtendedPath(store.Folder()).c_str(), nullptr) &&
      GetLastError() != ERROR_ALREADY_EXISTS) {
    Ask(hwnd_, L"无法创建 " + store.Folder() + L": " + SystemErrorText(GetLastError()),
        MB_OK | MB_ICONWARNING);
    return;
  }
  ShellOpen(AnsiSafeFolder(store.Folder()), FolderOf(store.Folder()));
}

void MainWindow::menuexplorer_Click() {
  const ExplorerMenu entry = ExplorerEntry();
  std::wstring why;
  const bool present = ExplorerMenuPresent(entry);
  if (present ? RemoveExplorerMenu(entry, &why) : AddExplorerMenu(entry, &why)) return;
  Ask(hwnd_, (present ? L"无法从右键菜单中去掉: " : L"无法加入右键菜单: ") + why,
      MB_OK | MB_ICONWARNING);
}

void MainWindow::RestoreLastTemplate() {
  const std::optional<std::wstring> text = Templates().LoadLast();
  // Set as the box's own text: nothing to take back with Ctrl+Z at start-up.
  if (text) SetWindowTextW(Control(ids::TextRull), text->c_str());
}

void MainWindow::KeepLastTemplate() {
  // Where neither the program folder nor the user's can be written, the text is quietly
  // not kept: nothing the user asked for is lost.
  static_cast<void>(Templates().SaveLast(ControlText(ids::TextRull)));
}

}  // namespace tarnivo
