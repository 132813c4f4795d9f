#pragma once
// "保存为模板": a small modal dialog that asks for the name of a template. Its caller
// judges each name on 确定: the dialog closes when the caller takes it, and otherwise shows
// the caller's reason in a line of its own and lets the name be corrected.
#include <windows.h>

#include <functional>
#include <string>

namespace tarnivo {

struct TemplateNameRequest {
  std::wstring Name;  // what the name box starts with
  // Takes a name: true when done (saved); false with the reason to show, or with an empty
  // reason when the user decided against it (a replacement declined) and may go on typing.
  std::function<bool(HWND dialog, const std::wstring& name, std::wstring& reason)> Accept;
};

inline constexpr wchar_t kTemplateNameCaption[] = L"保存为模板";
inline constexpr int kTemplateNameEdit = 101;    // the name box
inline constexpr int kTemplateNameReason = 102;  // the line with the reason a name was refused

// Runs the dialog over `owner`; true when a name was taken, false when cancelled (or the
// system refused the dialog).
bool AskTemplateName(HWND owner, TemplateNameRequest request);

}  // namespace tarnivo
