#include "engine/rename_plan.h"

namespace tarnivo {

std::vector<std::wstring> SplitTemplate(std::wstring_view text) {
  std::vector<std::wstring> pieces;
  if (text.empty()) return pieces;
  constexpr std::wstring_view kLineBreak = L"\r\n";
  for (;;) {
    const std::size_t pos = text.find(kLineBreak);
    if (pos == std::wstring_view::npos) break;
    pieces.emplace_back(text.substr(0, pos));
    text.remove_prefix(pos + kLineBreak.size());
  }
  pieces.emplace_back(text);
  return pieces;
}

NamePlan BuildNewName(const std::vector<std::wstring>& pieces, const TokenContext& context) {
  NamePlan plan;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    Result<std::wstring> text = EvaluateToken(pieces[i], context);
    if (text.Ok()) {
      plan.NewName += std::move(text).Value();
    } else {
      plan.Failures.push_back({static_cast<std::int32_t>(i), plan.NewName, text.Error()});
    }
  }
  return plan;
}

NameProblem CheckNewName(std::wstring_view name) noexcept {
  if (name.empty()) return NameProblem::Empty;
  if (name.find_first_of(L"\\/:") != std::wstring_view::npos) return NameProblem::Separator;
  if (name.back() == L'.' || name.back() == L' ') return NameProblem::TrailingDot;
  if (name.size() > kMaxNameLength) return NameProblem::TooLong;
  return NameProblem::None;
}

std::wstring_view DescribeNameProblem(NameProblem problem) noexcept {
  switch (problem) {
    case NameProblem::Empty:
      return L"新文件名为空";
    case NameProblem::Separator:
      return L"新文件名含有 \\ / 或 :";
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
