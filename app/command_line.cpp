#include "app/command_line.h"

#include <algorithm>
#include <vector>

#include "engine/text.h"
#include "win/paths.h"

namespace tarnivo {
namespace {

// The arguments as the system's rules cut them: blanks separate, double quotes group,
// and the quotes themselves are dropped.
std::vector<std::wstring> Split(std::wstring_view arguments) {
  std::vector<std::wstring> words;
  std::wstring word;
  bool inWord = false, quoted = false;
  for (const wchar_t c : arguments) {
    if (c == L'"') {
      quoted = !quoted;
      inWord = true;
    } else if ((c == L' ' || c == L'\t') && !quoted) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      word.push_back(c);
      inWord = true;
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}

bool IsSwitch(const std::wstring& word) { return !word.empty() && word[0] == L'/'; }

bool Same(std::wstring_view word, std::wstring_view name) {
  return word.size() == name.size() &&
         std::equal(word.begin(), word.end(), name.begin(),
                    [](wchar_t a, wchar_t b) { return LowerAscii(a) == b; });
}

}  // namespace

std::wstring ArgumentsAfterProgramName(std::wstring_view commandLine) {
  size_t i = 0;
  if (!commandLine.empty() && commandLine[0] == L'"') {
    // A quoted program name ends at the next quote.
    const size_t close = commandLine.find(L'"', 1);
    i = close == std::wstring_view::npos ? commandLine.size() : close + 1;
  } else {
    while (i < commandLine.size() && commandLine[i] != L' ' && commandLine[i] != L'\t') ++i;
  }
  while (i < commandLine.size() && (commandLine[i] == L' ' || commandLine[i] == L'\t')) ++i;
  return std::wstring(commandLine.substr(i));
}

std::wstring FolderCandidate(std::wstring_view arguments) {
  std::wstring folder(arguments);
  std::erase(folder, L'"');
  return EnsureTrailingBackslash(std::move(folder));
}

Command ParseCommand(std::wstring_view arguments) {
  Command command;
  const std::vector<std::wstring> words = Split(arguments);
  const auto first = std::find_if(words.begin(), words.end(), IsSwitch);
  if (first == words.end()) {
    command.Folder = FolderCandidate(arguments);  // as always: the whole text is the folder
    return command;
  }
  std::wstring folder;
  for (auto word = words.begin(); word != first; ++word) {
    folder += (folder.empty() ? L"" : L" ") + *word;
  }
  if (!folder.empty()) command.Folder = FolderCandidate(folder);
  const auto fail = [&command](std::wstring error) {
    if (command.Error.empty()) command.Error = std::move(error);
  };
  const auto action = [&](CommandAction wanted, const std::wstring& word) {
    if (command.Action != CommandAction::Window && command.Action != wanted) {
      fail(L"只能有一个 /run、/preview、/undo 或 /?: " + word);
    }
    command.Action = wanted;
  };
  for (auto word = first; word != words.end(); ++word) {
    const auto value = [&](std::wstring& into) {
      if (word + 1 == words.end() || IsSwitch(*(word + 1))) {
        fail(L"缺少 " + *word + L" 的值");
        return;
      }
      into = *++word;
    };
    if (!IsSwitch(*word)) {
      fail(L"多余的参数: " + *word);
    } else if (Same(*word, L"/run")) {
      action(CommandAction::Run, *word);
    } else if (Same(*word, L"/preview")) {
      action(CommandAction::Preview, *word);
    } else if (Same(*word, L"/undo")) {
      action(CommandAction::Undo, *word);
    } else if (*word == L"/?" || Same(*word, L"/help")) {
      action(CommandAction::Help, *word);
    } else if (Same(*word, L"/template")) {
      value(command.TemplateName);
    } else if (Same(*word, L"/template-file")) {
      value(command.TemplateFile);
    } else if (Same(*word, L"/pattern")) {
      std::wstring pattern;
      value(pattern);
      command.Pattern = pattern;
    } else if (Same(*word, L"/sort")) {
      std::wstring key;
      value(key);
      const std::optional<SortKey> sortKey = SortKeyOfWord(key);
      if (!key.empty() && !sortKey) fail(L"/sort 只能是 name、taken、modified 或 size: " + key);
      ListOrder order = command.Order.value_or(ListOrder{});
      order.Key = sortKey.value_or(SortKey::Name);
      command.Order = order;
    } else if (Same(*word, L"/desc")) {
      ListOrder order = command.Order.value_or(ListOrder{});
      order.Descending = true;
      command.Order = order;
    } else {
      fail(L"不认识的参数: " + *word);
    }
  }
  if (command.Action == CommandAction::Window) fail(L"缺少 /run、/preview、/undo 或 /?");
  const bool needsTemplate =
      command.Action == CommandAction::Run || command.Action == CommandAction::Preview;
  if (needsTemplate) {
    if (command.Folder.empty()) fail(L"缺少文件夹");
    if (command.TemplateName.empty() == command.TemplateFile.empty()) {
      fail(L"需要 /template 或 /template-file 中的一个");
    }
  }
  return command;
}

std::wstring_view CommandUsage() {
  return L"用法:\r\n"
         L"  tarnivo.exe [文件夹]\r\n"
         L"      打开窗口, 列出文件夹中的文件\r\n"
         L"  tarnivo.exe 文件夹 /run (/template 名字 | /template-file 文件) [/pattern 文件类型]\r\n"
         L"              [/sort name|taken|modified|size] [/desc]\r\n"
         L"      不打开窗口, 按模板给文件夹中的文件改名\r\n"
         L"  tarnivo.exe 文件夹 /preview (/template 名字 | /template-file 文件) [...]\r\n"
         L"      列出每个文件的原名、新名和预计结果, 不改名\r\n"
         L"  tarnivo.exe /undo\r\n"
         L"      撤销上一次转换\r\n"
         L"  tarnivo.exe /?\r\n"
         L"      显示本说明\r\n"
         L"退出代码: 0 全部成功, 1 有文件失败, 2 参数有误, 3 程序已在运行\r\n";
}

}  // namespace tarnivo
