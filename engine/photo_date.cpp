#include "engine/photo_date.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>
#include <vector>

#include "engine/exif_tiff.h"

namespace tarnivo {
namespace {

constexpr std::uint64_t kReadBudget = 1 << 20;
// Segments, chunks or boxes walked at one level; far above what real files hold.
constexpr int kMaxSteps = 1 << 16;
constexpr std::uint64_t kMaxExtents = 256;

using Bytes = std::span<const std::uint8_t>;

constexpr std::uint32_t FourCc(const char (&name)[5]) noexcept {
  return static_cast<std::uint32_t>(static_cast<std::uint8_t>(name[0])) << 24 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(name[1])) << 16 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(name[2])) << 8 |
         static_cast<std::uint8_t>(name[3]);
}

constexpr std::array<std::uint8_t, 6> kExifPrefix = {'E', 'x', 'i', 'f', 0, 0};
constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool StartsWith(ByteSource& source, std::uint64_t offset, Bytes prefix) {
  std::array<std::uint8_t, 8> bytes{};
  const auto head = std::span(bytes).first(prefix.size());
  return ReadExact(source, offset, head) && std::equal(head.begin(), head.end(), prefix.begin());
}

std::uint32_t FourCcAt(Bytes bytes, std::size_t at) noexcept {
  return static_cast<std::uint32_t>(DecodeUnsigned(bytes.subspan(at, 4), ByteOrder::Big));
}

// TIFF data of `length` bytes at `offset`, after an optional "Exif\0\0".
std::optional<DateTime> DateInExifBlock(ByteSource& file, std::uint64_t offset,
                                        std::uint64_t length) {
  if (length >= kExifPrefix.size() && StartsWith(file, offset, kExifPrefix)) {
    offset += kExifPrefix.size();
    length -= kExifPrefix.size();
  }
  SliceSource tiff(file, offset, length);
  return ReadTiffDateTaken(tiff);
}

// Markers from SOI to the first scan; the Exif APP1 payload starts "Exif\0\0".
std::optional<DateTime> ReadJpeg(ByteSource& file) {
  constexpr std::uint8_t kApp1 = 0xE1, kStartOfScan = 0xDA, kEndOfImage = 0xD9;
  const auto standalone = [](std::uint8_t m) { return m == 0x01 || (m >= 0xD0 && m <= 0xD7); };
  std::uint64_t at = 2;
  for (int step = 0; step < kMaxSteps; ++step) {
    std::array<std::uint8_t, 4> head{};  // 0xFF, marker, 16-bit length counting itself
    if (!ReadExact(file, at, head) || head[0] != 0xFF) return std::nullopt;
    const std::uint8_t marker = head[1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == kStartOfScan || marker == kEndOfImage) return std::nullopt;
    if (standalone(marker)) {
      at += 2;
      continue;
    }
    const std::uint64_t length = DecodeUnsigned(std::span(head).last(2), ByteOrder::Big);
    if (length < 2) return std::nullopt;
    if (marker == kApp1 && StartsWith(file, at + 4, kExifPrefix)) {
      if (const auto date = DateInExifBlock(file, at + 4, length - 2)) return date;
    }
    at += 2 + length;
  }
  return std::nullopt;
}

// Chunks after the signature: 32-bit big-endian length, type, data, CRC.
std::optional<DateTime> ReadPng(ByteSource& file) {
  std::uint64_t at = kPngSignature.size();
  for (int step = 0; step < kMaxSteps; ++step) {
    std::array<std::uint8_t, 8> head{};
    if (!ReadExact(file, at, head)) return std::nullopt;
    const std::uint64_t length = FourCcAt(head, 0);
    const std::uint32_t type = FourCcAt(head, 4);
    if (length > 0x7FFFFFFF || type == FourCc("IEND")) return std::nullopt;
    if (type == FourCc("eXIf")) return DateInExifBlock(file, at + 8, length);
    at += 12 + length;
  }
  return std::nullopt;
}

