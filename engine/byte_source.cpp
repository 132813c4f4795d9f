#include "engine/byte_source.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tarnivo {

std::size_t MemoryByteSource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) {
  if (offset >= bytes_.size()) return 0;
  const auto start = static_cast<std::size_t>(offset);  // below a size_t size
  const std::size_t count = std::min(out.size(), bytes_.size() - start);
  std::memcpy(out.data(), bytes_.data() + start, count);
  return count;
}

SliceSource::SliceSource(ByteSource& parent, std::vector<Extent> extents)
    : parent_(parent), extents_(std::move(extents)) {
  const std::uint64_t parentSize = parent_.Size();
  for (Extent& extent : extents_) {
    extent.Offset = std::min(extent.Offset, parentSize);
    extent.Length = std::min(extent.Length, parentSize - extent.Offset);
    size_ += extent.Length;  // at most parentSize per extent: no overflow for a sane count
  }
}

std::size_t SliceSource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) {
  std::size_t copied = 0;
  for (const Extent& extent : extents_) {
    if (copied == out.size()) break;
    if (offset >= extent.Length) {
      offset -= extent.Length;
      continue;
    }
    const std::uint64_t available = extent.Length - offset;
    const auto wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(out.size() - copied, available));
    const std::size_t got = parent_.ReadAt(extent.Offset + offset, out.subspan(copied, wanted));
    copied += got;
    if (got < wanted) break;
    offset = 0;
  }
  return copied;
}

std::size_t BudgetedSource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) {
  const auto allowed = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), left_));
  left_ -= allowed;
  return allowed == 0 ? 0 : parent_.ReadAt(offset, out.first(allowed));
}

bool ReadExact(ByteSource& source, std::uint64_t offset, std::span<std::uint8_t> out) {
  return source.ReadAt(offset, out) == out.size();
}

std::uint64_t DecodeUnsigned(std::span<const std::uint8_t> bytes, ByteOrder order) noexcept {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const std::size_t index = order == ByteOrder::Big ? i : bytes.size() - 1 - i;
    value = value << 8 | bytes[index];
  }
  return value;
}

std::optional<std::uint64_t> ReadUnsigned(ByteSource& source, std::uint64_t offset, int width,
                                          ByteOrder order) {
  std::uint8_t bytes[8] = {};
  const std::span<std::uint8_t> field(bytes, static_cast<std::size_t>(std::clamp(width, 1, 8)));
  if (!ReadExact(source, offset, field)) return std::nullopt;
  return DecodeUnsigned(field, order);
}

}  // namespace tarnivo
