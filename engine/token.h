// The template's tokens: one table, a row per token (its keyword setting and default, its
// item in the menu "命    令", whether the About box lists it, its evaluator), read by every
// place that lists tokens. Adding a token is a row of kTokens with its TokenKind, its
// evaluator beside the table in token.cpp, and its text in the help.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/date_time.h"
#include "engine/filters.h"
#include "engine/locale_info.h"
#include "engine/number_format.h"
#include "engine/result.h"
#include "win/setting_key.h"

namespace tarnivo {

enum class FileDateKind {
  Taken,     // when the photo was taken, as the file's Exif data records it
  Modified,  // the file's last write, in local time
};

// The entry's own dates, asked only when a line needs one. The failure kinds: NoDateTaken
// for a file without a date taken, FileNotFound for a file gone, or what the system
// reported.
using FileDateReader = std::function<Result<DateTime>(FileDateKind kind)>;

// Reads one setting: (section, key, default) -> value; the default when the key is
// missing, "" when it is present and empty.
using SettingReader = std::function<std::wstring(std::wstring_view section, std::wstring_view key,
                                                 std::wstring_view defaultValue)>;

// The current local date and time.
using Clock = std::function<DateTime()>;

// What a template line is evaluated against: the entry (FileName, ListIndex, FileDate,
// set per entry by the planning) and the run's surroundings.
struct TokenContext {
  std::wstring FileName;        // the entry's name, without folder
  std::int32_t ListIndex = -1;  // its 0-based position in the run
  SettingReader ReadSetting;    // asked at every date or time token; none means the defaults
  Clock Now;                    // asked at every date or time token; none means DateTime{}
  LocaleInfo Locale;
  FileDateReader FileDate;  // asked for %taken% and %modified%; none: the file is not found
  FilterTools Tools;        // the system's case and script mappings for the filters
};

// The rows of kTokens, in its order.
enum class TokenKind : std::uint8_t {
  Name,      // %name%
  Ext,       // %ext%
  Date,      // %date%
  Now,       // %now%
  Sequence,  // %Taxis:W,S,T%
  Taken,     // %taken%
  Modified,  // %modified%
  Count,     // not a token: how many there are
};
inline constexpr std::size_t kTokenCount = static_cast<std::size_t>(TokenKind::Count);

// The parameters of a token that takes them, read once when the template is compiled: the
// sequence's width, start and step (%Taxis:W,S,T%).
struct TokenArguments {
  std::int32_t Width = 0;
  double Start = 0;
  double Step = 0;
};

// Reads the text between the token's ":" and its closing "%"; a failure fails the line at
// every entry.
using ParameterReader = Result<TokenArguments> (*)(std::wstring_view parameters);
// The text a token gives for the context's entry; only its first `kept` characters are
// made, with the length of the whole.
using TokenEvaluator = Result<PartialText> (*)(const TokenArguments& arguments,
                                               const TokenContext& context, std::size_t kept);

struct TokenSpec {
  TokenKind Kind;
  SettingKey Keyword;                // its keyword in "config.ini", and the default keyword
  std::wstring_view MenuCaption;     // its item in the menu "命    令"
  std::wstring_view MenuParameters;  // what the item inserts after the keyword
  std::wstring_view AboutName;       // "name" for "name=%name%" in the About box; "": not listed
  // Null: the line is "%" keyword "%" exactly. Otherwise it starts "%" keyword ":" and
  // the reader takes what follows.
  ParameterReader ReadParameters;
  TokenEvaluator Evaluate;
};

// Every token, in the menu's order. A line is matched against the tokens without
// parameters first, in this order, then against those with parameters.
extern const std::array<TokenSpec, kTokenCount> kTokens;

inline const TokenSpec& Token(TokenKind kind) { return kTokens[static_cast<std::size_t>(kind)]; }

// The token keywords, one per row of kTokens; matched without regard to ASCII case.
class Keywords {
 public:
  Keywords();  // every token's default keyword
  std::wstring& operator[](TokenKind kind) { return words_[static_cast<std::size_t>(kind)]; }
  const std::wstring& operator[](TokenKind kind) const {
    return words_[static_cast<std::size_t>(kind)];
  }

 private:
  std::array<std::wstring, kTokenCount> words_;
};

// Every keyword from the settings, in the table's order.
Keywords ReadKeywords(const SettingReader& read);

// The text one template line (`piece`, without its line break) gives for the context's
// entry with the keywords `keys`, or the kind of failure: the template compiled from the
// one line (template.h) and evaluated. A line that is no token comes back unchanged.
// Only a line that starts like the sequence token can fail:
//   fewer than three fields after the ":"          OutOfRange (9)
//   W not a number                                 TypeMismatch (13)
//   W beyond 32 bits, or ListIndex*T+S not finite  Overflow (6)
//   W negative                                     InvalidArgument (5)
//   W of 2^28 or more, or padding not allocatable  OutOfMemory (7)
// and %taken% or %modified% when the entry has no such date (see FileDateReader).
Result<std::wstring> EvaluateToken(std::wstring_view piece, const TokenContext& context,
                                   const Keywords& keys = Keywords());

}  // namespace tarnivo
