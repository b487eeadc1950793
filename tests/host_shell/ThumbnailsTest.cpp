// Thumbnails in a cache the tests make: the names of the standard, the
// keys, modes and atomic replacement of what is written, a cached one used
// while its file is unchanged, failures recorded once, corrupt cache files,
// the pictures of our own decoders (bad ones included), external
// thumbnailers written as shell scripts (one that hangs), and the shrinking
// filter.
#include <gtest/gtest.h>

#include <array>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <atomic>
#include <cstring>
#include <thread>

#include <zlib.h>

#include <jpeglib.h>

#include "host/base/Exception.h"
#include "host/graphics/BmpCodec.h"
#include "host/graphics/PixmapScale.h"
#include "host/graphics/PngWriter.h"
#include "host/shell/Thumbnails.h"
#include "skin/draw/PngImage.h"

namespace qz {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

TIconDecoder OurPngReader() {
  return [](std::span<const uint8_t> bytes) { return std::optional<TPixmap>(TqzPngImage::DecodeToPixmap(bytes)); };
}

// A picture with a different colour in each quarter, so that scaling and
// orientation show.
TPixmap Quarters(int w, int h) {
  TPixmap p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      p.At(x, y) = x < w / 2 ? (y < h / 2 ? 0xFFFF0000u : 0xFF00FF00u) : (y < h / 2 ? 0xFF0000FFu : 0xFFFFFFFFu);
  return p;
}

Bytes EncodeJpeg(const TPixmap& p, int quality = 95) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = JDIMENSION(p.Width());
  info.image_height = JDIMENSION(p.Height());
  info.input_components = 4;
  info.in_color_space = JCS_EXT_BGRA;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = reinterpret_cast<JSAMPROW>(const_cast<uint32_t*>(p.Row(int(info.next_scanline))));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  Bytes bytes(out, out + size);
  jpeg_destroy_compress(&info);
  std::free(out);
  return bytes;
}

// A PNG whose header claims width x height, with no image data to match.
Bytes PngHeaderOnly(uint32_t width, uint32_t height) {
  Bytes png = EncodePng(TPixmap(1, 1, 0xFF000000u));
  for (int i = 0; i < 4; ++i) {
    png[16 + i] = uint8_t(width >> (24 - 8 * i));
    png[20 + i] = uint8_t(height >> (24 - 8 * i));
  }
  return png;  // the CRC no longer matches: the budget is checked before
}

bool NearColour(uint32_t a, uint32_t b, int tolerance = 12) {
  for (int shift = 0; shift < 32; shift += 8)
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
  return true;
}

class Thumbnails : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "qz-thumbs-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
    fs::create_directories(root_ / "files");
    fs::create_directories(root_ / "thumbnailers");
    fs::create_directories(root_ / "tmp");
    settings_.CacheRoot = (root_ / "cache/thumbnails").string();
    settings_.ThumbnailerDirs = {(root_ / "thumbnailers").string()};
    settings_.TempDir = (root_ / "tmp").string();
    settings_.DecodePng = OurPngReader();
  }
  void TearDown() override { fs::remove_all(root_); }

  std::string File(const std::string& name, const Bytes& bytes, int64_t mtime = 1'600'000'000) const {
    const fs::path path = root_ / "files" / name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    SetMTime(path.string(), mtime);
    return path.string();
  }
  static void SetMTime(const std::string& path, int64_t seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  }
  static Bytes Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }
  static struct stat Stat(const std::string& path) {
    struct stat st{};
    ::stat(path.c_str(), &st);
    return st;
  }
  std::string CachePath(const std::string& file, TThumbnailSize size = TThumbnailSize::Normal) const {
    return settings_.CacheRoot + "/" + std::string(ThumbnailFolderName(size)) + "/" +
           ThumbnailFileName(FileUriFromPath(file));
  }
  std::string FailPath(const std::string& file) const {
    return settings_.CacheRoot + "/fail/" + ThumbnailProgramName() + "/" + ThumbnailFileName(FileUriFromPath(file));
  }
  // An executable shell script in the test's folder.
  std::string Script(const std::string& name, const std::string& body) const {
    const fs::path path = root_ / name;
    std::ofstream(path) << "#!/bin/sh\n" << body;
    fs::permissions(path, fs::perms::owner_all);
    return path.string();
  }
  void Thumbnailer(const std::string& name, const std::string& text) const {
    std::ofstream(root_ / "thumbnailers" / (name + ".thumbnailer")) << text;
  }

  fs::path root_;
  TThumbnailSettings settings_;
};

