// Evaluation of one template line: a token (%name%, %ext%, %date%, %now%,
// %Taxis:W,S,T%, keywords configurable) or literal text.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/date_time.h"
#include "engine/locale_info.h"
#include "engine/number_format.h"
#include "engine/result.h"
#include "settings/setting_keys.h"

namespace tarnivo {

// The token keywords; matched without regard to ASCII case.
struct Keywords {
  std::wstring Name{setting::KeywordName.DefaultValue};
  std::wstring Ext{setting::KeywordExt.DefaultValue};
  std::wstring Date{setting::KeywordDate.DefaultValue};
  std::wstring Now{setting::KeywordNow.DefaultValue};
  std::wstring Taxis{setting::KeywordTaxis.DefaultValue};
  std::wstring Taken{setting::KeywordTaken.DefaultValue};
  std::wstring Modified{setting::KeywordModified.DefaultValue};
};

enum class FileDateKind {
  Taken,     // when the photo was taken, as the file's Exif data records it
  Modified,  // the file's last write, in local time
};

// The selected entry's own dates, asked only when a line needs one. The failure kinds:
// NoDateTaken for a file without a date taken, FileNotFound for a file gone, or what the
// system reported.
using FileDateReader = std::function<Result<DateTime>(FileDateKind kind)>;

// Reads one setting: (section, key, default) -> value; the default when the key
// is missing, "" when it is present and empty.
using SettingReader = std::function<std::wstring(std::wstring_view section, std::wstring_view key,
                                                 std::wstring_view defaultValue)>;

// The current local date and time.
using Clock = std::function<DateTime()>;

// Everything a template line is evaluated against. The run keeps one and
// updates FileName and ListIndex as it selects each entry.
struct TokenContext {
  std::wstring FileName;        // the selected entry's name, without folder
  std::int32_t ListIndex = -1;  // its 0-based position; -1 when nothing is selected
  Keywords Keys;
  SettingReader ReadSetting;  // asked at every date or time token; none means the defaults
  Clock Now;                  // asked at every date or time token; none means DateTime{}
  LocaleInfo Locale;
  FileDateReader FileDate;  // asked for %taken% and %modified%; none: the file is not found
};

// The text that one template line (`piece`, without its line break) gives for
// the selected entry, or the kind of failure. Only a line that starts like the
// sequence token can fail:
//   fewer than three fields after the ":"          OutOfRange (9)
//   W not a number                                 TypeMismatch (13)
//   W beyond 32 bits, or ListIndex*T+S not finite  Overflow (6)
//   W negative                                     InvalidArgument (5)
//   W of 2^28 or more, or padding not allocatable  OutOfMemory (7)
// and %taken% or %modified% when the entry has no such date (see FileDateReader).
// A line that is no token comes back unchanged. Linear in the piece's length.
Result<std::wstring> EvaluateToken(std::wstring_view piece, const TokenContext& context);

// EvaluateToken of which only the first `kept` characters are made, with the length of the
// whole text: how the run builds a name, which it refuses beyond 255 characters anyway, so
// that a line of a hundred million characters costs no more than a short one.
Result<PartialText> EvaluatePiece(std::wstring_view piece, const TokenContext& context,
                                  std::size_t kept);

}  // namespace tarnivo
