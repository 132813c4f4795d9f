#include "engine/token.h"

#include <array>
#include <cmath>
#include <limits>

#include "engine/date_format.h"
#include "engine/file_name.h"
#include "engine/number_parse.h"
#include "engine/template.h"

namespace tarnivo {
namespace {

// The date pictures, read from the settings at every evaluation of their token.
constexpr SettingKey kFormatDate{L"Variant", L"Formatdate", L"yymmdd"};
constexpr SettingKey kFormatNow{L"Variant", L"Formatnow", L"hhmmss"};
constexpr SettingKey kFormatTaken{L"Variant", L"Formattaken", L"yyyymmdd_hhnnss"};
constexpr SettingKey kFormatModified{L"Variant", L"Formatmodified", L"yyyymmdd_hhnnss"};

PartialText Kept(std::wstring text, std::size_t kept) {
  PartialText part{std::move(text), 0};
  part.Length = part.Text.size();
  if (part.Text.size() > kept) part.Text.resize(kept);
  return part;
}

Result<PartialText> Kept(Result<std::wstring> text, std::size_t kept) {
  if (!text.Ok()) return Failure{text.Error()};
  return Kept(std::move(text).Value(), kept);
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

// The evaluators, one per row of the table below.

Result<PartialText> BaseName(const TokenArguments&, const TokenContext& context, std::size_t kept) {
  return Kept(SplitFileName(context.FileName).BaseName, kept);
}

Result<PartialText> Extension(const TokenArguments&, const TokenContext& context,
                              std::size_t kept) {
  return Kept(SplitFileName(context.FileName).Extension, kept);
}

Result<PartialText> Today(const TokenArguments&, const TokenContext& context, std::size_t kept) {
  return Kept(FormatDateTime(ReadPicture(context, kFormatDate), DateOnly(CurrentTime(context)),
                             context.Locale),
              kept);
}

Result<PartialText> CurrentDateAndTime(const TokenArguments&, const TokenContext& context,
                                       std::size_t kept) {
  return Kept(
      FormatDateTime(ReadPicture(context, kFormatNow), CurrentTime(context), context.Locale), kept);
}

// %Taxis:W,S,T%: W a whole number, S and T leading numbers that never fail.
Result<TokenArguments> SequenceParameters(std::wstring_view parameters) {
  std::array<std::wstring_view, 3> fields;
  if (!CutThreeFields(parameters, fields)) return Failure{ErrorKind::OutOfRange};
  const Result<std::int32_t> width = TextToInt32(fields[0]);
  if (!width.Ok()) return Failure{width.Error()};
  return TokenArguments{width.Value(), ParseLeadingNumber(fields[1]),
                        ParseLeadingNumber(fields[2])};
}

// S + ListIndex * T through a picture of W zeros.
Result<PartialText> SequenceNumber(const TokenArguments& arguments, const TokenContext& context,
                                   std::size_t kept) {
  const double value = static_cast<double>(context.ListIndex) * arguments.Step + arguments.Start;
  if (!std::isfinite(value)) return Failure{ErrorKind::Overflow};
  return FormatWithZeroPicturePart(value, arguments.Width, kept);
}

Result<PartialText> DateTaken(const TokenArguments&, const TokenContext& context,
                              std::size_t kept) {
  return Kept(FileDateText(context, FileDateKind::Taken, kFormatTaken), kept);
}

Result<PartialText> DateModified(const TokenArguments&, const TokenContext& context,
                                 std::size_t kept) {
  return Kept(FileDateText(context, FileDateKind::Modified, kFormatModified), kept);
}

// A keyword of section "Variant" whose default is its key.
constexpr SettingKey Keyword(std::wstring_view key) { return SettingKey{L"Variant", key, key}; }

}  // namespace

// clang-format off
constexpr std::array<TokenSpec, kTokenCount> kTokens{{
//  kind                  keyword                menu item    inserts     About    parameters          evaluator
    {TokenKind::Name,     Keyword(L"name"),     L"原文件名", L"",        L"name", nullptr,            BaseName},
    {TokenKind::Ext,      Keyword(L"ext"),      L"原扩展名", L"",        L"ext",  nullptr,            Extension},
    {TokenKind::Date,     Keyword(L"date"),     L"日    期", L"",        L"date", nullptr,            Today},
    {TokenKind::Now,      Keyword(L"now"),      L"时    间", L"",        L"now",  nullptr,            CurrentDateAndTime},
    {TokenKind::Sequence, Keyword(L"Taxis"),    L"序    列", L":6,50,1", L"",     SequenceParameters, SequenceNumber},
    {TokenKind::Taken,    Keyword(L"taken"),    L"拍摄日期", L"",        L"",     nullptr,            DateTaken},
    {TokenKind::Modified, Keyword(L"modified"), L"修改日期", L"",        L"",     nullptr,            DateModified},
}};
// clang-format on

// Token(kind) finds a row by its place.
static_assert([] {
  for (std::size_t i = 0; i < kTokens.size(); ++i) {
    if (static_cast<std::size_t>(kTokens[i].Kind) != i) return false;
  }
  return true;
}());

Keywords::Keywords() {
  for (const TokenSpec& token : kTokens) (*this)[token.Kind] = token.Keyword.DefaultValue;
}

Keywords ReadKeywords(const SettingReader& read) {
  Keywords keys;
  for (const TokenSpec& token : kTokens) {
    keys[token.Kind] = read(token.Keyword.Section, token.Keyword.Key, token.Keyword.DefaultValue);
  }
  return keys;
}

Result<std::wstring> EvaluateToken(std::wstring_view piece, const TokenContext& context,
                                   const Keywords& keys) {
  Result<PartialText> text =
      EvaluateLine(CompileLine(piece, keys), context, std::numeric_limits<std::size_t>::max());
  if (!text.Ok()) return Failure{text.Error()};
  return std::move(text).Value().Text;
}

}  // namespace tarnivo