TEST(ThumbnailNames, UriAndMd5AsTheStandardHasThem) {
  EXPECT_EQ(ThumbnailFileName("file:///home/jens/photos/me.png"), "c6ee772d9e49320e97ec29a7eb5b1697.png");
  const struct {
    std::string path, uri;
  } cases[] = {
      {"/home/jens/photos/me.png", "file:///home/jens/photos/me.png"},
      {"/a b/c#d?e%f", "file:///a%20b/c%23d%3Fe%25f"},
      {"/caf\xC3\xA9/\xFF\n", "file:///caf%C3%A9/%FF%0A"},  // names are bytes
      {"/keep-._~!$&'()*+,=:@", "file:///keep-._~!$&'()*+,=:@"},
      {"/x;y[z]", "file:///x%3By%5Bz%5D"},
  };
  for (const auto& c : cases) EXPECT_EQ(FileUriFromPath(c.path), c.uri) << c.path;
}

TEST_F(Thumbnails, WrittenAsTheStandardSaysThenUsedWhileTheFileIsUnchanged) {
  const std::string photo = File("photo.png", EncodePng(Quarters(400, 200)));
  TThumbnails thumbnails(settings_);
  const TThumbnailResult made = thumbnails.Get(photo, "image/png", TThumbnailSize::Normal);
  ASSERT_EQ(made.Outcome, TThumbnailOutcome::Created) << made.Error;
  EXPECT_EQ(made.Picture.Width(), 128);
  EXPECT_EQ(made.Picture.Height(), 64);
  EXPECT_EQ(made.Picture.At(0, 0), 0xFFFF0000u);
  EXPECT_EQ(made.Picture.At(127, 63), 0xFFFFFFFFu);

  const std::string cached = CachePath(photo);
  const TThumbnailPngInfo info = ReadThumbnailPngInfo(Read(cached));
  EXPECT_EQ(*info.Find("Thumb::URI"), "file://" + photo);
  EXPECT_EQ(*info.Find("Thumb::MTime"), "1600000000");
  EXPECT_EQ(*info.Find("Thumb::Size"), std::to_string(fs::file_size(photo)));
  EXPECT_EQ(*info.Find("Thumb::Mimetype"), "image/png");
  EXPECT_EQ(TqzPngImage::DecodeToPixmap(Read(cached)), made.Picture);
  TqzPngImage image;
  image.LoadFromBytes(Read(cached));
  EXPECT_EQ(image.Header()->ColorType(), 6);  // 8-bit RGBA
  EXPECT_EQ(image.Header()->BitDepth(), 8);
  EXPECT_EQ(Stat(cached).st_mode & 0777, 0600u);
  for (const std::string folder : {"/cache/thumbnails", "/cache/thumbnails/normal"})
    EXPECT_EQ(Stat(root_.string() + folder).st_mode & 0777, 0700u) << folder;
  EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(cached).parent_path()), {}), 1);  // no temporary left

  // Unchanged: the cached file is used as it is.
  const ino_t firstInode = Stat(cached).st_ino;
  EXPECT_EQ(thumbnails.Get(photo, "image/png", TThumbnailSize::Normal).Outcome, TThumbnailOutcome::Cached);
  EXPECT_EQ(Stat(cached).st_ino, firstInode);

  // Changed (new MTime): made again and renamed over the old file.
  File("photo.png", EncodePng(Quarters(100, 300)), 1'700'000'000);
  const TThumbnailResult again = thumbnails.Get(photo, "image/png", TThumbnailSize::Normal);
  ASSERT_EQ(again.Outcome, TThumbnailOutcome::Created) << again.Error;
  EXPECT_EQ(again.Picture.Width(), 43);
  EXPECT_EQ(again.Picture.Height(), 128);
  EXPECT_EQ(*ReadThumbnailPngInfo(Read(cached)).Find("Thumb::MTime"), "1700000000");
  EXPECT_NE(Stat(cached).st_ino, firstInode);

  // Same MTime, other size (rewritten within the second): made again too.
  File("photo.png", EncodePng(Quarters(64, 64)), 1'700'000'000);
  EXPECT_EQ(thumbnails.Get(photo, "image/png", TThumbnailSize::Normal).Outcome, TThumbnailOutcome::Created);
  // Small pictures keep their size; each size has its own folder.
  const TThumbnailResult large = thumbnails.Get(photo, "image/png", TThumbnailSize::Large);
  EXPECT_EQ(large.Picture.Width(), 64);
  EXPECT_TRUE(fs::exists(CachePath(photo, TThumbnailSize::Large)));
}

TEST_F(Thumbnails, AFailureIsRecordedOnceAndRetriedWhenTheFileChanges) {
  const std::string bad = File("bad.png", {'n', 'o', 't', ' ', 'p', 'n', 'g'});
  TThumbnails thumbnails(settings_);
  const TThumbnailResult first = thumbnails.Get(bad, "image/png", TThumbnailSize::Normal);
  EXPECT_EQ(first.Outcome, TThumbnailOutcome::Failed);
  EXPECT_FALSE(first.Error.empty());
  const std::string record = FailPath(bad);
  const TThumbnailPngInfo info = ReadThumbnailPngInfo(Read(record));
  EXPECT_EQ(*info.Find("Thumb::URI"), FileUriFromPath(bad));
  EXPECT_EQ(*info.Find("Thumb::MTime"), "1600000000");
  EXPECT_EQ(Stat(record).st_mode & 0777, 0600u);
  EXPECT_FALSE(fs::exists(CachePath(bad)));

  const ino_t inode = Stat(record).st_ino;
  EXPECT_EQ(thumbnails.Get(bad, "image/png", TThumbnailSize::Normal).Outcome, TThumbnailOutcome::FailedBefore);
  EXPECT_EQ(Stat(record).st_ino, inode);  // not written again

  File("bad.png", EncodePng(Quarters(8, 8)), 1'600'000'001);
  EXPECT_EQ(thumbnails.Get(bad, "image/png", TThumbnailSize::Normal).Outcome, TThumbnailOutcome::Created);
}

TEST_F(Thumbnails, CorruptOrForeignCacheFilesAreReplaced) {
  const std::string photo = File("photo.png", EncodePng(Quarters(32, 32)));
  const TThumbnailCache cache(settings_.CacheRoot, ThumbnailProgramName());
  const TThumbnailSource source = *ThumbnailSourceOf(photo, "image/png");
  const Bytes good = EncodeThumbnailPng(Quarters(32, 32), {{"Thumb::URI", source.Uri}, {"Thumb::MTime", "1600000000"}});
  Bytes badCrc = good;
  badCrc[40] ^= 1;
  Bytes cut(good.begin(), good.end() - 12);  // no IEND
  Bytes badPixels = good;
  badPixels[good.size() - 20] ^= 0xFF;  // inside IDAT, CRC fixed below
  {
    // Keys fine, image data damaged: the CRC is made to match again.
    const size_t iend = good.size() - 12;
    size_t at = 8;
    while (at < iend) {
      const uint32_t len = uint32_t(good[at]) << 24 | good[at + 1] << 16 | good[at + 2] << 8 | good[at + 3];
      if (std::memcmp(&good[at + 4], "IDAT", 4) == 0) {
        const uint32_t crc = uint32_t(crc32(0, &badPixels[at + 4], uInt(len + 4)));
        for (int i = 0; i < 4; ++i) badPixels[at + 8 + len + i] = uint8_t(crc >> (24 - 8 * i));
      }
      at += 12 + len;
    }
  }
  const struct {
    const char* what;
    Bytes file;
    TThumbnailCache::TState state;
  } cases[] = {
      {"empty", {}, TThumbnailCache::TState::Corrupt},
      {"foreign", {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}, TThumbnailCache::TState::Corrupt},
      {"bad CRC", badCrc, TThumbnailCache::TState::Corrupt},
      {"cut short", cut, TThumbnailCache::TState::Corrupt},
      {"huge", EncodeThumbnailPng(TPixmap(1, 5000), {}), TThumbnailCache::TState::Corrupt},
      {"other file", EncodeThumbnailPng(TPixmap(4, 4), {{"Thumb::URI", "file:///else"}, {"Thumb::MTime", "1600000000"}}),
       TThumbnailCache::TState::Stale},
      {"no MTime", EncodeThumbnailPng(TPixmap(4, 4), {{"Thumb::URI", source.Uri}}), TThumbnailCache::TState::Stale},
      {"damaged pixels", badPixels, TThumbnailCache::TState::Valid},
  };
  TThumbnails thumbnails(settings_);
  for (const auto& c : cases) {
    MakePrivateFolders(fs::path(CachePath(photo)).parent_path().string());
    WriteFileAtomically(CachePath(photo), c.file, 0600);
    const TThumbnailCache::TFound found = cache.Find(TThumbnailSize::Normal, source);
    EXPECT_EQ(found.State, c.state) << c.what;
    if (c.state == TThumbnailCache::TState::Corrupt) EXPECT_FALSE(found.Error.empty()) << c.what;
    const TThumbnailResult result = thumbnails.Get(photo, "image/png", TThumbnailSize::Normal);
    EXPECT_EQ(result.Outcome, TThumbnailOutcome::Created) << c.what << ": " << result.Error;
    EXPECT_EQ(cache.Find(TThumbnailSize::Normal, source).State, TThumbnailCache::TState::Valid) << c.what;
  }
}

TEST_F(Thumbnails, OwnDecodersAndBadPictures) {
  const TPixmap q = Quarters(640, 480);
  Bytes jpeg = EncodeJpeg(q);
  Bytes cutJpeg(jpeg.begin(), jpeg.begin() + jpeg.size() / 2);
  Bytes cutPng = EncodePng(q);
  cutPng.resize(cutPng.size() / 2);
  settings_.MaxPixels = 1 << 20;
  const struct {
    const char* name;
    Bytes bytes;
    const char* type;
    TThumbnailOutcome outcome;
    int width, height;
  } cases[] = {
      {"photo.jpg", jpeg, "image/jpeg", TThumbnailOutcome::Created, 128, 96},
      {"photo.bmp", EncodeBmp(q, 24), "image/bmp", TThumbnailOutcome::Created, 128, 96},
      {"photo.png", EncodePng(q), "image/png", TThumbnailOutcome::Created, 128, 96},
      {"tiny.jpg", EncodeJpeg(Quarters(16, 8)), "image/jpeg", TThumbnailOutcome::Created, 16, 8},
      {"really-png.jpg", EncodePng(q), "image/jpeg", TThumbnailOutcome::Created, 128, 96},  // by content
      {"cut.jpg", cutJpeg, "image/jpeg", TThumbnailOutcome::Failed, 0, 0},
      {"cut.png", cutPng, "image/png", TThumbnailOutcome::Failed, 0, 0},
      {"empty.png", {}, "image/png", TThumbnailOutcome::Failed, 0, 0},
      {"huge.png", PngHeaderOnly(60000, 60000), "image/png", TThumbnailOutcome::Failed, 0, 0},
      {"over-budget.jpg", EncodeJpeg(TPixmap(1100, 1000, 0xFF336699u), 10), "image/jpeg", TThumbnailOutcome::Created, 128, 116},
      {"notes.txt", {'h', 'i'}, "text/plain", TThumbnailOutcome::Unsupported, 0, 0},
  };
  TThumbnails thumbnails(settings_);
  for (const auto& c : cases) {
    const TThumbnailResult r = thumbnails.Get(File(c.name, c.bytes), c.type, TThumbnailSize::Normal);
    EXPECT_EQ(r.Outcome, c.outcome) << c.name << ": " << r.Error;
    EXPECT_EQ(r.Picture.Width(), c.width) << c.name;
    EXPECT_EQ(r.Picture.Height(), c.height) << c.name;
    if (c.width == 128 && c.height == 96) {
      EXPECT_TRUE(NearColour(r.Picture.At(5, 5), 0xFFFF0000u)) << c.name;
      EXPECT_TRUE(NearColour(r.Picture.At(122, 90), 0xFFFFFFFFu)) << c.name;
      EXPECT_TRUE(NearColour(r.Picture.At(5, 90), 0xFF00FF00u)) << c.name;
    }
  }
  // The budget counts decoded pixels: a JPEG decoded at 1/8 fits where the
  // whole picture would not; a PNG has no such scale.
  EXPECT_THROW(MakeImageThumbnail(EncodePng(TPixmap(1100, 1000, 0xFF000000u)), 128, 1 << 20, OurPngReader()),
               EInvalidGraphic);
  // Special files are never opened; the cache's own files are not thumbnailed.
  ASSERT_EQ(::mkfifo((root_ / "files/fifo.png").c_str(), 0600), 0);
  EXPECT_EQ(thumbnails.Get((root_ / "files/fifo.png").string(), "image/png", TThumbnailSize::Normal).Outcome,
            TThumbnailOutcome::Unsupported);
  const std::string photo = (root_ / "files/photo.png").string();
  EXPECT_EQ(thumbnails.Get(CachePath(photo), "image/png", TThumbnailSize::Normal).Outcome,
            TThumbnailOutcome::Unsupported);
  EXPECT_EQ(thumbnails.Get("relative.png", "image/png", TThumbnailSize::Normal).Outcome,
            TThumbnailOutcome::Unsupported);
}

// An APP1 Exif segment with IFD0 holding `entries` (tag, type, count,
// value) in the byte order "II" or "MM", put right after the JPEG's SOI.
Bytes WithExif(const Bytes& jpeg, const char* order, std::vector<std::array<uint32_t, 4>> entries,
               size_t cut = 0) {
  const bool little = order[0] == 'I';
  Bytes t = {uint8_t(order[0]), uint8_t(order[1])};
  auto u16 = [&](uint32_t v) {
    if (little) t.insert(t.end(), {uint8_t(v), uint8_t(v >> 8)});
    else t.insert(t.end(), {uint8_t(v >> 8), uint8_t(v)});
  };
  auto u32 = [&](uint32_t v) {
    if (little) t.insert(t.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
    else t.insert(t.end(), {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
  };
  u16(42);
  u32(8);
  u16(uint32_t(entries.size()));
  for (const auto& e : entries) {
    u16(e[0]);
    u16(e[1]);
    u32(e[2]);
    u16(e[3]);
    u16(0);
  }
  u32(0);
  if (cut) t.resize(cut);
  Bytes app1 = {'E', 'x', 'i', 'f', 0, 0};
  app1.insert(app1.end(), t.begin(), t.end());
  const size_t length = app1.size() + 2;
  Bytes out(jpeg.begin(), jpeg.begin() + 2);
  out.insert(out.end(), {0xFF, 0xE1, uint8_t(length >> 8), uint8_t(length)});
  out.insert(out.end(), app1.begin(), app1.end());
  out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
  return out;
}

// A 64 x 32 picture (red, blue over green, white) shown upright for each
// orientation: the colours of its four corners and its size.
TEST(ExifOrientation, JpegThumbnailsAreTurnedUpright) {
  const Bytes jpeg = EncodeJpeg(Quarters(64, 32));
  constexpr uint32_t R = 0xFFFF0000u, G = 0xFF00FF00u, B = 0xFF0000FFu, W = 0xFFFFFFFFu;
  const struct {
    int orientation;
    uint32_t topLeft, topRight, bottomLeft, bottomRight;
  } cases[] = {
      {1, R, B, G, W}, {2, B, R, W, G}, {3, W, G, B, R}, {4, G, W, R, B},
      {5, R, G, B, W}, {6, G, R, W, B}, {7, W, B, G, R}, {8, B, W, R, G},
  };
  for (const auto& c : cases) {
    for (const char* order : {"II", "MM"}) {
      const Bytes file = WithExif(jpeg, order, {{0x0100, 3, 1, 64}, {0x0112, 3, 1, uint32_t(c.orientation)}});
      const TPixmap p = DecodeJpegForBox(file, 1024, 1 << 20);
      const bool turned = c.orientation >= 5;
      ASSERT_EQ(p.Width(), turned ? 32 : 64) << c.orientation << order;
      ASSERT_EQ(p.Height(), turned ? 64 : 32) << c.orientation << order;
      const int r = p.Width() - 4, b = p.Height() - 4;
      EXPECT_TRUE(NearColour(p.At(3, 3), c.topLeft)) << c.orientation << order;
      EXPECT_TRUE(NearColour(p.At(r, 3), c.topRight)) << c.orientation << order;
      EXPECT_TRUE(NearColour(p.At(3, b), c.bottomLeft)) << c.orientation << order;
      EXPECT_TRUE(NearColour(p.At(r, b), c.bottomRight)) << c.orientation << order;
    }
  }
  // Segments that say nothing usable leave the picture as stored.
  const struct {
    const char* what;
    Bytes file;
  } plain[] = {
      {"value out of range", WithExif(jpeg, "II", {{0x0112, 3, 1, 9}})},
      {"not a SHORT", WithExif(jpeg, "II", {{0x0112, 4, 1, 6}})},
      {"cut inside the entry", WithExif(jpeg, "II", {{0x0112, 3, 1, 6}}, 14)},
      {"no such tag", WithExif(jpeg, "MM", {{0x0100, 3, 1, 6}})},
      {"unknown byte order", WithExif(jpeg, "XX", {{0x0112, 3, 1, 6}})},
  };
  for (const auto& c : plain) {
    const TPixmap p = DecodeJpegForBox(c.file, 1024, 1 << 20);
    EXPECT_EQ(p.Width(), 64) << c.what;
    EXPECT_TRUE(NearColour(p.At(3, 3), R)) << c.what;
  }
  // An entry count far past the segment reads nothing outside it.
  Bytes huge = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0, 0xFF, 0xFF};
  EXPECT_EQ(ExifOrientation(huge), 1);
  EXPECT_EQ(ExifOrientation({}), 1);
}

TEST_F(Thumbnails, ExternalThumbnailersAreRunWithoutAShell) {
  const std::string made = (root_ / "made.png").string();
  SavePng(Quarters(300, 100), made);
  const std::string args = (root_ / "args").string();
  const std::string script = Script("thumb.sh", "printf '%s\\n' \"$@\" > '" + args + "'\ncp '" + made + "' \"$2\"\n");
  Thumbnailer("test", "[Thumbnailer Entry]\nTryExec=" + script + "\nExec=" + script +
                          " %i %o %s \"%u\" 100%%\nMimeType=video/x-test;video/x-other;\n");
  Thumbnailer("missing", "[Thumbnailer Entry]\nTryExec=/nonexistent/thumbnailer\nExec=x %i %o\nMimeType=video/x-missing\n");
  const std::string video = File("film $(touch pwned) ;.mkv", {'v', 'i', 'd'});
  TThumbnails thumbnails(settings_);
  EXPECT_TRUE(thumbnails.CanMake("video/x-other"));
  EXPECT_FALSE(thumbnails.CanMake("video/x-missing"));  // TryExec not there
  const TThumbnailResult r = thumbnails.Get(video, "video/x-test", TThumbnailSize::Normal);
  ASSERT_EQ(r.Outcome, TThumbnailOutcome::Created) << r.Error;
  EXPECT_EQ(r.Picture.Width(), 128);
  EXPECT_EQ(r.Picture.Height(), 43);
  const Bytes written = Read(args);
  const std::string text(written.begin(), written.end());
  const std::string out = text.substr(text.find('\n') + 1, text.find('\n', text.find('\n') + 1) - text.find('\n') - 1);
  EXPECT_EQ(text, video + "\n" + out + "\n128\n" + FileUriFromPath(video) + "\n100%\n");
  EXPECT_FALSE(fs::exists(root_ / "files/pwned"));
  EXPECT_FALSE(fs::exists(root_ / "pwned"));
  EXPECT_TRUE(fs::is_empty(root_ / "tmp"));  // its output folder is removed
  EXPECT_EQ(*ReadThumbnailPngInfo(Read(CachePath(video))).Find("Thumb::Mimetype"), "video/x-test");
  // One that writes nothing has failed.
  const std::string lazy = Script("lazy.sh", "exit 0\n");
  Thumbnailer("lazy", "[Thumbnailer Entry]\nExec=" + lazy + " %i %o\nMimeType=video/x-lazy\n");
  TThumbnails again(settings_);
  EXPECT_EQ(again.Get(File("lazy.mkv", {'v'}), "video/x-lazy", TThumbnailSize::Normal).Outcome, TThumbnailOutcome::Failed);
}

bool ProcessEnded(pid_t pid) {
  if (::kill(pid, 0) != 0) return true;
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  const size_t paren = line.rfind(')');
  return paren == std::string::npos || line.substr(paren + 2, 1) == "Z";  // ended, not yet reaped by init
}

// A killed process ends once the system runs it again: waits for that (a
// process that was not killed is still there after the 10 seconds).
bool ProcessGone(pid_t pid) {
  for (int i = 0; i < 1000 && !ProcessEnded(pid); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return ProcessEnded(pid);
}

TEST_F(Thumbnails, AHangingThumbnailerIsKilledWithWhatItStarted) {
  const std::string pids = (root_ / "pids").string();
  const std::string script = Script("hang.sh", "sleep 60 &\necho $$ $! > '" + pids + "'\nwait\n");
  Thumbnailer("hang", "[Thumbnailer Entry]\nExec=" + script + " %i %o\nMimeType=video/x-hang\n");
  settings_.Timeout = std::chrono::milliseconds(1500);  // time for a busy machine to start it
  TThumbnails thumbnails(settings_);
  const std::string video = File("hang.mkv", {'v'});
  const TThumbnailResult r = thumbnails.Get(video, "video/x-hang", TThumbnailSize::Normal);
  EXPECT_EQ(r.Outcome, TThumbnailOutcome::Failed);
  EXPECT_NE(r.Error.find("did not finish"), std::string::npos) << r.Error;
  pid_t shell = 0, sleeper = 0;
  std::ifstream(pids) >> shell >> sleeper;
  ASSERT_GT(shell, 0);
  ASSERT_GT(sleeper, 0);
  EXPECT_TRUE(ProcessGone(shell));
  EXPECT_TRUE(ProcessGone(sleeper));
  EXPECT_TRUE(fs::exists(FailPath(video)));
  EXPECT_EQ(thumbnails.Get(video, "video/x-hang", TThumbnailSize::Normal).Outcome, TThumbnailOutcome::FailedBefore);
}

// A caller that stops (a worker told to terminate) ends the thumbnailer
// and what it started at once; the file is not recorded as failed. The
// time limit is far longer than any test may take.
TEST_F(Thumbnails, AStoppedCallerEndsTheThumbnailerWithoutAFailure) {
  const std::string pids = (root_ / "pids").string();
  const std::string script = Script("slow.sh", "sleep 600 &\necho $$ $! > '" + pids + "'\nwait\n");
  Thumbnailer("slow", "[Thumbnailer Entry]\nExec=" + script + " %i %o\nMimeType=video/x-slow\n");
  settings_.Timeout = std::chrono::milliseconds(600000);
  TThumbnails thumbnails(settings_);
  const std::string video = File("slow.mkv", {'v'});
  // Stops once the script has told its children.
  const TThumbnailResult r = thumbnails.Get(video, "video/x-slow", TThumbnailSize::Normal, [&] {
    std::ifstream in(pids);
    pid_t a = 0, b = 0;
    return bool(in >> a >> b);
  });
  EXPECT_EQ(r.Outcome, TThumbnailOutcome::Unsupported);
  EXPECT_TRUE(r.Picture.Empty());
  pid_t shell = 0, sleeper = 0;
  std::ifstream(pids) >> shell >> sleeper;
  EXPECT_TRUE(ProcessGone(shell));
  EXPECT_TRUE(ProcessGone(sleeper));
  EXPECT_FALSE(fs::exists(FailPath(video)));
}

TEST(ThumbnailerFiles, ExecIsSplitAndExpandedWordByWord) {
  const TThumbnailerArguments args{"/in/a b.mkv", "/out/t.png", "file:///in/a%20b.mkv", 256};
  using Words = std::vector<std::string>;
  const struct {
    std::string exec;
    std::optional<Words> argv;
  } cases[] = {
      {"thumb -s %s -i %i -o %o", Words{"thumb", "-s", "256", "-i", "/in/a b.mkv", "-o", "/out/t.png"}},
      {"thumb --uri=%u 50%%", Words{"thumb", "--uri=file:///in/a%20b.mkv", "50%"}},
      {"\"/opt/my thumb\" \"a\\\"q\" %f x%fy", Words{"/opt/my thumb", "a\"q", "xy"}},  // %f: unknown
      {"  thumb\t%i  ", Words{"thumb", "/in/a b.mkv"}},
      {"thumb \"unclosed", std::nullopt},
      {"", std::nullopt},
      {"%f", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandThumbnailerExec(c.exec, args), c.argv) << c.exec;

  const std::optional<TThumbnailerEntry> entry = ParseThumbnailerEntry(
      "# comment\n[Desktop Entry]\nExec=wrong\n[Thumbnailer Entry]\nTryExec = t\nExec=t\\s%i %o\n"
      "MimeType=video/a; video/b;;\n[Other]\nMimeType=x/y\n");
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->TryExec, "t");
  EXPECT_EQ(entry->Exec, "t %i %o");
  EXPECT_EQ(entry->MimeTypes, (Words{"video/a", "video/b"}));
  EXPECT_FALSE(ParseThumbnailerEntry("[Thumbnailer Entry]\nExec=t %i %o\n"));  // no types
}

TEST_F(Thumbnails, WorkerThreadsShareOneCache) {
  std::vector<std::string> files;
  for (int i = 0; i < 6; ++i) files.push_back(File("p" + std::to_string(i) + ".png", EncodePng(Quarters(200 + i, 150))));
  TThumbnails thumbnails(settings_);
  std::atomic<int> pictures{0};
  std::vector<std::thread> workers;
  for (int t = 0; t < 4; ++t)
    workers.emplace_back([&] {
      for (const std::string& f : files) {
        const TThumbnailResult r = thumbnails.Get(f, "image/png", TThumbnailSize::Normal);
        if ((r.Outcome == TThumbnailOutcome::Created || r.Outcome == TThumbnailOutcome::Cached) && r.Error.empty() &&
            r.Picture.Width() == 128)
          ++pictures;
      }
    });
  for (std::thread& w : workers) w.join();
  EXPECT_EQ(pictures, 24);
  EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(CachePath(files[0])).parent_path()), {}), 6);
}

// The fast shrink against the plain area filter it stands for, on a
// photo-like picture (gradients, mild noise) whose last row and column are
// white: blocks cut short at the edges must weigh only what they cover.
TEST(ShrinkPixmap, AgreesWithTheAreaFilter) {
  const auto picture = [](int w, int h) {
    TPixmap p(w, h);
    uint32_t seed = 1;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        seed = seed * 1664525u + 1013904223u;
        const uint32_t blue = 100 + (seed >> 28);  // noise of 16 levels
        p.At(x, y) = x == w - 1 || y == h - 1 ? 0xFFFFFFFFu
                                              : 0xFF000000u | uint32_t(x * 255 / w) << 16 | uint32_t(y * 255 / h) << 8 | blue;
      }
    return p;
  };
  const struct {
    int sw, sh, w, h;
  } cases[] = {{1920, 1080, 128, 72}, {1920, 1080, 100, 77}, {1920, 7, 128, 1}, {5, 1080, 1, 128}, {1001, 999, 128, 128}};
  for (const auto& c : cases) {
    const TPixmap source = picture(c.sw, c.sh);
    const TPixmap fast = ShrinkPixmap(source, c.w, c.h), exact = ResamplePixmap(source, c.w, c.h);
    ASSERT_EQ(fast.Width(), c.w);
    ASSERT_EQ(fast.Height(), c.h);
    int worst = 0;
    for (int y = 0; y < c.h; ++y)
      for (int x = 0; x < c.w; ++x)
        for (int shift = 0; shift < 32; shift += 8)
          worst = std::max(worst, std::abs(int((fast.At(x, y) >> shift) & 0xFF) - int((exact.At(x, y) >> shift) & 0xFF)));
    EXPECT_LE(worst, 2) << c.sw << "x" << c.sh << " -> " << c.w << "x" << c.h;
  }
  TPixmap half(64, 64, 0x00000000u);  // left half transparent black, right half opaque red
  for (int y = 0; y < 64; ++y)
    for (int x = 32; x < 64; ++x) half.At(x, y) = 0xFFFF0000u;
  EXPECT_EQ(ShrinkPixmap(half, 1, 1).At(0, 0), 0x80FF0000u);
}

}  // namespace
}  // namespace qz
