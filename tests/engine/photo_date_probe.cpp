// Prints "name<TAB>date" (or "none") for every file named, read straight from the
// disk: the live comparison with exiftool runs on this.
#include <cstdio>
#include <memory>
#include <string>

#include "engine/photo_date.h"
#include "photo_text.h"

namespace {

class FileByteSource : public tarnivo::ByteSource {
 public:
  explicit FileByteSource(std::FILE* file) : file_(file) {
    if (std::fseek(file_, 0, SEEK_END) == 0) size_ = static_cast<std::uint64_t>(std::ftell(file_));
  }
  std::uint64_t Size() const override { return size_; }
  std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) return 0;
    return std::fread(out.data(), 1, out.size(), file_);
  }

 private:
  std::FILE* file_;
  std::uint64_t size_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string path = argv[i];
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) {
      std::fprintf(stderr, "cannot open %s\n", path.c_str());
      status = 1;
      continue;
    }
    FileByteSource source(file.get());
    const std::string name = path.substr(path.find_last_of('/') + 1);
    std::printf("%s\t%s\n", name.c_str(),
                tarnivo::test::ExifText(tarnivo::ReadDateTaken(source)).c_str());
  }
  return status;
}
