#include "engine/file_dates.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "engine/photo_date.h"
#include "win/handles.h"
#include "win/paths.h"

namespace tarnivo {
namespace {

// A file read in blocks of 64 KiB, each block at most once: the photo reader asks for many
// small pieces, mostly within the first block.
class FileByteSource : public ByteSource {
 public:
  FileByteSource(HANDLE file, std::uint64_t size) : file_(file), size_(size) {}
  std::uint64_t Size() const override { return size_; }

  std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
    std::size_t done = 0;
    while (done < out.size() && offset + done < size_) {
      const Block* block = BlockAt((offset + done) / kBlockSize);
      if (!block) break;
      const std::size_t within = static_cast<std::size_t>((offset + done) % kBlockSize);
      if (within >= block->Bytes.size()) break;  // the file ended early
      const std::size_t count = std::min(out.size() - done, block->Bytes.size() - within);
      std::memcpy(out.data() + done, block->Bytes.data() + within, count);
      done += count;
    }
    return done;
  }

 private:
  static constexpr std::uint64_t kBlockSize = 64 * 1024;
  static constexpr std::size_t kBlocksKept = 8;
  struct Block {
    std::uint64_t Index;
    std::vector<std::uint8_t> Bytes;
  };

  const Block* BlockAt(std::uint64_t index) {
    for (const Block& block : blocks_) {
      if (block.Index == index) return &block;
    }
    Block block{index, std::vector<std::uint8_t>(static_cast<std::size_t>(kBlockSize))};
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(index * kBlockSize);
    DWORD read = 0;
    if (!SetFilePointerEx(file_, at, nullptr, FILE_BEGIN) ||
        !ReadFile(file_, block.Bytes.data(), static_cast<DWORD>(kBlockSize), &read, nullptr)) {
      return nullptr;  // a read error ends what the source gives
    }
    block.Bytes.resize(read);
    if (blocks_.size() == kBlocksKept) blocks_.erase(blocks_.begin());
    blocks_.push_back(std::move(block));
    return &blocks_.back();
  }

  HANDLE file_;
  std::uint64_t size_;
  std::vector<Block> blocks_;
};

Failure SystemFailure(DWORD error) { return Failure{KindOfSystemError(error)}; }

DateTime ToDateTime(const SYSTEMTIME& t) {
  return DateTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace

Result<DateTime> FileDates::Read(FileDateKind kind) {
  std::optional<Result<DateTime>>& known = kind == FileDateKind::Taken ? taken_ : modified_;
  if (!known) known = kind == FileDateKind::Taken ? KnownOrReadTaken() : ReadModified();
  return *known;
}

Result<DateTime> FileDates::KnownOrReadTaken() const {
  if (!known_) return ReadTaken();
  if (const auto kept = known_->Find(*folder_, *file_)) {
    if (!*kept) return Failure{ErrorKind::NoDateTaken};
    return **kept;
  }
  Result<DateTime> taken = ReadTaken();
  // A file that could not be read is asked again next time; a photo without a date is not.
  if (taken.Ok()) known_->Keep(*folder_, *file_, taken.Value());
  if (!taken.Ok() && taken.Error() == ErrorKind::NoDateTaken) {
    known_->Keep(*folder_, *file_, std::nullopt);
  }
  return taken;
}

Result<DateTime> FileDates::ReadTaken() const {
  const UniqueFileHandle file(CreateFileW(ExtendedPath(path_).c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return SystemFailure(GetLastError());
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size)) return SystemFailure(GetLastError());
  FileByteSource source(file.Get(), static_cast<std::uint64_t>(size.QuadPart));
  const std::optional<DateTime> taken = ReadDateTaken(source);
  if (!taken) return Failure{ErrorKind::NoDateTaken};
  return *taken;
}

Result<DateTime> FileDates::ReadModified() const {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(ExtendedPath(path_).c_str(), GetFileExInfoStandard, &data)) {
    return SystemFailure(GetLastError());
  }
  FILETIME local{};
  SYSTEMTIME time{};
  if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) ||
      !FileTimeToSystemTime(&local, &time)) {
    return SystemFailure(GetLastError());
  }
  return ToDateTime(time);
}

}  // namespace tarnivo
