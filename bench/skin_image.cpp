// Nine-part composition of a full-HD image from a 300 x 200 skin element,
// against a plain memcpy of the same number of bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "skin/draw/SkinImage.h"

namespace {

using namespace qz;

constexpr int kW = 1920, kH = 1080;

TPixmap Picture() {
  TPixmap p(300, 200);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) p.At(x, y) = 0xFF000000u | uint32_t(x * 7 + y * 13);
  return p;
}

TqzSkinGeometry Geometry(bool tiled) {
  TqzSkinGeometry g;
  g.SkinRect = {0, 0, 300, 200};
  g.LeftTopPoint = {40, 30};
  g.RightTopPoint = {260, 30};
  g.LeftBottomPoint = {40, 170};
  g.RightBottomPoint = {260, 170};
  g.ClientRect = {12, 30, 288, 170};
  g.LeftStretch = g.TopStretch = g.RightStretch = g.BottomStretch = !tiled;
  g.StretchEffect = !tiled;
  return g;
}

void BM_CreateSkinImage(benchmark::State& state) {
  const TPixmap picture = Picture();
  const TqzSkinGeometry g = Geometry(state.range(0) == 1);
  const TqzNewGeometry n = CalcNewGeometry(g, TqzResizeMode::NinePart, kW, kH);
  TPixmap dest;
  for (auto _ : state) {
    ComposeSkinImage(g, n, true, kW, kH, picture, dest);
    benchmark::DoNotOptimize(dest.Data());
  }
  state.SetBytesProcessed(state.iterations() * int64_t(kW) * kH * 4);
}
BENCHMARK(BM_CreateSkinImage)->Arg(0)->Arg(1)->ArgName("tiled");

void BM_MemcpyReference(benchmark::State& state) {
  std::vector<uint32_t> src(size_t(kW) * kH, 1), dst(size_t(kW) * kH);
  for (auto _ : state) {
    std::memcpy(dst.data(), src.data(), src.size() * 4);
    benchmark::DoNotOptimize(dst.data());
  }
  state.SetBytesProcessed(state.iterations() * int64_t(kW) * kH * 4);
}
BENCHMARK(BM_MemcpyReference);

}  // namespace

BENCHMARK_MAIN();
