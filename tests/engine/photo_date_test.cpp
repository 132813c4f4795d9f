#include "engine/photo_date.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/exif_tiff.h"
#include "photo_text.h"

namespace tarnivo {
namespace {

using namespace std::string_literals;
using Order = ByteOrder;

const std::string kOriginal = "2021:03:04 05:06:07";
const std::string kDigitized = "2022:01:02 03:04:05";
const std::string kModified = "2023:11:12 13:14:15";

std::span<const std::uint8_t> AsBytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string DateOf(const std::string& file) {
  MemoryByteSource source(AsBytes(file));
  return test::ExifText(ReadDateTaken(source));
}

std::string Num(std::uint64_t value, int width, Order order = Order::Big) {
  std::string bytes(static_cast<std::size_t>(width), '\0');
  for (int i = 0; i < width; ++i) {
    const int shift = 8 * (order == Order::Big ? width - 1 - i : i);
    bytes[static_cast<std::size_t>(i)] = static_cast<char>(value >> shift & 0xFF);
  }
  return bytes;
}

// One IFD entry; Data up to 4 bytes is stored in the entry, longer data after the IFDs.
struct Field {
  std::uint16_t Tag;
  std::uint16_t Type;
  std::uint32_t Count;
  std::string Data;
};

Field Ascii(std::uint16_t tag, const std::string& text) {
  return {tag, 2, static_cast<std::uint32_t>(text.size() + 1), text + '\0'};
}
Field Original(const std::string& text = kOriginal) { return Ascii(0x9003, text); }
Field Digitized(const std::string& text = kDigitized) { return Ascii(0x9004, text); }
Field Modified(const std::string& text = kModified) { return Ascii(0x0132, text); }

// A TIFF structure: IFD0 at 8, then the Exif IFD (pointed to from IFD0 when given), then values.
std::string Tiff(Order order, std::vector<Field> ifd0, const std::vector<Field>& exif = {}) {
  const auto ifdSize = [](std::size_t n) { return 2 + 12 * n + 4; };
  if (!exif.empty()) ifd0.push_back({0x8769, 4, 1, Num(8 + ifdSize(ifd0.size() + 1), 4, order)});
  std::size_t valueAt = 8 + ifdSize(ifd0.size()) + (exif.empty() ? 0 : ifdSize(exif.size()));
  std::string out = (order == Order::Big ? "MM" : "II") + Num(42, 2, order) + Num(8, 4, order);
  std::string values;
  for (const std::vector<Field>* ifd : {&std::as_const(ifd0), &exif}) {
    if (ifd->empty()) continue;
    out += Num(ifd->size(), 2, order);
    for (const Field& f : *ifd) {
      out += Num(f.Tag, 2, order) + Num(f.Type, 2, order) + Num(f.Count, 4, order);
      if (f.Data.size() <= 4) {
        out += f.Data + std::string(4 - f.Data.size(), '\0');
      } else {
        out += Num(valueAt + values.size(), 4, order);
        values += f.Data;
      }
    }
    out += Num(0, 4, order);
  }
  return out + values;
}

std::string Patched(std::string bytes, std::size_t at, const std::string& with) {
  return bytes.replace(at, with.size(), with);
}

std::string Segment(std::uint8_t marker, const std::string& payload) {
  return "\xFF"s + static_cast<char>(marker) + Num(payload.size() + 2, 2) + payload;
}
std::string Jpeg(const std::string& tiff) {
  return "\xFF\xD8"s + Segment(0xE0, "JFIF\0\1\1\0\0\1\0\1\0\0"s) +
         Segment(0xE1, "Exif\0\0"s + tiff) + Segment(0xDA, "\1\1\0\0?\0"s) + "\x12\xFF\xD9"s;
}

std::string Chunk(const std::string& type, const std::string& data) {
  return Num(data.size(), 4) + type + data + "CRC!";
}
std::string Png(const std::string& tiff) {
  return "\x89PNG\r\n\x1A\n"s + Chunk("IHDR", std::string(13, '\1')) + Chunk("eXIf", tiff) +
         Chunk("IDAT", "x") + Chunk("IEND", "");
}

std::string RiffChunk(const std::string& type, const std::string& data) {
  return type + Num(data.size(), 4, Order::Little) + data + (data.size() % 2 ? "\0"s : "");
}
std::string Webp(const std::string& tiff) {
  const std::string body = "WEBP" + RiffChunk("VP8X", std::string(10, '\0')) +
                           RiffChunk("ICCP", "odd") + RiffChunk("EXIF", tiff);
  return "RIFF" + Num(body.size(), 4, Order::Little) + body;
}

std::string Box(const std::string& type, const std::string& body) {
  return Num(body.size() + 8, 4) + type + body;
}
std::string FullBox(const std::string& type, int version, const std::string& body) {
  return Box(type, Num(static_cast<std::uint64_t>(version), 1) + "\0\0\0"s + body);
}

struct HeifLayout {
  int IlocVersion = 1;
  int InfeVersion = 2;
  int Extents = 1;       // the Exif item split in this many pieces
  int Method = 0;        // construction method
  bool Large = false;    // mdat with a 64-bit size
  bool MdatLast = true;  // and then with size 0, "to the end"
};

// ftyp, meta (hdlr, iinf naming item 2 'Exif', iloc placing it in mdat), mdat.
std::string Heif(const std::string& tiff, const HeifLayout& layout = {}) {
  const std::string item = Num(6, 4) + "Exif\0\0"s + tiff;
  const int idSize = layout.IlocVersion < 2 ? 2 : 4;
  const auto infe = [&](int id, const std::string& type) {
    const std::string idField =
        Num(static_cast<std::uint64_t>(id), layout.InfeVersion == 2 ? 2 : 4);
    return FullBox("infe", layout.InfeVersion, idField + "\0\0"s + type + "\0"s);
  };
  const auto meta = [&](std::uint64_t itemAt) {
    std::string iloc = "\x44\x40"s + Num(1, idSize) + Num(2, idSize);
    if (layout.IlocVersion > 0) iloc += Num(static_cast<std::uint64_t>(layout.Method), 2);
    iloc += Num(0, 2) + Num(0, 4) + Num(static_cast<std::uint64_t>(layout.Extents), 2);
    const std::size_t piece = item.size() / static_cast<std::size_t>(layout.Extents) + 1;
    for (std::size_t at = 0; at < item.size(); at += piece)  // written backwards in the file
      iloc += Num(itemAt + item.size() - std::min(item.size(), at + piece), 4) +
              Num(std::min(piece, item.size() - at), 4);
    return FullBox("meta", 0,
                   FullBox("hdlr", 0, "\0\0\0\0pict"s + std::string(13, '\0')) +
                       FullBox("iinf", 0, Num(2, 2) + infe(1, "hvc1") + infe(2, "Exif")) +
                       FullBox("iloc", layout.IlocVersion, iloc));
  };
  std::string pieces;  // the item's pieces in reverse order, so joining them is tested
  const std::size_t piece = item.size() / static_cast<std::size_t>(layout.Extents) + 1;
  for (std::size_t at = 0; at < item.size(); at += piece) pieces.insert(0, item.substr(at, piece));
  const std::string ftyp = Box("ftyp", "heic\0\0\0\0mif1heic"s);
  const std::string mdatHead = layout.Large      ? Num(1, 4) + "mdat" + Num(pieces.size() + 16, 8)
                               : layout.MdatLast ? Num(0, 4) + "mdat"
                                                 : Num(pieces.size() + 8, 4) + "mdat";
  const std::size_t metaSize = meta(0).size();
  const std::string tail = layout.MdatLast ? "" : Box("free", "");
  return ftyp + meta(ftyp.size() + metaSize + mdatHead.size()) + mdatHead + pieces + tail;
}

using Wrap = std::function<std::string(const std::string& tiff)>;

std::string Identity(const std::string& tiff) { return tiff; }
std::string RawMark(const std::string& tiff, const std::string& ii, const std::string& mm) {
  return Patched(tiff, 2, tiff[0] == 'I' ? ii : mm);
}

const std::vector<std::pair<std::string, Wrap>>& Containers() {
  static const std::vector<std::pair<std::string, Wrap>> containers = {
      {"tiff", Identity},
      {"orf", [](const std::string& t) { return RawMark(t, "RO", "OR"); }},
      {"orf rs", [](const std::string& t) { return RawMark(t, "RS", "OR"); }},
      {"rw2", [](const std::string& t) { return RawMark(t, "U\0"s, "\0*"s); }},
      {"jpeg", Jpeg},
      {"png", Png},
      {"png with prefix", [](const std::string& t) { return Png("Exif\0\0"s + t); }},
      {"webp", Webp},
      {"webp with prefix", [](const std::string& t) { return Webp("Exif\0\0"s + t); }},
      {"heif", [](const std::string& t) { return Heif(t); }},
  };
  return containers;
}

TEST(ParseExifDateTime, AcceptsOnlyRealDates) {
  const std::pair<std::string, std::string> cases[] = {
      {"2021:03:04 05:06:07", "2021:03:04 05:06:07"},
      {"2021:03:04 05:06:07\0"s, "2021:03:04 05:06:07"},
      {"2021:03:04 05:06:07  \0\0"s, "2021:03:04 05:06:07"},
      {"2021:03:04 05:06:07\0junk"s, "2021:03:04 05:06:07"},
      {"2020:02:29 23:59:59", "2020:02:29 23:59:59"},
      {"0001:01:01 00:00:00", "0001:01:01 00:00:00"},
      {"9999:12:31 23:59:59", "9999:12:31 23:59:59"},
      {"", "none"},
      {"\0"s, "none"},
      {"0000:00:00 00:00:00", "none"},
      {"    :  :     :  :  ", "none"},
      {"0000:01:01 00:00:00", "none"},
      {"2021:00:01 00:00:00", "none"},
      {"2021:13:01 00:00:00", "none"},
      {"2021:01:00 00:00:00", "none"},
      {"2021:02:29 00:00:00", "none"},
      {"1900:02:29 00:00:00", "none"},
      {"2021:04:31 00:00:00", "none"},
      {"2021:01:01 24:00:00", "none"},
      {"2021:01:01 00:60:00", "none"},
      {"2021:01:01 00:00:60", "none"},
      {" 2021:03:04 05:06:07", "none"},
      {"2021-03-04 05:06:07", "none"},
      {"2021:03:04T05:06:07", "none"},
      {"2021:03:04 05:06:0", "none"},
      {"2021:03:04 05:06:07+02:00", "none"},
      {"2021:03:04 05:06:0x", "none"},
      {"2021:+3:04 05:06:07", "none"},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(testing::PrintToString(text));
    EXPECT_EQ(test::ExifText(ParseExifDateTime(AsBytes(text))), expected);
  }
}

TEST(ReadDateTaken, TagPrecedenceInEveryContainerAndByteOrder) {
  struct Case {
    std::string Name;
    std::vector<Field> Ifd0, Exif;
    std::string Expected;
  };
  const Case cases[] = {
      {"all three", {Modified()}, {Original(), Digitized()}, kOriginal},
      {"original", {}, {Original()}, kOriginal},
      {"digitized", {}, {Digitized()}, kDigitized},
      {"modified", {Modified()}, {}, kModified},
      {"exif ifd without dates", {Modified()}, {{0x829A, 5, 1, "12345678"}}, kModified},
      {"zero original", {Modified()}, {Original("0000:00:00 00:00:00"), Digitized()}, kDigitized},
      {"blank and empty",
       {Modified()},
       {Original("    :  :     :  :  "), Digitized("")},
       kModified},
      {"impossible dates",
       {Modified("2021:02:29 10:00:00")},
       {Original("2021:13:01 10:00:00")},
       "none"},
      {"no NUL", {}, {{0x9003, 2, 19, kOriginal}}, kOriginal},
      {"blank padded", {}, {{0x9003, 2, 24, kOriginal + "    \0"s}}, kOriginal},
      {"undefined type", {}, {{0x9003, 7, 20, kOriginal + '\0'}}, kOriginal},
      {"short type", {Modified()}, {{0x9003, 3, 20, kOriginal + '\0'}}, kModified},
      {"inline short text", {Modified()}, {{0x9003, 2, 4, "202"s}}, kModified},
      {"count beyond the cap", {}, {{0x9003, 2, 65, kOriginal + std::string(46, '\0')}}, "none"},
      {"exif tags in ifd0", {Original(), Digitized()}, {}, "none"},
      {"ifd0 tag in exif ifd", {}, {Modified()}, "none"},
      {"none", {{0x010F, 2, 6, "Canon\0"s}}, {}, "none"},
  };
  for (const auto& [containerName, wrap] : Containers()) {
    for (const Order order : {Order::Little, Order::Big}) {
      for (const Case& c : cases) {
        SCOPED_TRACE(containerName + (order == Order::Big ? " MM " : " II ") + c.Name);
        if (containerName == "rw2" && order == Order::Big) continue;
        EXPECT_EQ(DateOf(wrap(Tiff(order, c.Ifd0, c.Exif))), c.Expected);
      }
    }
  }
}

TEST(ReadDateTaken, HeifLayouts) {
  const std::string tiff = Tiff(Order::Big, {}, {Original()});
  const std::pair<HeifLayout, std::string> cases[] = {
      {{.IlocVersion = 0}, kOriginal},
      {{.IlocVersion = 2}, kOriginal},
      {{.InfeVersion = 3}, kOriginal},
      {{.Extents = 2}, kOriginal},
      {{.Extents = 5}, kOriginal},
      {{.Large = true}, kOriginal},
      {{.MdatLast = false}, kOriginal},
      {{.IlocVersion = 2, .Extents = 3, .Large = true, .MdatLast = false}, kOriginal},
      {{.Method = 1}, "none"},
      {{.InfeVersion = 1}, "none"},  // no item type: no Exif item
  };
  for (const auto& [layout, expected] : cases) {
    SCOPED_TRACE(testing::Message()
                 << "iloc v" << layout.IlocVersion << " infe v" << layout.InfeVersion << " extents "
                 << layout.Extents << " method " << layout.Method << " large " << layout.Large
                 << " last " << layout.MdatLast);
    EXPECT_EQ(DateOf(Heif(tiff, layout)), expected);
  }
}

TEST(ReadDateTaken, HostileStructures) {
  const std::string good = Tiff(Order::Little, {Modified()}, {Original()});
  const std::string heif = Heif(Tiff(Order::Big, {}, {Original()}));
  const std::size_t heifMeta = heif.find("meta") - 4;
  const std::size_t heifIloc = heif.find("iloc") - 4;
  const std::string jpeg = Jpeg(good);
  const std::size_t app1Length = jpeg.find("\xFF\xE1") + 2;
  struct Case {
    std::string Name, File, Expected;
  };
  const Case table[] = {
      {"exif pointer to ifd0",
       Tiff(Order::Little, {Modified(), {0x8769, 4, 1, Num(8, 4, Order::Little)}, Original()}),
       kModified},
      {"exif ifd pointing to itself",
       Tiff(Order::Big, {}, {Digitized(), {0x8769, 4, 1, Num(8 + 18, 4)}}), kDigitized},
      {"exif pointer past the end",
       Tiff(Order::Big, {Modified(), {0x8769, 13, 1, "\xFF\xFF\xFF\0"s}}), kModified},
      {"value past the end", Tiff(Order::Big, {{0x0132, 2, 20, "\xFF\xFF\xFF\xF0"s}}), "none"},
      {"count of 4 G", Tiff(Order::Big, {{0x0132, 2, 0xFFFFFFFF, Num(26, 4)}}), "none"},
      {"entry count past the end", Patched(Tiff(Order::Little, {Modified()}), 8, "\xFF\xFF"),
       kModified},
      {"entry count cut short", Tiff(Order::Little, {Modified()}).substr(0, 20), "none"},
      {"ifd0 past the end", Patched(good, 4, "\xF0\xFF\xFF\xFF"), "none"},
      {"ifd0 in the header", Patched(good, 4, "\4\0\0\0"s), "none"},
      {"big tiff", Patched(good, 2, "+\0"s), "none"},
      {"bad byte order mark", Patched(good, 0, "IM"), "none"},
      {"empty", "", "none"},
      {"jpeg app1 length 1", Patched(jpeg, app1Length, "\0\1"s), "none"},
      {"jpeg app1 past the end", Patched(jpeg, app1Length, "\xFF\xFF"), kOriginal},
      {"jpeg app1 cut short", Patched(jpeg, app1Length, "\0\x30"s), "none"},
      {"jpeg fill bytes", "\xFF\xD8\xFF\xFF\xFF"s + jpeg.substr(3), kOriginal},
      {"jpeg restart markers", "\xFF\xD8\xFF\xD0\xFF\x01"s + jpeg.substr(2), kOriginal},
      {"jpeg xmp first",
       "\xFF\xD8"s + Segment(0xE1, "http://ns.adobe.com/xap/1.0/\0<x/>"s) + jpeg.substr(2),
       kOriginal},
      {"jpeg broken exif first", "\xFF\xD8"s + Segment(0xE1, "Exif\0\0MM\0*"s) + jpeg.substr(2),
       kOriginal},
      {"jpeg exif after the scan", "\xFF\xD8"s + Segment(0xDA, "") + jpeg.substr(2), "none"},
      {"jpeg no marker", "\xFF\xD8\0"s + jpeg.substr(2), "none"},
      {"png huge chunk", "\x89PNG\r\n\x1A\n"s + Num(0xFFFFFFFF, 4) + "tEXt" + Png(good).substr(8),
       "none"},
      {"png exif after IEND", "\x89PNG\r\n\x1A\n"s + Chunk("IEND", "") + Png(good).substr(8),
       "none"},
      {"webp huge chunk", Patched(Webp(good), 16, "\xF0\xFF\xFF\xFF"), "none"},
      {"webp exif past the riff", Patched(Webp(good), 4, "\x04\0\0\0"s), "none"},
      {"heif box size below 8", Patched(heif, heifMeta, Num(7, 4)), "none"},
      {"heif box past the end", Patched(heif, heifMeta, Num(0x7FFFFFFF, 4)), "none"},
      {"heif largesize", Patched(heif, heifMeta, Num(1, 4) + "meta" + Num(~0ULL, 8)), "none"},
      {"heif meta to the end", Patched(heif, heifMeta, Num(0, 4)), kOriginal},
      {"heif field sizes beyond 8", Patched(heif, heifIloc + 12, "\xFF\xFF"), "none"},
      {"heif 65535 extents", Patched(heif, heifIloc + 26, "\xFF\xFF"), "none"},
      {"heif item count past the end", Patched(heif, heifIloc + 14, "\xFF\xFF"), kOriginal},
      {"heif skip past the item", Patched(heif, heif.find("\6Exif\0\0"s) - 3, "\0\0\1\0"s), "none"},
      {"heif no iloc", Patched(heif, heifIloc + 4, "xloc"), "none"},
  };
  for (const Case& c : table) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(DateOf(c.File), c.Expected);
  }
}

// Where the fixtures are: under Wine the build's Linux path is reached through drive Z:.
std::string FixturePath(const std::string& name) {
  std::string path = TARNIVO_PHOTO_FIXTURES "/" + name;
#ifdef _WIN32
  for (char& c : path) c = c == '/' ? '\\' : c;
  if (path.front() == '\\') path.insert(0, "Z:");
#endif
  return path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// name -> expected date, from exiftool's reading of the fixtures.
std::vector<std::pair<std::string, std::string>> Manifest() {
  std::vector<std::pair<std::string, std::string>> lines;
  std::istringstream manifest(ReadFile(FixturePath("expected.tsv")));
  for (std::string line; std::getline(manifest, line);) {
    const std::size_t tab = line.find('\t');
    if (tab != std::string::npos) lines.emplace_back(line.substr(0, tab), line.substr(tab + 1));
  }
  return lines;
}

TEST(ReadDateTaken, FilesWrittenByExiftool) {
  const auto manifest = Manifest();
  EXPECT_GE(manifest.size(), 70u) << FixturePath("expected.tsv");
  for (const auto& [name, expected] : manifest) {
    SCOPED_TRACE(name);
    EXPECT_EQ(DateOf(ReadFile(FixturePath(name))), expected);
  }
}

// Every prefix and every single flipped byte: no crash (the sanitizers watch), and
// whatever comes back is one of the dates the file holds.
TEST(ReadDateTaken, CutAndFlippedFilesGiveTheirOwnDatesOrNone) {
  std::vector<std::pair<std::string, std::string>> files;
  for (const auto& [name, expected] : Manifest())
    files.emplace_back(name, ReadFile(FixturePath(name)));
  for (const auto& [name, wrap] : Containers()) {
    for (const Order order : {Order::Little, Order::Big})
      files.emplace_back(name, wrap(Tiff(order, {Modified()}, {Original(), Digitized()})));
  }
  const std::set<std::string> allowed = {kOriginal, kDigitized, kModified, "none"};
  for (const auto& [name, file] : files) {
    SCOPED_TRACE(name);
    for (std::size_t at = 0; at < file.size(); ++at) {
      std::string flipped = file;
      flipped[at] = static_cast<char>(flipped[at] ^ 0xFF);
      ASSERT_TRUE(allowed.count(DateOf(file.substr(0, at)))) << "cut at " << at;
      ASSERT_TRUE(allowed.count(DateOf(flipped))) << "flipped at " << at;
    }
  }
}

// A large file of a repeated pattern but for a few pieces; counts the bytes read.
class PatternSource : public ByteSource {
 public:
  PatternSource(std::uint64_t size, std::string pattern,
                std::vector<std::pair<std::uint64_t, std::string>> pieces)
      : size_(size), pattern_(std::move(pattern)), pieces_(std::move(pieces)) {}
  std::uint64_t Size() const override { return size_; }
  std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
    const std::size_t count =
        offset >= size_
            ? 0
            : static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), size_ - offset));
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint64_t at = offset + i;
      out[i] = static_cast<std::uint8_t>(pattern_[at % pattern_.size()]);
      for (const auto& [start, bytes] : pieces_) {
        if (at >= start && at - start < bytes.size())
          out[i] = static_cast<std::uint8_t>(bytes[at - start]);
      }
    }
    bytesRead_ += count;
    return count;
  }
  std::uint64_t BytesRead() const { return bytesRead_; }

 private:
  std::uint64_t size_;
  std::string pattern_;
  std::vector<std::pair<std::uint64_t, std::string>> pieces_;
  std::uint64_t bytesRead_ = 0;
};

