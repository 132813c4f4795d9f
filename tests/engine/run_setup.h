#pragma once
// A rename run as the tests make it: a work list of names in a folder, a template compiled
// with the default keywords.
#include <memory>
#include <string>
#include <vector>

#include "engine/rename_run.h"

namespace tarnivo::test {

inline RenameRunSetup RunOf(const std::wstring& folder, const std::vector<std::wstring>& names,
                            const std::wstring& templateText) {
  auto list = std::make_shared<WorkList>();
  list->Folder = folder;
  for (const std::wstring& name : names) list->Entries.push_back(ListedFile{name});
  RenameRunSetup setup;
  setup.Plan.List = std::move(list);
  setup.Plan.Template = CompiledTemplate(templateText, Keywords());
  setup.TemplateText = templateText;
  return setup;
}

}  // namespace tarnivo::test