// RIFF chunks after "RIFF" size "WEBP": type, 32-bit little-endian size, data
// padded to an even length.
std::optional<DateTime> ReadWebp(ByteSource& file, std::uint64_t riffSize) {
  const std::uint64_t end = std::min(file.Size(), 8 + riffSize);
  std::uint64_t at = 12;
  for (int step = 0; step < kMaxSteps && at < end; ++step) {
    std::array<std::uint8_t, 8> head{};
    if (!ReadExact(file, at, head)) return std::nullopt;
    const std::uint64_t size = DecodeUnsigned(std::span(head).last(4), ByteOrder::Little);
    if (FourCcAt(head, 0) == FourCc("EXIF")) return DateInExifBlock(file, at + 8, size);
    at += 8 + size + (size & 1);
  }
  return std::nullopt;
}

// ISO base media boxes (HEIF): each body is read through a slice of its own, so
// nothing inside a box can reach beyond it.
struct Box {
  std::uint32_t Type = 0;
  std::uint64_t Body = 0;  // offset of the contents
  std::uint64_t End = 0;
};

// The box at `at`; nothing when its header is cut or it does not fit in `source`.
std::optional<Box> ReadBox(ByteSource& source, std::uint64_t at) {
  const std::uint64_t room = source.Size() - std::min(source.Size(), at);
  std::array<std::uint8_t, 16> head{};
  if (room < 8 || !ReadExact(source, at, std::span(head).first(8))) return std::nullopt;
  std::uint64_t size = FourCcAt(head, 0);
  std::uint64_t headerSize = 8;
  if (size == 1) {  // a 64-bit size follows the type
    headerSize = 16;
    if (room < 16 || !ReadExact(source, at + 8, std::span(head).last(8))) return std::nullopt;
    size = DecodeUnsigned(std::span(head).last(8), ByteOrder::Big);
  } else if (size == 0) {  // up to the end
    size = room;
  }
  if (size < headerSize || size > room) return std::nullopt;
  return Box{FourCcAt(head, 4), at + headerSize, at + size};
}

std::optional<Box> FindBox(ByteSource& source, std::uint64_t from, std::uint32_t type) {
  for (int step = 0; step < kMaxSteps; ++step) {
    const auto box = ReadBox(source, from);
    if (!box || box->Type == type) return box;
    from = box->End;
  }
  return std::nullopt;
}

// The contents of a box; `skip` passes over a full box's version and flags.
SliceSource BodyOf(ByteSource& source, const Box& box, std::uint64_t skip = 0) {
  const std::uint64_t start = std::min(box.Body + skip, box.End);
  return SliceSource(source, start, box.End - start);
}

// Fields one after another; once one is missing, every later one reads as 0.
class FieldReader {
 public:
  explicit FieldReader(ByteSource& source) noexcept : source_(source) {}
  std::uint64_t Take(std::uint64_t width) {
    if (width == 0 || !ok_) return 0;
    const auto value = ReadUnsigned(source_, at_, static_cast<int>(width), ByteOrder::Big);
    ok_ = value.has_value() && width <= 8;
    at_ += width;
    return value.value_or(0);
  }
  bool Ok() const noexcept { return ok_; }

 private:
  ByteSource& source_;
  std::uint64_t at_ = 0;
  bool ok_ = true;
};

// The ID of the item of type 'Exif' in an 'iinf' body (version and flags included).
std::optional<std::uint64_t> FindExifItem(ByteSource& iinf) {
  const auto version = ReadUnsigned(iinf, 0, 1, ByteOrder::Big);
  if (!version) return std::nullopt;
  std::uint64_t at = *version == 0 ? 6 : 8;
  for (int step = 0; step < kMaxSteps; ++step) {
    const auto infe = ReadBox(iinf, at);
    if (!infe) return std::nullopt;
    at = infe->End;
    if (infe->Type != FourCc("infe")) continue;
    SliceSource body = BodyOf(iinf, *infe);
    FieldReader fields(body);
    const std::uint64_t entryVersion = fields.Take(1);
    fields.Take(3);
    if (entryVersion < 2) continue;  // older entries name no item type
    const std::uint64_t id = fields.Take(entryVersion == 2 ? 2 : 4);
    fields.Take(2);  // protection index
    if (fields.Take(4) == FourCc("Exif") && fields.Ok()) return id;
  }
  return std::nullopt;
}

