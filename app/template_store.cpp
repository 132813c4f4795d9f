#include "app/template_store.h"

#include <windows.h>

#include "app/explorer_order.h"
#include "engine/log_file.h"
#include "engine/rename_plan.h"
#include "engine/run_log.h"
#include "win/code_page.h"
#include "win/handles.h"
#include "win/paths.h"

namespace tarnivo {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::wstring_view kExtension = L".txt";
// The text at exit: not a ".txt", so never listed among the saved templates.
constexpr std::wstring_view kLastFile = L"上次退出时.last";

}  // namespace

std::wstring DecodeTemplateFile(std::string_view bytes) {
  const bool marked = bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark;
  if (marked) bytes.remove_prefix(kByteOrderMark.size());
  std::wstring raw = FromUtf8(bytes).value_or(std::wstring());
  if (raw.empty() && !bytes.empty()) raw = FromAnsi(bytes);
  std::wstring text;
  text.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == L'\n' && (i == 0 || raw[i - 1] != L'\r')) text.push_back(L'\r');
    text.push_back(raw[i]);
  }
  return text;
}

std::string EncodeTemplateFile(std::wstring_view text) {
  return std::string(kByteOrderMark) + ToUtf8(text);
}

bool IsTemplateName(std::wstring_view name) {
  return !name.empty() && CheckNewName(std::wstring(name) + std::wstring(kExtension)) ==
                              NameProblem::None;
}

std::wstring TemplateStore::PathOf(std::wstring_view fileName) const {
  return EnsureTrailingBackslash(folder_) + std::wstring(fileName);
}

std::vector<std::wstring> TemplateStore::Names() const {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  const UniqueFindHandle find(
      FindFirstFileW(ExtendedPath(PathOf(L"*")).c_str(), &data));
  if (find.Get() == INVALID_HANDLE_VALUE) return names;  // no folder yet: no templates
  do {
    const std::wstring name = data.cFileName;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name.size() <= kExtension.size()) {
      continue;
    }
    const std::wstring stem = name.substr(0, name.size() - kExtension.size());
    if (CompareStringOrdinal(name.c_str() + stem.size(), -1, kExtension.data(), -1, TRUE) ==
        CSTR_EQUAL) {
      names.push_back(stem);
    }
  } while (FindNextFileW(find.Get(), &data));
  SortInExplorerOrder(names);
  return names;
}

bool TemplateStore::Exists(std::wstring_view name) const {
  return GetFileAttributesW(ExtendedPath(PathOf(std::wstring(name) + std::wstring(kExtension)))
                                .c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::wstring> TemplateStore::Load(std::wstring_view name) const {
  if (!IsTemplateName(name)) return std::nullopt;
  std::string bytes;
  if (!ReadWholeFile(PathOf(std::wstring(name) + std::wstring(kExtension)), bytes)) {
    return std::nullopt;
  }
  return DecodeTemplateFile(bytes);
}

bool TemplateStore::Write(std::wstring_view fileName, std::wstring_view text,
                          std::wstring* why) const {
  // The folder may be there already; a failure to make it shows in the file's creation.
  CreateDirectoryW(ExtendedPath(folder_).c_str(), nullptr);
  OutputFile file;
  if (!file.Create(PathOf(fileName))) {
    if (why) *why = SystemErrorText(GetLastError());
    return false;
  }
  if (file.Write(EncodeTemplateFile(text))) return true;
  if (why) *why = SystemErrorText(GetLastError());
  return false;
}

bool TemplateStore::Save(std::wstring_view name, std::wstring_view text,
                         std::wstring* why) const {
  return IsTemplateName(name) && Write(std::wstring(name) + std::wstring(kExtension), text, why);
}

std::optional<std::wstring> TemplateStore::LoadLast() const {
  std::string bytes;
  if (!ReadWholeFile(PathOf(kLastFile), bytes)) return std::nullopt;
  return DecodeTemplateFile(bytes);
}

bool TemplateStore::SaveLast(std::wstring_view text) const { return Write(kLastFile, text, nullptr); }

}  // namespace tarnivo
