// How the run turns the template into one entry's new name, and which names it refuses
// to give before the file system is asked.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/errors.h"
#include "engine/token.h"

namespace tarnivo {

// The template's lines: the text cut at every CR LF pair (exactly; a lone CR or LF stays
// inside its line), empty lines kept. The empty text has no lines at all.
std::vector<std::wstring> SplitTemplate(std::wstring_view text);

// A line that could not be evaluated.
struct PieceFailure {
  std::int32_t PieceIndex;  // 0-based line number
  std::wstring NameSoFar;   // what the lines before it gave
  ErrorKind Kind;
};

// The new name of one entry: the lines' texts joined, a failing line adding nothing.
struct NamePlan {
  std::wstring NewName;
  std::vector<PieceFailure> Failures;  // in line order
};

// Evaluates every line against `context` (its FileName and ListIndex are the entry's).
NamePlan BuildNewName(const std::vector<std::wstring>& pieces, const TokenContext& context);

// Why a new name is refused before any rename is tried.
enum class NameProblem : std::uint8_t {
  None,
  Empty,        // would name the folder itself
  Separator,    // "\" or "/" would move the file elsewhere, ":" would make a stream
  TrailingDot,  // a final "." or blank would be dropped silently by the file system
  TooLong,      // more than kMaxNameLength characters
};

inline constexpr std::size_t kMaxNameLength = 255;

NameProblem CheckNewName(std::wstring_view name) noexcept;

// A short Chinese explanation for the log; empty for None.
std::wstring_view DescribeNameProblem(NameProblem problem) noexcept;

}  // namespace tarnivo