// Where the item `id` lies in the file, from an 'iloc' body (version and flags
// included). Only items stored in the file itself (construction method 0) count.
std::optional<std::vector<SliceSource::Extent>> ItemExtents(ByteSource& iloc, std::uint64_t id) {
  FieldReader fields(iloc);
  const std::uint64_t version = fields.Take(1);
  fields.Take(3);
  const std::uint64_t sizes = fields.Take(2);
  const std::uint64_t offsetSize = sizes >> 12, lengthSize = sizes >> 8 & 15;
  const std::uint64_t baseSize = sizes >> 4 & 15, indexSize = version == 0 ? 0 : sizes & 15;
  const std::uint64_t idSize = version < 2 ? 2 : 4;
  const std::uint64_t itemCount = fields.Take(idSize);
  for (std::uint64_t item = 0; item < itemCount && item < kMaxSteps && fields.Ok(); ++item) {
    const std::uint64_t itemId = fields.Take(idSize);
    const std::uint64_t method = version == 0 ? 0 : fields.Take(2) & 15;
    const std::uint64_t dataReference = fields.Take(2);
    const std::uint64_t base = fields.Take(baseSize);
    const std::uint64_t extentCount = fields.Take(2);
    if (extentCount > kMaxExtents) return std::nullopt;
    std::vector<SliceSource::Extent> extents;
    for (std::uint64_t e = 0; e < extentCount; ++e) {
      fields.Take(indexSize);
      const std::uint64_t offset = fields.Take(offsetSize);
      const std::uint64_t length = fields.Take(lengthSize);
      if (offset > std::numeric_limits<std::uint64_t>::max() - base) return std::nullopt;
      // Length 0 means the rest of the file; the slice cuts it there.
      extents.push_back(
          {base + offset, length == 0 ? std::numeric_limits<std::uint64_t>::max() : length});
    }
    if (!fields.Ok()) return std::nullopt;
    if (itemId != id) continue;
    if (method != 0 || dataReference != 0) return std::nullopt;
    return extents;
  }
  return std::nullopt;
}

// 'meta' (a full box) holds 'iinf', naming the Exif item, and 'iloc', placing it.
// The item starts with a 32-bit count of bytes to skip to the TIFF header.
std::optional<DateTime> ReadHeif(ByteSource& file) {
  const auto meta = FindBox(file, 0, FourCc("meta"));
  if (!meta) return std::nullopt;
  SliceSource children = BodyOf(file, *meta, 4);
  const auto iinf = FindBox(children, 0, FourCc("iinf"));
  const auto iloc = FindBox(children, 0, FourCc("iloc"));
  if (!iinf || !iloc) return std::nullopt;
  SliceSource iinfBody = BodyOf(children, *iinf);
  const auto id = FindExifItem(iinfBody);
  if (!id) return std::nullopt;
  SliceSource ilocBody = BodyOf(children, *iloc);
  auto extents = ItemExtents(ilocBody, *id);
  if (!extents) return std::nullopt;
  SliceSource item(file, std::move(*extents));
  const auto skip = ReadUnsigned(item, 0, 4, ByteOrder::Big);
  if (!skip || *skip > item.Size() - 4) return std::nullopt;
  SliceSource tiff(item, 4 + *skip, item.Size() - 4 - *skip);
  return ReadTiffDateTaken(tiff);
}

bool Begins(Bytes head, Bytes prefix) noexcept {
  return head.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), head.begin());
}

}  // namespace

std::optional<DateTime> ReadDateTaken(ByteSource& source) {
  BudgetedSource file(source, kReadBudget);
  std::array<std::uint8_t, 12> bytes{};
  const Bytes head = std::span(bytes).first(file.ReadAt(0, bytes));
  constexpr std::array<std::uint8_t, 2> kJpeg = {0xFF, 0xD8};
  constexpr std::array<std::uint8_t, 4> kRiff = {'R', 'I', 'F', 'F'};
  if (Begins(head, kJpeg)) return ReadJpeg(file);
  if (Begins(head, kPngSignature)) return ReadPng(file);
  if (head.size() == 12 && FourCcAt(head, 4) == FourCc("ftyp")) return ReadHeif(file);
  if (head.size() == 12 && Begins(head, kRiff) && FourCcAt(head, 8) == FourCc("WEBP")) {
    return ReadWebp(file, DecodeUnsigned(head.subspan(4, 4), ByteOrder::Little));
  }
  return ReadTiffDateTaken(file);  // TIFF and the raw formats check their own header
}

}  // namespace tarnivo
