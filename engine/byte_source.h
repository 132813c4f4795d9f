// Random access to the bytes of a file or buffer, and the checked reads that the
// photo readers build on: every read says whether all of its bytes arrived.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tarnivo {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Copies up to out.size() bytes from `offset`; returns how many were copied
  // (fewer at the end or on a read error).
  virtual std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
};

class MemoryByteSource : public ByteSource {
 public:
  explicit MemoryByteSource(std::span<const std::uint8_t> bytes) noexcept : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override;

 private:
  std::span<const std::uint8_t> bytes_;
};

// A part of another source, possibly in pieces, seen as one run of bytes from 0.
class SliceSource : public ByteSource {
 public:
  struct Extent {
    std::uint64_t Offset = 0;
    std::uint64_t Length = 0;
  };
  // Extents reaching past the end of `parent` are cut to it.
  SliceSource(ByteSource& parent, std::vector<Extent> extents);
  SliceSource(ByteSource& parent, std::uint64_t offset, std::uint64_t length)
      : SliceSource(parent, {{offset, length}}) {}
  std::uint64_t Size() const override { return size_; }
  std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override;

 private:
  ByteSource& parent_;
  std::vector<Extent> extents_;
  std::uint64_t size_ = 0;
};

// Passes reads on until `budget` bytes have been asked for, then reads nothing:
// bounds the work on a hostile file whatever its structure claims.
class BudgetedSource : public ByteSource {
 public:
  BudgetedSource(ByteSource& parent, std::uint64_t budget) noexcept
      : parent_(parent), left_(budget) {}
  std::uint64_t Size() const override { return parent_.Size(); }
  std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override;

 private:
  ByteSource& parent_;
  std::uint64_t left_;
};

enum class ByteOrder { Little, Big };

// True when all of `out` was read.
bool ReadExact(ByteSource& source, std::uint64_t offset, std::span<std::uint8_t> out);

// An unsigned number of `width` bytes (1 to 8), or nothing when not all of it is there.
std::optional<std::uint64_t> ReadUnsigned(ByteSource& source, std::uint64_t offset, int width,
                                          ByteOrder order);

// The same from bytes already read; `bytes` holds 1 to 8 of them.
std::uint64_t DecodeUnsigned(std::span<const std::uint8_t> bytes, ByteOrder order) noexcept;

}  // namespace tarnivo
