// Names compared as the file system compares them: ordinal and without regard to case,
// code unit by code unit, never by the rules of a language ("ß" is not "SS", "İ" is not
// "i").
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace tarnivo {

class NameCase {
 public:
  // `classes[c]` names the class of UTF-16 code unit c: units of one class are the same
  // letter in another case. Units past the end of the table are classes of their own.
  explicit NameCase(std::vector<char16_t> classes) : classes_(std::move(classes)) {}

  wchar_t Fold(wchar_t c) const {
    const auto unit = static_cast<std::size_t>(c);
    return unit < classes_.size() ? static_cast<wchar_t>(classes_[unit]) : c;
  }
  bool Same(std::wstring_view a, std::wstring_view b) const;
  // Equal for names that are the Same.
  std::size_t Hash(std::wstring_view name) const;

 private:
  std::vector<char16_t> classes_;
};

}  // namespace tarnivo
