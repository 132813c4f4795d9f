#include "engine/undo_journal.h"

#include <algorithm>
#include <optional>

#include "engine/date_format.h"
#include "engine/locale_info.h"
#include "engine/template.h"

namespace tarnivo {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kCaptionKey = "标题";
constexpr std::string_view kFolderKey = "文件夹";
constexpr std::string_view kTimeKey = "时间";
constexpr std::string_view kTemplateKey = "模板";
constexpr std::string_view kNoteKey = "说明";
constexpr std::string_view kRestoredKey = "恢复";
constexpr std::string_view kUndoneKey = "撤销完成";
constexpr std::string_view kRenamed = "成功";
constexpr std::string_view kFailed = "失败";
constexpr std::string_view kNote =
    "以下每行一步改名, 按进行的先后: 序号, 原文件名, 新文件名, 改名结果 (成功; 失败 + 错误代号; "
    "空: 程序在改名时中断). 经过临时名 ~tarnivo-….tmp 的文件占两行. "
    "名字中的 <U+XXXX> 是一个字符 (制表符, 换行, \"<\" 等)";
constexpr std::wstring_view kTimePicture = L"yyyy-mm-dd hh:mm:ss";
constexpr char32_t kLastCodePoint = 0x10FFFF;

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

void AppendCodePoint(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

void AppendEscape(std::string& out, char32_t c) {
  constexpr char kHex[] = "0123456789ABCDEF";
  out.append("<U+");
  int digits = 4;
  while (digits < 8 && (c >> (4 * digits)) != 0) ++digits;
  for (int i = digits - 1; i >= 0; --i) out.push_back(kHex[(c >> (4 * i)) & 0xF]);
  out.push_back('>');
}

// `text` as one field: UTF-8, with what would break the record escaped. A surrogate pair
// (wchar_t of 16 bits) is one character.
void AppendField(std::string& out, std::wstring_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char32_t>(text[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      c &= 0xFFFF;
      const bool high = c >= 0xD800 && c <= 0xDBFF;
      if (high && i + 1 < text.size()) {
        const auto low = static_cast<char32_t>(text[i + 1]) & 0xFFFF;
        if (low >= 0xDC00 && low <= 0xDFFF) {
          AppendCodePoint(out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
          ++i;
          continue;
        }
      }
    }
    if (c < 0x20 || c == U'<' || IsSurrogate(c) || c > kLastCodePoint) {
      AppendEscape(out, c);
    } else {
      AppendCodePoint(out, c);
    }
  }
}

void AppendWide(std::wstring& out, char32_t c) {
  if (sizeof(wchar_t) == 2 && c >= 0x10000) {
    out.push_back(static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10)));
    out.push_back(static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
  } else {
    out.push_back(static_cast<wchar_t>(c));
  }
}

// The code point of an escape at the start of `text` and its length; none when `text` does
// not start with one ("<" then stands for itself, as a hand edit may have typed it).
std::optional<std::pair<char32_t, std::size_t>> EscapeAt(std::string_view text) {
  if (text.substr(0, 3) != "<U+") return std::nullopt;
  char32_t value = 0;
  std::size_t i = 3;
  for (; i < text.size() && i < 3 + 6; ++i) {
    const char c = text[i];
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (digit < 0) break;
    value = value * 16 + static_cast<char32_t>(digit);
  }
  if (i < 3 + 4 || i >= text.size() || text[i] != '>' || value > kLastCodePoint) {
    return std::nullopt;
  }
  return std::pair{value, i + 1};
}

// The length of the UTF-8 sequence at the start of `text` and its code point; none for
// bytes that are not UTF-8 (overlong forms and encoded surrogates included).
std::optional<std::pair<char32_t, std::size_t>> Utf8At(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) return std::pair{static_cast<char32_t>(lead), std::size_t{1}};
  std::size_t length = 0;
  char32_t value = 0;
  char32_t least = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, value = lead & 0x1F, least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, value = lead & 0x0F, least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, value = lead & 0x07, least = 0x10000;
  } else {
    return std::nullopt;
  }
  if (text.size() < length) return std::nullopt;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    value = (value << 6) | (next & 0x3F);
  }
  if (value < least || value > kLastCodePoint || IsSurrogate(value)) return std::nullopt;
  return std::pair{value, length};
}

// A field's text, escapes undone; none when it is not UTF-8.
std::optional<std::wstring> DecodeField(std::string_view field) {
  std::wstring text;
  while (!field.empty()) {
    auto next = field[0] == '<' ? EscapeAt(field) : std::nullopt;
    if (!next) next = Utf8At(field);
    if (!next) return std::nullopt;
    AppendWide(text, next->first);
    field.remove_prefix(next->second);
  }
  return text;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t tab = line.find('\t');
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return fields;
    line.remove_prefix(tab + 1);
  }
}

