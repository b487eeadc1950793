// TqzBitmap drawing and BlurBitmap, each next to its reference in the same
// run; the program ends with the time ratios (ours / reference).
//
//   alpha draw 1920x1080        vs pixman OVER of the same premultiplied data
//   nearest scaled draw          vs pixman SRC with a nearest-filter scale
//   BlurBitmap radius 16         vs BlurBitmap radius 1 on the same image
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>

#include "bench/BenchRatios.h"
#include "skin/draw/EffectBmp.h"

#if QZ_HAVE_PIXMAN
#include <pixman.h>
#endif

namespace qz {
namespace {

constexpr int kW = 1920, kH = 1080;

// Premultiplied content with every kind of alpha: transparent and opaque
// areas (as around glyphs and shadows) and soft partial edges between them.
void FillPremultiplied(TqzBitmap& b, unsigned seed) {
  std::mt19937 rng(seed);
  for (int y = 0; y < b.Height(); ++y) {
    TqzColor* row = b.ScanLine(y);
    for (int x = 0; x < b.Width(); ++x) {
      const int band = (x / 64 + y / 64) % 4;
      const uint32_t a = band == 0 ? 0 : band == 1 ? 255 : (rng() & 0xFF);
      row[x] = MakeQzColor(int(rng() % 256), int(rng() % 256), int(rng() % 256), int(a));
    }
  }
  b.PreMultiply();
}

void FillOpaqueNoise(TqzBitmap& b, unsigned seed) {
  std::mt19937 rng(seed);
  for (int i = 0; i < b.Width() * b.Height(); ++i) b.Bits()[i] = rng() | 0xFF000000;
}

void BM_AlphaDraw_Ours(benchmark::State& state) {
  TqzBitmap src(kW, kH), dst(kW, kH);
  FillPremultiplied(src, 1);
  FillOpaqueNoise(dst, 2);
  src.AlphaBlend = true;
  for (auto _ : state) {
    src.Draw(dst, 0, 0);
    benchmark::DoNotOptimize(dst.Bits());
  }
  state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_AlphaDraw_Ours)->Unit(benchmark::kMillisecond);

// Nearest-neighbour scaling, opaque, up and down.
void ScaledOurs(benchmark::State& state, int sw, int sh, int dw, int dh) {
  TqzBitmap src(sw, sh), dst(dw, dh);
  FillOpaqueNoise(src, 3);
  for (auto _ : state) {
    src.Draw(dst, TRect{0, 0, dw, dh}, TRect{0, 0, sw, sh});
    benchmark::DoNotOptimize(dst.Bits());
  }
  state.SetItemsProcessed(state.iterations() * dw * dh);
}
void BM_ScaleUp_Ours(benchmark::State& s) { ScaledOurs(s, 960, 540, kW, kH); }
void BM_ScaleDown_Ours(benchmark::State& s) { ScaledOurs(s, kW, kH, 1280, 720); }
BENCHMARK(BM_ScaleUp_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScaleDown_Ours)->Unit(benchmark::kMillisecond);

void Blur(benchmark::State& state, int radius) {
  TqzBitmap b(kW, kH);
  FillOpaqueNoise(b, 4);
  for (auto _ : state) {
    BlurBitmap(b, radius);
    benchmark::DoNotOptimize(b.Bits());
  }
  state.SetItemsProcessed(state.iterations() * kW * kH);
}
void BM_Blur_Radius1(benchmark::State& s) { Blur(s, 1); }
void BM_Blur_Radius16(benchmark::State& s) { Blur(s, 16); }
BENCHMARK(BM_Blur_Radius1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Blur_Radius16)->Unit(benchmark::kMillisecond);

#if QZ_HAVE_PIXMAN
pixman_image_t* Wrap(TqzBitmap& b) {
  return pixman_image_create_bits(PIXMAN_a8r8g8b8, b.Width(), b.Height(), b.Bits(),
                                  b.Width() * 4);
}

void BM_AlphaDraw_Pixman(benchmark::State& state) {
  TqzBitmap src(kW, kH), dst(kW, kH);
  FillPremultiplied(src, 1);
  FillOpaqueNoise(dst, 2);
  pixman_image_t* s = Wrap(src);
  pixman_image_t* d = Wrap(dst);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, s, nullptr, d, 0, 0, 0, 0, 0, 0, kW, kH);
    benchmark::DoNotOptimize(dst.Bits());
  }
  pixman_image_unref(s);
  pixman_image_unref(d);
  state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_AlphaDraw_Pixman)->Unit(benchmark::kMillisecond);

void ScaledPixman(benchmark::State& state, int sw, int sh, int dw, int dh) {
  TqzBitmap src(sw, sh), dst(dw, dh);
  FillOpaqueNoise(src, 3);
  pixman_image_t* s = Wrap(src);
  pixman_image_t* d = Wrap(dst);
  pixman_transform_t t;
  pixman_transform_init_scale(&t, pixman_double_to_fixed(double(sw) / dw),
                              pixman_double_to_fixed(double(sh) / dh));
  pixman_image_set_transform(s, &t);
  pixman_image_set_filter(s, PIXMAN_FILTER_NEAREST, nullptr, 0);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 0, 0, dw, dh);
    benchmark::DoNotOptimize(dst.Bits());
  }
  pixman_image_unref(s);
  pixman_image_unref(d);
  state.SetItemsProcessed(state.iterations() * dw * dh);
}
void BM_ScaleUp_Pixman(benchmark::State& s) { ScaledPixman(s, 960, 540, kW, kH); }
void BM_ScaleDown_Pixman(benchmark::State& s) { ScaledPixman(s, kW, kH, 1280, 720); }
BENCHMARK(BM_ScaleUp_Pixman)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScaleDown_Pixman)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
}  // namespace qz

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  qz::TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nRatios (CPU time ours / CPU time reference):\n");
  qz::PrintRatio(reporter, "alpha draw vs pixman OVER", "BM_AlphaDraw_Ours", "BM_AlphaDraw_Pixman", 1.0);
  qz::PrintRatio(reporter, "scale up 2x vs pixman nearest", "BM_ScaleUp_Ours", "BM_ScaleUp_Pixman", 1.0);
  qz::PrintRatio(reporter, "scale down 1.5x vs pixman nearest", "BM_ScaleDown_Ours",
                 "BM_ScaleDown_Pixman", 1.0);
  qz::PrintRatio(reporter, "blur radius 16 vs radius 1", "BM_Blur_Radius16", "BM_Blur_Radius1", 1.3);
  benchmark::Shutdown();
  return 0;
}
