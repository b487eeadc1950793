// Regions and canvas pixel work side by side with pixman doing the same job.
// Compare each Qz* benchmark with its Pixman* twin of the same argument.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "host/graphics/Canvas.h"
#include "host/graphics/Region.h"

#if QZ_HAVE_PIXMAN
#include <pixman.h>
#endif

namespace {

using namespace qz;

// One or two runs per row of a disc: what a window mask turns into.
std::vector<TRect> MaskRows(int radius) {
  std::vector<TRect> rows;
  for (int y = -radius; y < radius; ++y) {
    const int half = static_cast<int>(std::sqrt(double(radius) * radius - double(y) * y));
    rows.push_back({-half, y, half / 3, y + 1});
    rows.push_back({half / 3 + 2, y, half, y + 1});
  }
  return rows;
}

void QzRegionFromMaskRows(benchmark::State& state) {
  const auto rows = MaskRows(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(TRegion::FromRects(rows));
  state.SetItemsProcessed(state.iterations() * rows.size());
}
BENCHMARK(QzRegionFromMaskRows)->Arg(500)->Arg(2500);

void QzRegionUnion(benchmark::State& state) {
  const TRegion a = TRegion::FromRects(MaskRows(static_cast<int>(state.range(0))));
  TRegion b = a;
  b.Offset(7, 3);
  for (auto _ : state) benchmark::DoNotOptimize(a.Union(b));
}
BENCHMARK(QzRegionUnion)->Arg(500);

void QzFillRect(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  TPixmap pm(n, n);
  TCanvas c(&pm);
  c.Brush().SetColor(clRed);
  for (auto _ : state) {
    c.FillRect({0, 0, n, n});
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * int64_t(n) * n * 4);
}
BENCHMARK(QzFillRect)->Arg(512);

void QzBitBlt(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  TPixmap src(n, n, 0x80112233u), dst(n, n);
  TCanvas sc(&src), dc(&dst);
  for (auto _ : state) {
    BitBlt(&dc, 0, 0, n, n, &sc, 0, 0, SRCCOPY);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * int64_t(n) * n * 4);
}
BENCHMARK(QzBitBlt)->Arg(512);

void QzAlphaBlendOver(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  TPixmap src(n, n, 0x80402010u), dst(n, n, 0xFF808080u);
  TCanvas sc(&src), dc(&dst);
  for (auto _ : state) {
    AlphaBlend(&dc, 0, 0, n, n, &sc, 0, 0, n, n, 255, true);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * int64_t(n) * n * 4);
}
BENCHMARK(QzAlphaBlendOver)->Arg(256);

void QzDrawTextLine(benchmark::State& state) {
  TPixmap pm(400, 40, 0xFFFFFFFFu);
  TCanvas c(&pm);
  c.Brush().SetStyle(TBrushStyle::bsClear);
  for (auto _ : state) {
    TRect r{0, 0, 400, 40};
    benchmark::DoNotOptimize(c.DrawText("The quick brown fox jumps over the lazy dog", r,
                                        DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS));
  }
}
BENCHMARK(QzDrawTextLine);

#if QZ_HAVE_PIXMAN
std::vector<pixman_box32_t> Boxes(const std::vector<TRect>& rects) {
  std::vector<pixman_box32_t> boxes;
  for (const TRect& r : rects) boxes.push_back({r.Left, r.Top, r.Right, r.Bottom});
  return boxes;
}

void PixmanRegionFromMaskRows(benchmark::State& state) {
  const auto boxes = Boxes(MaskRows(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    pixman_region32_t r;
    pixman_region32_init_rects(&r, boxes.data(), static_cast<int>(boxes.size()));
    benchmark::DoNotOptimize(r);
    pixman_region32_fini(&r);
  }
  state.SetItemsProcessed(state.iterations() * boxes.size());
}
BENCHMARK(PixmanRegionFromMaskRows)->Arg(500)->Arg(2500);

void PixmanRegionUnion(benchmark::State& state) {
  const auto boxes = Boxes(TRegion::FromRects(MaskRows(static_cast<int>(state.range(0)))).Rects());
  pixman_region32_t a, b;
  pixman_region32_init_rects(&a, boxes.data(), static_cast<int>(boxes.size()));
  pixman_region32_init(&b);
  pixman_region32_translate(&b, 0, 0);
  pixman_region32_copy(&b, &a);
  pixman_region32_translate(&b, 7, 3);
  for (auto _ : state) {
    pixman_region32_t u;
    pixman_region32_init(&u);
    pixman_region32_union(&u, &a, &b);
    benchmark::DoNotOptimize(u);
    pixman_region32_fini(&u);
  }
  pixman_region32_fini(&a);
  pixman_region32_fini(&b);
}
BENCHMARK(PixmanRegionUnion)->Arg(500);

void PixmanFill(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::vector<uint32_t> bits(size_t(n) * n);
  for (auto _ : state) {
    pixman_fill(bits.data(), n, 32, 0, 0, n, n, 0xFFFF0000u);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * int64_t(n) * n * 4);
}
BENCHMARK(PixmanFill)->Arg(512);

void PixmanBlt(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::vector<uint32_t> src(size_t(n) * n, 0x80112233u), dst(size_t(n) * n);
  for (auto _ : state) {
    pixman_blt(src.data(), dst.data(), n, n, 32, 32, 0, 0, 0, 0, n, n);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * int64_t(n) * n * 4);
}
BENCHMARK(PixmanBlt)->Arg(512);

void PixmanCompositeOver(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::vector<uint32_t> src(size_t(n) * n, 0x80402010u), dst(size_t(n) * n, 0xFF808080u);
  pixman_image_t* s = pixman_image_create_bits(PIXMAN_a8r8g8b8, n, n, src.data(), n * 4);
  pixman_image_t* d = pixman_image_create_bits(PIXMAN_a8r8g8b8, n, n, dst.data(), n * 4);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, s, nullptr, d, 0, 0, 0, 0, 0, 0, n, n);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(s);
  pixman_image_unref(d);
  state.SetBytesProcessed(state.iterations() * int64_t(n) * n * 4);
}
BENCHMARK(PixmanCompositeOver)->Arg(256);
#endif

}  // namespace

BENCHMARK_MAIN();
