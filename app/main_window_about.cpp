// The About box behind "帮助": the revision, the token keywords the token table lists for
// it as configured, and the way into the help file.
#include "app/main_window.h"
#include "app/version_info.h"
#include "engine/number_format.h"

namespace tarnivo {

namespace {

constexpr int kHelpLabel = 3;                             // LabTitle(3), "帮助"
constexpr UINT kAboutStyle = MB_YESNO | MB_ICONQUESTION;  // 36; Yes is the default button

// "name=%name%<TAB>ext=%ext%<CR LF>date=%date%<TAB>now=%now%<CR LF>": two a line.
std::wstring AboutText(const Keywords& keywords) {
  std::wstring text;
  int listed = 0;
  for (const TokenSpec& token : kTokens) {
    if (token.AboutName.empty()) continue;
    text.append(token.AboutName).append(L"=%").append(keywords[token.Kind]).append(L"%");
    text.append(++listed % 2 == 1 ? L"\t" : L"\r\n");
  }
  return text + L"\r\n现在是否打开帮助文件?";
}

}  // namespace

void MainWindow::LabTitle_Click(int index) {
  if (index != kHelpLabel) return;
  const int revision = options_.Revision ? *options_.Revision : ProgramRevision();
  const std::wstring title = L"关于 修订号" + FormatZeroPadded(revision, 4);
  const std::wstring text = AboutText(keywords_);
  const int answer = ShowMessage(hwnd_, text, title, kAboutStyle);
  // The window may have closed while the box was open; a box that failed to show answers 0.
  if (answer == IDYES && hwnd_) ShellOpen(L"help.chm");
}

}  // namespace tarnivo
