#include "engine/exif_tiff.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

namespace tarnivo {
namespace {

constexpr std::uint16_t kDateTime = 0x0132;
constexpr std::uint16_t kExifIfdPointer = 0x8769;
constexpr std::uint16_t kDateTimeOriginal = 0x9003;
constexpr std::uint16_t kDateTimeDigitized = 0x9004;

constexpr std::uint16_t kTypeAscii = 2;
constexpr std::uint16_t kTypeLong = 4;
constexpr std::uint16_t kTypeUndefined = 7;
constexpr std::uint16_t kTypeIfd = 13;

// TIFF 42, Olympus "RO" and "RS" (ORF), Panasonic 0x55 (RW2).
constexpr std::array<std::uint64_t, 4> kMagics = {42, 0x4F52, 0x5352, 0x55};

constexpr std::size_t kEntrySize = 12;
// Far above any real IFD; keeps a hostile count from costing much.
constexpr std::uint64_t kMaxEntries = 1024;
// A date needs 20 bytes; longer values are no date.
constexpr std::uint32_t kMaxDateBytes = 64;

struct Entry {
  std::uint16_t Type = 0;
  std::uint32_t Count = 0;
  std::span<const std::uint8_t, 4> Value;  // the value itself when it fits, else its offset
};

class IfdReader {
 public:
  IfdReader(ByteSource& tiff, ByteOrder order) noexcept : tiff_(tiff), order_(order) {}

  // The entries of the IFD at `offset`, as many as its count says and the data holds.
  std::vector<std::uint8_t> Read(std::uint64_t offset) const {
    const auto count = ReadUnsigned(tiff_, offset, 2, order_);
    if (!count) return {};
    // The count was read, so offset + 2 is within the data.
    const std::uint64_t room = (tiff_.Size() - offset - 2) / kEntrySize;
    const auto entries = static_cast<std::size_t>(std::min({*count, room, kMaxEntries}));
    std::vector<std::uint8_t> bytes(entries * kEntrySize);
    bytes.resize(tiff_.ReadAt(offset + 2, bytes) / kEntrySize * kEntrySize);
    return bytes;
  }

  std::optional<Entry> Find(std::span<const std::uint8_t> ifd, std::uint16_t tag) const {
    for (std::size_t at = 0; at < ifd.size(); at += kEntrySize) {
      const auto entry = ifd.subspan(at, kEntrySize);
      if (Decode(entry.first(2)) != tag) continue;
      return Entry{static_cast<std::uint16_t>(Decode(entry.subspan(2, 2))),
                   static_cast<std::uint32_t>(Decode(entry.subspan(4, 4))), entry.subspan<8, 4>()};
    }
    return std::nullopt;
  }

  std::optional<std::uint64_t> Pointer(std::span<const std::uint8_t> ifd, std::uint16_t tag) const {
    const auto entry = Find(ifd, tag);
    if (!entry || (entry->Type != kTypeLong && entry->Type != kTypeIfd) || entry->Count == 0)
      return std::nullopt;
    return Decode(entry->Value);
  }

  std::optional<DateTime> Date(std::span<const std::uint8_t> ifd, std::uint16_t tag) const {
    const auto entry = Find(ifd, tag);
    if (!entry || (entry->Type != kTypeAscii && entry->Type != kTypeUndefined) ||
        entry->Count > kMaxDateBytes)
      return std::nullopt;
    if (entry->Count <= entry->Value.size())
      return ParseExifDateTime(entry->Value.first(entry->Count));
    std::array<std::uint8_t, kMaxDateBytes> text{};
    const auto value = std::span(text).first(entry->Count);
    if (!ReadExact(tiff_, Decode(entry->Value), value)) return std::nullopt;
    return ParseExifDateTime(value);
  }

 private:
  std::uint64_t Decode(std::span<const std::uint8_t> bytes) const noexcept {
    return DecodeUnsigned(bytes, order_);
  }

  ByteSource& tiff_;
  ByteOrder order_;
};

}  // namespace

std::optional<DateTime> ParseExifDateTime(std::span<const std::uint8_t> text) noexcept {
  std::string_view value(reinterpret_cast<const char*>(text.data()), text.size());
  value = value.substr(0, value.find('\0'));
  while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
  constexpr std::string_view kShape = "####:##:## ##:##:##";
  if (value.size() != kShape.size()) return std::nullopt;
  for (std::size_t i = 0; i < kShape.size(); ++i) {
    const bool fits = kShape[i] == '#' ? value[i] >= '0' && value[i] <= '9' : value[i] == kShape[i];
    if (!fits) return std::nullopt;
  }
  const auto number = [value](std::size_t at, std::size_t digits) {
    std::int32_t result = 0;
    for (const char c : value.substr(at, digits)) result = result * 10 + (c - '0');
    return result;
  };
  const DateTime date{number(0, 4),  number(5, 2),  number(8, 2),
                      number(11, 2), number(14, 2), number(17, 2)};
  // Zero and impossible fields (month 13, 31 April, 24 o'clock) do not survive clamping.
  if (Normalized(date) != date) return std::nullopt;
  return date;
}

std::optional<DateTime> ReadTiffDateTaken(ByteSource& tiff) {
  std::array<std::uint8_t, 8> header{};
  if (!ReadExact(tiff, 0, header)) return std::nullopt;
  const std::string_view mark(reinterpret_cast<const char*>(header.data()), 2);
  if (mark != "II" && mark != "MM") return std::nullopt;
  const ByteOrder order = mark == "II" ? ByteOrder::Little : ByteOrder::Big;
  const auto magic = DecodeUnsigned(std::span(header).subspan(2, 2), order);
  if (std::find(kMagics.begin(), kMagics.end(), magic) == kMagics.end()) return std::nullopt;

  const IfdReader reader(tiff, order);
  const std::uint64_t ifd0Offset = DecodeUnsigned(std::span(header).subspan(4, 4), order);
  const std::vector<std::uint8_t> ifd0 = reader.Read(ifd0Offset);
  const auto exifOffset = reader.Pointer(ifd0, kExifIfdPointer);
  if (exifOffset && *exifOffset != ifd0Offset) {
    const std::vector<std::uint8_t> exif = reader.Read(*exifOffset);
    for (const std::uint16_t tag : {kDateTimeOriginal, kDateTimeDigitized}) {
      if (const auto date = reader.Date(exif, tag)) return date;
    }
  }
  return reader.Date(ifd0, kDateTime);
}

}  // namespace tarnivo
