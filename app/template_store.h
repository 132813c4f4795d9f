#pragma once
// Templates kept in the folder "模板" beside config.ini: one file a saved template, named
// after it ("旅行.txt"), and the template box's text at exit in a file of its own. UTF-8
// with a byte-order mark and CR LF, so that every character survives and a person can
// write one by hand.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/data_folders.h"

namespace tarnivo {

inline constexpr std::wstring_view kTemplateFolderName = L"模板";

// The text of a template file: UTF-8 (with or without its byte-order mark), else the ANSI
// code page; every lone LF made CR LF (a file written elsewhere keeps its lines).
std::wstring DecodeTemplateFile(std::string_view bytes);
// The bytes of a template file.
std::string EncodeTemplateFile(std::wstring_view text);
// True when `name` can name a saved template: a file name the run itself would give, with
// ".txt" after it.
bool IsTemplateName(std::wstring_view name);

class TemplateStore {
 public:
  // `folder`: the folder "模板" written to (it need not exist yet); `alsoFrom`: another
  // folder "模板" whose templates are listed and read too, after those of `folder`.
  explicit TemplateStore(std::wstring folder, std::wstring alsoFrom = {})
      : folder_(std::move(folder)), alsoFrom_(std::move(alsoFrom)) {}
  const std::wstring& Folder() const { return folder_; }

  // The saved templates' names, in the shell's order.
  std::vector<std::wstring> Names() const;
  bool Exists(std::wstring_view name) const;
  // A saved template's text; nothing when it cannot be read.
  std::optional<std::wstring> Load(std::wstring_view name) const;
  // Saves `text` as `name` (the folder made when needed), replacing one of that name.
  // False, with the system's reason in `why`, when it cannot be written.
  bool Save(std::wstring_view name, std::wstring_view text, std::wstring* why) const;

  // The template box's text at exit: kept when the folder can be written, quietly not
  // otherwise.
  std::optional<std::wstring> LoadLast() const;
  bool SaveLast(std::wstring_view text) const;

 private:
  // The folders read, the written one first.
  std::vector<std::wstring> ReadFolders() const;
  std::optional<std::wstring> ReadFirst(std::wstring_view fileName) const;
  bool Write(std::wstring_view fileName, std::wstring_view text, std::wstring* why) const;

  std::wstring folder_;
  std::wstring alsoFrom_;
};

// The templates of the folders the program keeps its records in: written where the records
// go, read from there and from the other folder too (the program folder's, perhaps
// written by hand, when the records go to the user's folder).
TemplateStore TemplatesOf(const DataFolders& folders);

}  // namespace tarnivo
