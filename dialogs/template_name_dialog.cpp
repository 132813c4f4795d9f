#include "dialogs/template_name_dialog.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace tarnivo {
namespace {

// A dialog template built in memory: the dialog needs no resource script, so the program
// and its tests carry the same one.
class DialogTemplate {
 public:
  DialogTemplate(std::wstring_view caption, short width, short height) {
    DLGTEMPLATE header{};
    header.style = DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    header.cx = width;
    header.cy = height;
    Add(&header, sizeof header);
    countAt_ = offsetof(DLGTEMPLATE, cdit);
    Word(0);  // no menu
    Word(0);  // the dialog class
    Text(caption);
    Word(9);  // points
    Text(L"MS Shell Dlg");
  }

  // `windowClass`: one of the system's predefined control atoms.
  void Item(std::uint16_t windowClass, int id, std::wstring_view text, DWORD style, short x,
            short y, short width, short height) {
    Align();
    DLGITEMTEMPLATE item{};
    item.style = style | WS_CHILD | WS_VISIBLE;
    item.x = x;
    item.y = y;
    item.cx = width;
    item.cy = height;
    item.id = static_cast<WORD>(id);
    Add(&item, sizeof item);
    Word(0xFFFF);
    Word(windowClass);
    Text(text);
    Word(0);  // no creation data
    WORD count = 0;
    std::memcpy(&count, bytes_.data() + countAt_, sizeof count);
    ++count;
    std::memcpy(bytes_.data() + countAt_, &count, sizeof count);
  }

  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

 private:
  void Add(const void* data, std::size_t size) {
    const auto* from = static_cast<const std::uint8_t*>(data);
    bytes_.insert(bytes_.end(), from, from + size);
  }
  void Word(WORD value) { Add(&value, sizeof value); }
  void Text(std::wstring_view text) {
    Add(text.data(), text.size() * sizeof(wchar_t));
    Word(0);
  }
  void Align() {
    while (bytes_.size() % sizeof(DWORD) != 0) bytes_.push_back(0);
  }

  std::vector<std::uint8_t> bytes_;  // starts DWORD-aligned: vector storage is
  std::size_t countAt_ = 0;
};

constexpr std::uint16_t kButton = 0x0080;
constexpr std::uint16_t kEdit = 0x0081;
constexpr std::uint16_t kStatic = 0x0082;

std::wstring TextOf(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

INT_PTR CALLBACK NameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* request = reinterpret_cast<TemplateNameRequest*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      request = reinterpret_cast<TemplateNameRequest*>(lParam);
      SetDlgItemTextW(dialog, kTemplateNameEdit, request->Name.c_str());
      return TRUE;  // the name box, first in the tab order, takes the focus
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: {
          const HWND edit = GetDlgItem(dialog, kTemplateNameEdit);
          std::wstring reason;
          if (request->Accept(dialog, TextOf(edit), reason)) {
            EndDialog(dialog, IDOK);
            return TRUE;
          }
          SetDlgItemTextW(dialog, kTemplateNameReason, reason.c_str());
          SetFocus(edit);
          SendMessageW(edit, EM_SETSEL, 0, -1);
          return TRUE;
        }
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

}  // namespace

bool AskTemplateName(HWND owner, TemplateNameRequest request) {
  DialogTemplate layout(kTemplateNameCaption, 220, 86);
  layout.Item(kStatic, -1, L"模板名:", SS_LEFT, 7, 9, 206, 9);
  layout.Item(kEdit, kTemplateNameEdit, L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 20, 206,
              13);
  layout.Item(kStatic, kTemplateNameReason, L"", SS_LEFT | SS_NOPREFIX, 7, 38, 206, 20);
  layout.Item(kButton, IDOK, L"确定", BS_DEFPUSHBUTTON | WS_TABSTOP, 109, 64, 50, 14);
  layout.Item(kButton, IDCANCEL, L"取消", BS_PUSHBUTTON | WS_TABSTOP, 163, 64, 50, 14);
  const INT_PTR result =
      DialogBoxIndirectParamW(GetModuleHandleW(nullptr), layout.Get(), owner, NameDialogProc,
                              reinterpret_cast<LPARAM>(&request));
  return result == IDOK;
}

}  // namespace tarnivo
