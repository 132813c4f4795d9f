#include "engine/file_name.h"

namespace tarnivo {

FileNameParts SplitFileName(std::wstring_view name) {
  const auto dot = name.rfind(L'.');
  if (dot == std::wstring_view::npos) return {std::wstring(name), std::wstring()};
  return {std::wstring(name.substr(0, dot)), std::wstring(name.substr(dot))};
}

}  // namespace tarnivo
