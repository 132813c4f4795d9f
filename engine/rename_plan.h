// How the run turns the template into one entry's new name, and which names it refuses
// to give before the file system is asked.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/errors.h"
#include "engine/template.h"
#include "engine/token.h"

namespace tarnivo {

// How much of a new name is kept: far more than any name the file system takes (longer
// ones are refused), and what the log shows of a name.
inline constexpr std::size_t kKeptNameLength = 1000;

// A new name as it is built: its first kKeptNameLength characters and its whole length, so
// that a line of a hundred million characters costs no more than the names around it.
struct BuiltName {
  std::wstring Text;
  std::uint64_t Length = 0;

  bool IsWhole() const { return Length == Text.size(); }
  // Keeps what fits of `piece`. May throw std::bad_alloc.
  void Append(std::wstring_view piece);
  void Append(const PartialText& piece);
};

// A line that could not be evaluated.
struct PieceFailure {
  std::int32_t PieceIndex;  // 0-based line number
  BuiltName NameSoFar;      // what the lines before it gave
  ErrorKind Kind;
  std::wstring Detail;  // what the log and the preview add to the kind's text
};

// The new name of one entry: the lines' texts joined, a failing line adding nothing.
struct NamePlan {
  BuiltName NewName;
  std::vector<PieceFailure> Failures;  // in line order
};

// Evaluates every line against `context` (its FileName and ListIndex are the entry's).
// Memory that runs out for a line fails that line as OutOfMemory; nothing is thrown.
NamePlan BuildNewName(const CompiledTemplate& lines, const TokenContext& context);

// Why a new name is refused before any rename is tried. The program decides these itself,
// so that the outcome and its log are the same on every system (Wine and Windows answer
// some of them with different codes, or accept them).
enum class NameProblem : std::uint8_t {
  None,
  Empty,         // would name the folder itself
  Separator,     // "\" or "/" would move the file elsewhere, ":" would make a stream
  BadCharacter,  // < > " | ? * or a control character (U+0000 to U+001F)
  TrailingDot,   // a final "." or blank would be dropped silently by the file system
  DeviceName,    // CON, PRN, AUX, NUL, COM1-9, LPT1-9, CONIN$, CONOUT$, with any extension
  TooLong,       // more than kMaxNameLength characters
};

inline constexpr std::size_t kMaxNameLength = 255;

NameProblem CheckNewName(std::wstring_view name) noexcept;
NameProblem CheckNewName(const BuiltName& name) noexcept;

// A short Chinese explanation for the log; empty for None.
std::wstring_view DescribeNameProblem(NameProblem problem) noexcept;

// What the run does with one entry before it asks the file system: the new name the
// template gives and whether the program refuses it. The run and its preview both decide
// through PlanEntry, so what the preview shows is what the run does.
struct EntryPlan {
  NamePlan Name;
  NameProblem Problem = NameProblem::None;
  bool OutOfMemory = false;  // the entry could not be planned at all: it keeps its name
};

// Entry `index` of the run, named `oldName`: the context's FileName, ListIndex and
// FileDate (`dates`, asked for %taken% and %modified%) are set for it, the lines are
// evaluated and the name is checked. FileDate is cleared again on every way out, since the
// dates belong to this entry. May throw std::bad_alloc.
EntryPlan PlanEntry(const CompiledTemplate& lines, TokenContext& context, std::int32_t index,
                    const std::wstring& oldName, FileDateReader dates);

}  // namespace tarnivo
