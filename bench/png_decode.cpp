// PNG decoding: our reader against libpng on the same bytes, in one run.
// Images: a 1024 x 768 RGBA photo-like picture (smooth gradients plus noise,
// encoded by libpng at its default settings) and PngSuite's larger images.
// "PhotoRgba" is the 32-bit result the drawing code uses, decoded straight
// to pixels; "PhotoRgbaKept" gets it through a kept image (decode, then
// ToPixmap); both are compared with libpng's RGBA decode.
// At the end the ratios ours / libpng are printed (goal: <= 1.2).
#include <benchmark/benchmark.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "LibpngEncode.h"
#include "host/base/Stream.h"
#include "skin/draw/PngImage.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct TSource {
  const Bytes* bytes;
  size_t pos = 0;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* src = static_cast<TSource*>(png_get_io_ptr(png));
  if (src->bytes->size() - src->pos < count) png_error(png, "short read");
  std::memcpy(out, src->bytes->data() + src->pos, count);
  src->pos += count;
}

// Smooth colour gradients with a few percent of noise, straight alpha.
Bytes MakePhotoLikePng(int w, int h) {
  std::mt19937 rng(12345);
  std::normal_distribution<double> noise(0.0, 6.0);
  Bytes rgba(size_t(w) * h * 4);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      double fx = double(x) / w, fy = double(y) / h;
      double base[4] = {255 * fx, 255 * (0.5 + 0.5 * std::sin(6 * fy + 3 * fx)),
                        255 * (1 - fy) * (0.6 + 0.4 * std::cos(9 * fx)), 200 + 55 * fx * fy};
      for (int c = 0; c < 4; ++c) {
        double v = base[c] + (c < 3 ? noise(rng) : 0);
        rgba[(size_t(y) * w + x) * 4 + c] = uint8_t(std::clamp(std::lround(v), 0L, 255L));
      }
    }
  return qz::bench::EncodeWithLibpng(rgba, w, h, 4);
}

// libpng into its native row layout (interlaced images combined), or RGBA.
// The pixel buffer is allocated per decode, as our reader allocates a new
// image per load.
void DecodeLibpng(const Bytes& bytes, bool toRgba, Bytes& pixels) {
  Bytes().swap(pixels);
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  TSource src{&bytes};
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(png))) std::abort();
  png_set_read_fn(png, &src, ReadFromMemory);
  png_read_info(png, info);
  if (toRgba) {
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  }
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  size_t rowBytes = png_get_rowbytes(png, info);
  png_uint_32 h = png_get_image_height(png, info);
  pixels.resize(rowBytes * h);
  for (png_uint_32 y = 0; y < h; ++y) rows.push_back(pixels.data() + y * rowBytes);
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
}

const Bytes& Photo() {
  static const Bytes photo = MakePhotoLikePng(1024, 768);
  return photo;
}

// PngSuite's valid images of 1 KiB or more.
const std::vector<Bytes>& SuiteImages() {
  static const std::vector<Bytes> images = [] {
    std::vector<Bytes> out;
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(QZ_TESTDATA_DIR "/pngsuite"))
      if (e.path().extension() == ".png" && e.path().filename().string()[0] != 'x' &&
          e.file_size() >= 1024)
        names.push_back(e.path().string());
    std::sort(names.begin(), names.end());
    for (const auto& n : names) out.push_back(qz::ReadFileBytes(n));
    return out;
  }();
  return images;
}

void BM_Photo_Ours(benchmark::State& state) {
  for (auto _ : state) {
    qz::TqzPngImage image;
    image.LoadFromBytes(Photo());
    benchmark::DoNotOptimize(image.Header()->ScanLine(0));
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * 1024 * 768 * 4);
}
void BM_Photo_Libpng(benchmark::State& state) {
  Bytes pixels;
  for (auto _ : state) {
    DecodeLibpng(Photo(), false, pixels);
    benchmark::DoNotOptimize(pixels.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * 1024 * 768 * 4);
}
// The 32-bit pixels the drawing code uses, decoded straight from the bytes.
void BM_PhotoRgba_Ours(benchmark::State& state) {
  for (auto _ : state) {
    qz::TPixmap pixels = qz::TqzPngImage::DecodeToPixmap(Photo());
    benchmark::DoNotOptimize(pixels.Data());
  }
}
// The same through a kept image: decode, then ToPixmap.
void BM_PhotoRgbaKept_Ours(benchmark::State& state) {
  for (auto _ : state) {
    qz::TqzPngImage image;
    image.LoadFromBytes(Photo());
    qz::TPixmap pixels = image.ToPixmap();
    benchmark::DoNotOptimize(pixels.Data());
  }
}
void BM_PhotoRgba_Libpng(benchmark::State& state) {
  Bytes pixels;
  for (auto _ : state) {
    DecodeLibpng(Photo(), true, pixels);
    benchmark::DoNotOptimize(pixels.data());
  }
}
void BM_Suite_Ours(benchmark::State& state) {
  for (auto _ : state)
    for (const Bytes& b : SuiteImages()) {
      qz::TqzPngImage image;
      image.LoadFromBytes(b);
      benchmark::DoNotOptimize(image.Header()->ScanLine(0));
    }
  state.counters["images"] = double(SuiteImages().size());
}
void BM_Suite_Libpng(benchmark::State& state) {
  Bytes pixels;
  for (auto _ : state)
    for (const Bytes& b : SuiteImages()) {
      DecodeLibpng(b, false, pixels);
      benchmark::DoNotOptimize(pixels.data());
    }
  state.counters["images"] = double(SuiteImages().size());
}

BENCHMARK(BM_Photo_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Photo_Libpng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PhotoRgba_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PhotoRgbaKept_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PhotoRgba_Libpng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Suite_Ours)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Suite_Libpng)->Unit(benchmark::kMicrosecond);

// Console output as usual, plus the CPU time of every run for the ratios.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    // With repetitions the median counts; otherwise the single run.
    for (const Run& r : runs) {
      const std::string& name = r.run_name.function_name;
      if (r.run_type == Run::RT_Aggregate ? r.aggregate_name == "median" : !medians.count(name))
        times[name] = r.GetAdjustedCPUTime();
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median") medians.insert(name);
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
  std::set<std::string> medians;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  // Inputs are made before timing starts.
  Photo();
  SuiteImages();
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nratio ours / libpng (CPU time, goal <= 1.2):\n");
  const std::pair<const char*, const char*> pairs[] = {
      {"Photo", "Photo"}, {"PhotoRgba", "PhotoRgba"}, {"PhotoRgbaKept", "PhotoRgba"}, {"Suite", "Suite"}};
  for (const auto& [name, refName] : pairs) {
    std::string ours = std::string("BM_") + name + "_Ours", ref = std::string("BM_") + refName + "_Libpng";
    if (reporter.times.count(ours) && reporter.times.count(ref))
      std::printf("  %-14s %.3f\n", name, reporter.times[ours] / reporter.times[ref]);
  }
  benchmark::Shutdown();
  return 0;
}
