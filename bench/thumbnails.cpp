// Making thumbnails: 100 PNG photos of 1920 x 1080 (smooth gradients with a
// few percent of noise, RGB, encoded by libpng at its default settings; ten
// different pictures, each in ten files) made into "normal" thumbnails of an
// empty cache — read, decoded by our reader, shrunk, encoded with the keys
// and written atomically — against reading the same files and decoding them
// with libpng to RGBA. The ratio is printed at the end (goal <= 1.3).
#include <benchmark/benchmark.h>
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "BenchRatios.h"
#include "LibpngEncode.h"
#include "host/shell/BoundedRead.h"
#include "host/shell/Thumbnails.h"
#include "skin/draw/PngImage.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

constexpr int kWidth = 1920, kHeight = 1080, kPictures = 10, kCopies = 10;

Bytes MakePhotoPng(int seed) {
  std::mt19937 rng(seed);
  std::normal_distribution<double> noise(0.0, 6.0);
  Bytes rgb(size_t(kWidth) * kHeight * 3);
  const double phase = seed * 0.7;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const double fx = double(x) / kWidth, fy = double(y) / kHeight;
      const double base[3] = {255 * (0.5 + 0.5 * std::sin(3 * fx + phase)),
                              255 * (0.5 + 0.5 * std::sin(6 * fy + 3 * fx + phase)),
                              255 * (1 - fy) * (0.6 + 0.4 * std::cos(9 * fx + phase))};
      for (int c = 0; c < 3; ++c)
        rgb[(size_t(y) * kWidth + x) * 3 + c] = uint8_t(std::clamp(std::lround(base[c] + noise(rng)), 0L, 255L));
    }
  return qz::bench::EncodeWithLibpng(rgb, kWidth, kHeight, 3);
}

struct TPhotos {
  fs::path Root;
  std::vector<std::string> Files;
  TPhotos() {
    std::string pattern = (fs::temp_directory_path() / "qz-bench-thumbs-XXXXXX").string();
    Root = ::mkdtemp(pattern.data());
    fs::create_directories(Root / "photos");
    for (int p = 0; p < kPictures; ++p) {
      const Bytes png = MakePhotoPng(p + 1);
      for (int c = 0; c < kCopies; ++c) {
        Files.push_back((Root / "photos" / ("photo-" + std::to_string(p) + "-" + std::to_string(c) + ".png")).string());
        std::FILE* f = std::fopen(Files.back().c_str(), "wb");
        std::fwrite(png.data(), 1, png.size(), f);
        std::fclose(f);
      }
    }
  }
  ~TPhotos() { fs::remove_all(Root); }
};

TPhotos& Photos() {
  static TPhotos photos;
  return photos;
}

struct TSource {
  const std::string* bytes;
  size_t pos = 0;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* src = static_cast<TSource*>(png_get_io_ptr(png));
  if (src->bytes->size() - src->pos < count) png_error(png, "short read");
  std::memcpy(out, src->bytes->data() + src->pos, count);
  src->pos += count;
}

// libpng to RGBA (the pixels our reader gives), a new buffer per file.
void DecodeLibpngRgba(const std::string& bytes, Bytes& pixels) {
  Bytes().swap(pixels);
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  TSource src{&bytes};
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(png))) std::abort();
  png_set_read_fn(png, &src, ReadFromMemory);
  png_read_info(png, info);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_read_update_info(png, info);
  const size_t rowBytes = png_get_rowbytes(png, info);
  const png_uint_32 h = png_get_image_height(png, info);
  pixels.resize(rowBytes * h);
  for (png_uint_32 y = 0; y < h; ++y) rows.push_back(pixels.data() + y * rowBytes);
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
}

void BM_Thumbnails_Ours(benchmark::State& state) {
  qz::TThumbnailSettings settings;
  settings.CacheRoot = (Photos().Root / "cache").string();
  settings.DecodePng = [](std::span<const uint8_t> bytes) {
    return std::optional<qz::TPixmap>(qz::TqzPngImage::DecodeToPixmap(bytes));
  };
  qz::TThumbnails thumbnails(settings);
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(settings.CacheRoot);
    state.ResumeTiming();
    for (const std::string& file : Photos().Files) {
      const qz::TThumbnailResult r = thumbnails.Get(file, "image/png", qz::TThumbnailSize::Normal);
      if (r.Outcome != qz::TThumbnailOutcome::Created || !r.Error.empty()) std::abort();
      benchmark::DoNotOptimize(r.Picture.Data());
    }
  }
  state.counters["files"] = double(Photos().Files.size());
}

void BM_Thumbnails_LibpngDecode(benchmark::State& state) {
  Bytes pixels;
  for (auto _ : state)
    for (const std::string& file : Photos().Files) {
      const std::optional<std::string> bytes = qz::ReadRegularFilePrefix(file, size_t(256) << 20);
      DecodeLibpngRgba(*bytes, pixels);
      benchmark::DoNotOptimize(pixels.data());
    }
  state.counters["files"] = double(Photos().Files.size());
}

BENCHMARK(BM_Thumbnails_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Thumbnails_LibpngDecode)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Photos();  // made before timing starts
  qz::TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n");
  qz::PrintRatio(reporter, "100 thumbnails / libpng decode", "BM_Thumbnails_Ours",
                 "BM_Thumbnails_LibpngDecode", 1.3);
  benchmark::Shutdown();
  return 0;
}