TEST(ReadDateTaken, ReadsOnlyWhatItNeeds) {
  constexpr std::uint64_t kMiB = 1 << 20;
  // A 64 MiB raw file whose Exif IFD lies 40 MiB in, its date 50 MiB in.
  const auto le = [](std::uint64_t value, int width) { return Num(value, width, Order::Little); };
  const std::string ifd0 = Tiff(Order::Little, {Modified(), {0x8769, 4, 1, le(40 * kMiB, 4)}});
  const std::string exifIfd = le(1, 2) + le(0x9003, 2) + le(2, 2) + le(20, 4) + le(50 * kMiB, 4);
  const std::string exif = Tiff(Order::Little, {}, {Original()});
  const std::string app1 = Segment(0xE1, "Exif\0\0"s + exif);
  const std::string hugeCount = Patched(Tiff(Order::Little, {Modified()}), 8, "\xFF\xFF");
  // A HEIF whose iloc runs to the end of 256 MiB: 65535 items of 256 extents each.
  const std::string heifItem = "\0\1\0\0\0\0\0\0\0\0\1\0"s + std::string(2048, '\0');
  std::string heifHead = Box("ftyp", "heic") + Num(0, 4) + "meta\0\0\0\0"s +
                         FullBox("iinf", 0, Num(1, 2) + FullBox("infe", 2, "\0\2\0\0Exif\0"s));
  const std::string ilocHead = Num(0, 4) + "iloc\1\0\0\0\x44\x40\xFF\xFF"s;
  heifHead +=
      Box("free", std::string(heifItem.size() - heifHead.size() - 8 - ilocHead.size(), 'f'));
  heifHead += ilocHead;  // the items start where the pattern does
  struct Case {
    std::string Name;
    PatternSource Source;
    std::string Expected;
    std::uint64_t MaxRead;
  };
  Case cases[] = {
      {"raw",
       PatternSource(64 * kMiB, "\0"s, {{0, ifd0}, {40 * kMiB, exifIfd}, {50 * kMiB, kOriginal}}),
       kOriginal, 4096},
      {"jpeg with a large segment first",
       PatternSource(64 * kMiB, "\0"s,
                     {{0, "\xFF\xD8"s + Segment(0xE2, std::string(65000, '\0')) + app1}}),
       kOriginal, 4096},
      {"jpeg of empty segments", PatternSource(64 * kMiB, "\xFF\xFE\0\2"s, {{0, "\xFF\xD8"s}}),
       "none", kMiB},
      {"png of empty chunks",
       PatternSource(64 * kMiB, "\0\0\0\0tEXtCRC!"s, {{0, "\x89PNG\r\n\x1A\n"s}}), "none", kMiB},
      {"heif of 65535 items", PatternSource(256 * kMiB, heifItem, {{0, heifHead}}), "none", kMiB},
      {"ifd of 65535 entries", PatternSource(64 * kMiB, "\0"s, {{0, hugeCount}}), kModified, 16384},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(test::ExifText(ReadDateTaken(c.Source)), c.Expected);
    EXPECT_LE(c.Source.BytesRead(), c.MaxRead);
  }
}

}  // namespace
}  // namespace tarnivo
