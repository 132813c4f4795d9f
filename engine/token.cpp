#include "engine/token.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <new>
#include <optional>

#include "engine/date_format.h"
#include "engine/file_name.h"
#include "engine/number_format.h"
#include "engine/number_parse.h"
#include "engine/text.h"

namespace tarnivo {
namespace {

// text lower-cased equals open + keyword + close lower-cased.
bool MatchesIgnoringCase(std::wstring_view text, wchar_t open, std::wstring_view keyword,
                         wchar_t close) {
  if (text.size() != keyword.size() + 2) return false;
  if (LowerAscii(text.front()) != open || LowerAscii(text.back()) != close) return false;
  for (std::size_t i = 0; i < keyword.size(); ++i) {
    if (LowerAscii(text[i + 1]) != LowerAscii(keyword[i])) return false;
  }
  return true;
}

bool IsSimpleToken(std::wstring_view piece, std::wstring_view keyword) {
  return MatchesIgnoringCase(piece, L'%', keyword, L'%');
}

// The first len(keyword) + 2 characters of the piece are "%" keyword ":".
bool StartsLikeSequence(std::wstring_view piece, std::wstring_view keyword) {
  const std::size_t prefixLength = keyword.size() + 2;
  return piece.size() >= prefixLength &&
         MatchesIgnoringCase(piece.substr(0, prefixLength), L'%', keyword, L':');
}

std::wstring ReadPicture(const TokenContext& context, const SettingKey& picture) {
  if (!context.ReadSetting) return std::wstring(picture.DefaultValue);
  return context.ReadSetting(picture.Section, picture.Key, picture.DefaultValue);
}

DateTime CurrentTime(const TokenContext& context) {
  return context.Now ? context.Now() : DateTime{};
}

// A date of the entry's file through its picture, read when the date is there.
Result<std::wstring> FileDateText(const TokenContext& context, FileDateKind kind,
                                  const SettingKey& picture) {
  if (!context.FileDate) return Failure{ErrorKind::FileNotFound};
  const Result<DateTime> date = context.FileDate(kind);
  if (!date.Ok()) return Failure{date.Error()};
  return FormatDateTime(ReadPicture(context, picture), date.Value(), context.Locale);
}

// The first three ","-separated fields of the parameter text; false if there are fewer.
bool CutThreeFields(std::wstring_view parameters, std::array<std::wstring_view, 3>& fields) {
  for (std::size_t i = 0; i < 2; ++i) {
    const std::size_t comma = parameters.find(L',');
    if (comma == std::wstring_view::npos) return false;
    fields[i] = parameters.substr(0, comma);
    parameters.remove_prefix(comma + 1);
  }
  fields[2] = parameters.substr(0, parameters.find(L','));
  return true;
}

// %Taxis:W,S,T%: S + ListIndex * T through a picture of W zeros.
Result<PartialText> EvaluateSequence(std::wstring_view piece, std::int32_t listIndex,
                                     std::size_t kept) {
  // The prefix test passed, so the piece holds a ":".
  const std::wstring_view parameters = piece.substr(piece.find(L':') + 1);
  std::array<std::wstring_view, 3> fields;
  if (!CutThreeFields(parameters, fields)) return Failure{ErrorKind::OutOfRange};
  const Result<std::int32_t> width = TextToInt32(fields[0]);
  if (!width.Ok()) return Failure{width.Error()};
  const double start = ParseLeadingNumber(fields[1]);
  const double step = ParseLeadingNumber(fields[2]);
  const double value = static_cast<double>(listIndex) * step + start;
  if (!std::isfinite(value)) return Failure{ErrorKind::Overflow};
  return FormatWithZeroPicturePart(value, width.Value(), kept);
}

// The simple tokens, in the order they are tested; nothing when the piece is none of them.
std::optional<Result<std::wstring>> EvaluateSimple(std::wstring_view piece,
                                                   const TokenContext& context) {
  const Keywords& keys = context.Keys;
  if (IsSimpleToken(piece, keys.Name)) return SplitFileName(context.FileName).BaseName;
  if (IsSimpleToken(piece, keys.Ext)) return SplitFileName(context.FileName).Extension;
  if (IsSimpleToken(piece, keys.Date)) {
    const std::wstring picture = ReadPicture(context, setting::FormatDate);
    return FormatDateTime(picture, DateOnly(CurrentTime(context)), context.Locale);
  }
  if (IsSimpleToken(piece, keys.Now)) {
    const std::wstring picture = ReadPicture(context, setting::FormatNow);
    return FormatDateTime(picture, CurrentTime(context), context.Locale);
  }
  if (IsSimpleToken(piece, keys.Taken)) {
    return FileDateText(context, FileDateKind::Taken, setting::FormatTaken);
  }
  if (IsSimpleToken(piece, keys.Modified)) {
    return FileDateText(context, FileDateKind::Modified, setting::FormatModified);
  }
  return std::nullopt;
}

PartialText Kept(std::wstring text, std::size_t kept) {
  PartialText part{std::move(text), 0};
  part.Length = part.Text.size();
  if (part.Text.size() > kept) part.Text.resize(kept);
  return part;
}

Result<PartialText> Evaluate(std::wstring_view piece, const TokenContext& context,
                             std::size_t kept) {
  if (std::optional<Result<std::wstring>> text = EvaluateSimple(piece, context)) {
    if (!text->Ok()) return Failure{text->Error()};
    return Kept(std::move(*text).Value(), kept);
  }
  if (StartsLikeSequence(piece, context.Keys.Taxis)) {
    return EvaluateSequence(piece, context.ListIndex, kept);
  }
  return Kept(std::wstring(piece), kept);  // literal text
}

}  // namespace

Result<PartialText> EvaluatePiece(std::wstring_view piece, const TokenContext& context,
                                  std::size_t kept) {
  try {
    return Evaluate(piece, context, kept);
  } catch (const std::bad_alloc&) {
    return Failure{ErrorKind::OutOfMemory};
  }
}

Result<std::wstring> EvaluateToken(std::wstring_view piece, const TokenContext& context) {
  Result<PartialText> text = EvaluatePiece(piece, context, std::numeric_limits<std::size_t>::max());
  if (!text.Ok()) return Failure{text.Error()};
  return std::move(text).Value().Text;
}

}  // namespace tarnivo
