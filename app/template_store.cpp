#include "app/template_store.h"

#include <windows.h>

#include <algorithm>

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
  return !name.empty() &&
         CheckNewName(std::wstring(name) + std::wstring(kExtension)) == NameProblem::None;
}

namespace {

std::wstring InFolder(const std::wstring& folder, std::wstring_view fileName) {
  return EnsureTrailingBackslash(folder) + std::wstring(fileName);
}

std::wstring FileOf(std::wstring_view name) {
  return std::wstring(name) + std::wstring(kExtension);
}

// The stems of the ".txt" files in `folder` that are not already in `names`.
void AddNames(const std::wstring& folder, std::vector<std::wstring>& names) {
  WIN32_FIND_DATAW data;
  const UniqueFindHandle find(FindFirstFileW(ExtendedPath(InFolder(folder, L"*")).c_str(), &data));
  if (find.Get() == INVALID_HANDLE_VALUE) return;  // no folder yet: no templates
  do {
    const std::wstring name = data.cFileName;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name.size() <= kExtension.size()) {
      continue;
    }
    const std::wstring stem = name.substr(0, name.size() - kExtension.size());
    const auto same = [](const std::wstring& a, const std::wstring& b) {
      return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
    };
    if (!same(name.substr(stem.size()), std::wstring(kExtension))) continue;
    if (std::none_of(names.begin(), names.end(), [&](const auto& n) { return same(n, stem); })) {
      names.push_back(stem);
    }
  } while (FindNextFileW(find.Get(), &data));
}

}  // namespace

std::vector<std::wstring> TemplateStore::ReadFolders() const {
  std::vector<std::wstring> folders{folder_};
  if (!alsoFrom_.empty()) folders.push_back(alsoFrom_);
  return folders;
}

std::optional<std::wstring> TemplateStore::ReadFirst(std::wstring_view fileName) const {
  for (const std::wstring& folder : ReadFolders()) {
    std::string bytes;
    if (ReadWholeFile(InFolder(folder, fileName), bytes)) return DecodeTemplateFile(bytes);
  }
  return std::nullopt;
}

std::vector<std::wstring> TemplateStore::Names() const {
  std::vector<std::wstring> names;
  for (const std::wstring& folder : ReadFolders()) AddNames(folder, names);
  SortInExplorerOrder(names);
  return names;
}

bool TemplateStore::Exists(std::wstring_view name) const {
  const std::vector<std::wstring> folders = ReadFolders();
  return std::any_of(folders.begin(), folders.end(), [&](const std::wstring& folder) {
    return GetFileAttributesW(ExtendedPath(InFolder(folder, FileOf(name))).c_str()) !=
           INVALID_FILE_ATTRIBUTES;
  });
}

std::optional<std::wstring> TemplateStore::Load(std::wstring_view name) const {
  if (!IsTemplateName(name)) return std::nullopt;
  return ReadFirst(FileOf(name));
}

bool TemplateStore::Write(std::wstring_view fileName, std::wstring_view text,
                          std::wstring* why) const {
  const auto fail = [why] {
    if (why) *why = SystemErrorText(GetLastError());
    return false;
  };
  // The folder may be there already; a failure to make it shows in the file's creation.
  CreateDirectoryW(ExtendedPath(folder_).c_str(), nullptr);
  // Written aside, then put in place: a full disk leaves the template it replaces whole.
  const std::wstring target = InFolder(folder_, fileName);
  const std::wstring aside = target + L".new";
  OutputFile file;
  if (!file.Create(aside)) return fail();
  const bool written = file.Write(EncodeTemplateFile(text));
  file.Close();
  if (written && MoveFileExW(ExtendedPath(aside).c_str(), ExtendedPath(target).c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  fail();
  DeleteFileW(ExtendedPath(aside).c_str());  // what is left of it is of no use
  return false;
}

bool TemplateStore::Save(std::wstring_view name, std::wstring_view text, std::wstring* why) const {
  return IsTemplateName(name) && Write(FileOf(name), text, why);
}

std::optional<std::wstring> TemplateStore::LoadLast() const { return ReadFirst(kLastFile); }

bool TemplateStore::SaveLast(std::wstring_view text) const {
  return Write(kLastFile, text, nullptr);
}

TemplateStore TemplatesOf(const DataFolders& folders) {
  const std::wstring records = folders.Records();
  const std::wstring other = records == folders.Program ? folders.Fallback : folders.Program;
  const auto templates = [](const std::wstring& folder) {
    return folder.empty() ? std::wstring() : InFolder(folder, kTemplateFolderName);
  };
  return TemplateStore(templates(records), templates(other));
}

}  // namespace tarnivo
