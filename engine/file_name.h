// Cutting a file name into base name and extension.
#pragma once

#include <string>
#include <string_view>

namespace tarnivo {

struct FileNameParts {
  std::wstring BaseName;   // up to, not including, the last "."
  std::wstring Extension;  // from the last "." (included) to the end; "" without a "."
};

// BaseName + Extension always gives the name again. Never fails.
FileNameParts SplitFileName(std::wstring_view name);

}  // namespace tarnivo