// A record number: 1 to 9 decimal digits.
std::optional<std::int32_t> NumberOf(std::string_view field) {
  if (field.empty() || field.size() > 9) return std::nullopt;
  std::int32_t value = 0;
  for (const char c : field) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// A name the undo may give or take inside the journal's folder, and nowhere else.
bool IsPlainName(std::wstring_view name) {
  return !name.empty() && name != L"." && name != L".." &&
         name.find_first_of(std::wstring_view(L"\\/\0", 3)) == std::wstring_view::npos;
}

std::optional<RenameOutcome> OutcomeOf(std::string_view field) {
  if (field.empty()) return RenameOutcome::Unknown;
  if (field == kRenamed) return RenameOutcome::Renamed;
  if (field.substr(0, kFailed.size()) == kFailed) return RenameOutcome::Failed;
  return std::nullopt;
}

std::optional<JournalEntry> EntryOf(const std::vector<std::string_view>& fields) {
  if (fields.size() != 4) return std::nullopt;
  const std::optional<std::int32_t> number = NumberOf(fields[0]);
  std::optional<std::wstring> oldName = DecodeField(fields[1]);
  std::optional<std::wstring> newName = DecodeField(fields[2]);
  const std::optional<RenameOutcome> outcome = OutcomeOf(fields[3]);
  if (!number || !oldName || !newName || !outcome || !IsPlainName(*oldName) ||
      !IsPlainName(*newName)) {
    return std::nullopt;
  }
  return JournalEntry{*number, std::move(*oldName), std::move(*newName), *outcome, false};
}

std::string Record(std::string_view key, std::wstring_view value) {
  std::string record(key);
  record.push_back('\t');
  AppendField(record, value);
  return record.append(kLineEnd);
}

std::wstring TimeText(const DateTime& time) {
  return FormatDateTime(kTimePicture, Normalized(time), LocaleInfo{});
}

}  // namespace

std::string JournalHeaderText(const JournalHeader& header) {
  std::string text(kByteOrderMark);
  text.append(Record(kCaptionKey, header.Caption));
  text.append(Record(kFolderKey, header.Folder));
  text.append(Record(kTimeKey, TimeText(header.Time)));
  for (const std::wstring& line : SplitTemplate(header.TemplateText)) {
    text.append(Record(kTemplateKey, line));
  }
  text.append(kNoteKey).append("\t").append(kNote).append(kLineEnd);
  return text;
}

std::string JournalEntryText(std::int32_t number, std::wstring_view oldName,
                             std::wstring_view newName) {
  std::string text = std::to_string(number);
  text.push_back('\t');
  AppendField(text, oldName);
  text.push_back('\t');
  AppendField(text, newName);
  text.push_back('\t');
  return text;
}

std::string JournalOutcomeText(bool renamed, std::int32_t errorNumber) {
  std::string text(renamed ? kRenamed : kFailed);
  if (!renamed) text.append(" ").append(std::to_string(errorNumber));
  return text.append(kLineEnd);
}

std::string JournalRestoreText(std::int32_t number) {
  std::string text(kRestoredKey);
  return text.append("\t").append(std::to_string(number)).append("\t");
}

std::string JournalUndoneText(const DateTime& time) { return Record(kUndoneKey, TimeText(time)); }

Journal ParseJournal(std::string_view bytes) {
  if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    bytes.remove_prefix(kByteOrderMark.size());
  }
  Journal journal;
  bool folderSeen = false;
  bool templateSeen = false;
  std::vector<std::int32_t> restored;  // by an undo
  std::vector<std::int32_t> perhaps;   // by an undo that ended before its outcome
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::vector<std::string_view> fields = SplitFields(line);
    const std::string_view key = fields[0];
    if (std::optional<JournalEntry> entry = EntryOf(fields)) {
      journal.Entries.push_back(std::move(*entry));
      continue;
    }
    const std::optional<std::wstring> value =
        fields.size() == 2 ? DecodeField(fields[1]) : std::nullopt;
    if (key == kUndoneKey) {
      journal.Undone = true;
    } else if (key == kRestoredKey && fields.size() == 3) {
      const std::optional<std::int32_t> number = NumberOf(fields[1]);
      const std::optional<RenameOutcome> outcome = OutcomeOf(fields[2]);
      if (number && outcome == RenameOutcome::Renamed) restored.push_back(*number);
      if (number && outcome == RenameOutcome::Unknown) perhaps.push_back(*number);
    } else if (!value) {
      continue;
    } else if (key == kFolderKey && !folderSeen && !value->empty()) {
      folderSeen = true;
      journal.Folder = *value;
      if (journal.Folder.back() != L'\\') journal.Folder.push_back(L'\\');
    } else if (key == kCaptionKey) {
      journal.Caption = *value;
    } else if (key == kTemplateKey) {
      if (templateSeen) journal.TemplateText.append(L"\r\n");
      templateSeen = true;
      journal.TemplateText.append(*value);
    }
  }
  std::sort(restored.begin(), restored.end());
  std::sort(perhaps.begin(), perhaps.end());
  for (JournalEntry& entry : journal.Entries) {
    entry.Restored = std::binary_search(restored.begin(), restored.end(), entry.Number);
    if (entry.Outcome == RenameOutcome::Renamed &&
        std::binary_search(perhaps.begin(), perhaps.end(), entry.Number)) {
      entry.Outcome = RenameOutcome::Unknown;
    }
  }
  return journal;
}

std::vector<JournalEntry> EntriesToUndo(const Journal& journal) {
  std::vector<JournalEntry> entries;
  if (journal.Folder.empty() || journal.Undone) return entries;
  for (auto entry = journal.Entries.rbegin(); entry != journal.Entries.rend(); ++entry) {
    if (entry->Outcome != RenameOutcome::Failed && !entry->Restored) entries.push_back(*entry);
  }
  return entries;
}

}  // namespace tarnivo
