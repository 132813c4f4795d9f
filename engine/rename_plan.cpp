#include "engine/rename_plan.h"

#include <algorithm>
#include <new>

#include "engine/text.h"

namespace tarnivo {

void BuiltName::Append(std::wstring_view piece) {
  Length += piece.size();
  if (Text.size() < kKeptNameLength) {
    Text.append(piece.substr(0, kKeptNameLength - Text.size()));
  }
}

void BuiltName::Append(const PartialText& piece) {
  const std::uint64_t before = Length;
  Append(piece.Text);
  Length = before + piece.Length;
}

NamePlan BuildNewName(const CompiledTemplate& lines, const TokenContext& context) {
  NamePlan plan;
  for (std::size_t i = 0; i < lines.Lines().size(); ++i) {
    const auto line = static_cast<std::int32_t>(i);
    try {
      const TemplateLine& compiled = lines.Lines()[i];
      if (compiled.FiltersName) {
        // The name so far, filtered, takes its place; a name cut short cannot be.
        Result<std::wstring> name = plan.NewName.IsWhole()
                                        ? FilterName(compiled, plan.NewName.Text, context)
                                        : Failure{ErrorKind::InvalidRule, L"名字太长, 不能再转换"};
        if (name.Ok()) {
          plan.NewName = BuiltName{};
          plan.NewName.Append(name.Value());
        } else {
          plan.Failures.push_back({line, plan.NewName, name.Error(), name.Detail()});
        }
        continue;
      }
      // A new name is never needed beyond what is kept of it.
      Result<PartialText> text = EvaluateLine(compiled, context, kKeptNameLength);
      if (text.Ok()) {
        plan.NewName.Append(text.Value());
      } else {
        plan.Failures.push_back({line, plan.NewName, text.Error(), text.Detail()});
      }
    } catch (const std::bad_alloc&) {
      // Even the record of the failure may not fit: keep the line and the kind at least.
      try {
        plan.Failures.push_back({line, plan.NewName, ErrorKind::OutOfMemory});
      } catch (const std::bad_alloc&) {
        plan.Failures.push_back({line, {}, ErrorKind::OutOfMemory});
      }
    }
  }
  return plan;
}

namespace {

bool IsControlCharacter(wchar_t c) { return c < 0x20; }

bool EqualsIgnoringCase(std::wstring_view text, std::wstring_view lower) {
  if (text.size() != lower.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (LowerAscii(text[i]) != lower[i]) return false;
  }
  return true;
}

// The part of a name before its first "." names a device when it is one of the reserved
// names, blanks at its end ignored ("nul .txt" is the device too).
bool IsDeviceName(std::wstring_view name) {
  const std::wstring_view stem = Trim(name.substr(0, name.find(L'.')), L" ");
  constexpr std::wstring_view kDevices[] = {L"con", L"prn", L"aux", L"nul", L"conin$", L"conout$"};
  for (const std::wstring_view device : kDevices) {
    if (EqualsIgnoringCase(stem, device)) return true;
  }
  // COM1 to COM9 and LPT1 to LPT9, also with the superscript digits Windows counts.
  if (stem.size() != 4 || !(EqualsIgnoringCase(stem.substr(0, 3), L"com") ||
                            EqualsIgnoringCase(stem.substr(0, 3), L"lpt"))) {
    return false;
  }
  const wchar_t digit = stem[3];
  return (digit >= L'1' && digit <= L'9') || digit == L'\u00b9' || digit == L'\u00b2' ||
         digit == L'\u00b3';
}

}  // namespace

NameProblem CheckNewName(std::wstring_view name) noexcept {
  if (name.empty()) return NameProblem::Empty;
  if (name.find_first_of(L"\\/:") != std::wstring_view::npos) return NameProblem::Separator;
  if (name.find_first_of(L"<>\"|?*") != std::wstring_view::npos ||
      std::any_of(name.begin(), name.end(), IsControlCharacter)) {
    return NameProblem::BadCharacter;
  }
  if (name.back() == L'.' || name.back() == L' ') return NameProblem::TrailingDot;
  if (name.size() > kMaxNameLength) return NameProblem::TooLong;
  if (IsDeviceName(name)) return NameProblem::DeviceName;
  return NameProblem::None;
}

NameProblem CheckNewName(const BuiltName& name) noexcept {
  // A name cut short is far too long; what is kept of it decides nothing more.
  return name.IsWhole() ? CheckNewName(name.Text) : NameProblem::TooLong;
}

EntryPlan PlanEntry(const CompiledTemplate& lines, TokenContext& context, std::int32_t index,
                    const std::wstring& oldName, FileDateReader dates) {
  struct ClearDates {
    TokenContext& Context;
    ~ClearDates() { Context.FileDate = nullptr; }
  } clear{context};
  context.FileName = oldName;
  context.ListIndex = index;
  context.FileDate = std::move(dates);
  EntryPlan plan{BuildNewName(lines, context)};
  plan.Problem = CheckNewName(plan.Name.NewName);
  return plan;
}

std::wstring_view DescribeNameProblem(NameProblem problem) noexcept {
  switch (problem) {
    case NameProblem::Empty:
      return L"新文件名为空";
    case NameProblem::Separator:
      return L"新文件名含有 \\ / 或 :";
    case NameProblem::BadCharacter:
      return L"新文件名含有 < > \" | ? * 或控制字符";
    case NameProblem::DeviceName:
      return L"新文件名是设备名";
    case NameProblem::TrailingDot:
      return L"新文件名以 . 或空格结尾";
    case NameProblem::TooLong:
      return L"新文件名超过 255 个字符";
    case NameProblem::None:
      break;
  }
  return {};
}

}  // namespace tarnivo
