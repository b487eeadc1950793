// Loading a stored skin of the demo skins' size against zlib's bare inflate
// of the same stream, in the same run.
//
// The skin is built here: an 820 x 602 24-bit picture with a 1-bit mask of
// the same size, 13 active 24-bit pictures, and a description of 34
// controls, 7 objects and 7 areas; about 4 MB inflated.
//
// BM_SkinLoadRatio reports ratio = (whole load) / (bare inflate), measured
// alternately in the same loop. Goal: ratio <= 1.3.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <ctime>
#include <string>
#include <vector>

#include "host/graphics/BmpCodec.h"
#include "skin/data/SkinContainer.h"
#include "skin/data/SkinData.h"

namespace {

using namespace qz;

// Picture contents that compress about as well as drawn skin art: smooth
// gradients, flat panels and some fine detail.
TPixmap SkinArt(int w, int h, uint32_t seed) {
  TPixmap p(w, h);
  uint32_t noise = seed * 2654435761u + 1;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint32_t r = (x * 255 / w) & 0xF8, g = (y * 255 / h) & 0xF8, b = ((x / 16 + y / 16) % 2) * 96;
      if ((x % 64) < 3 || (y % 48) < 2) {
        noise = noise * 1103515245u + 12345u;
        r = (noise >> 16) & 0xFF;
      }
      p.At(x, y) = 0xFF000000u | (r << 16) | (g << 8) | (b + (seed & 31));
    }
  }
  return p;
}

std::string Description() {
  std::string t = "[VERSION]\r\nskinname=Bench\r\n[PICTURES]\r\npicture=p.bmp\r\nmask=m.bmp\r\n";
  t += "activepicturescount=13\r\n";
  for (int i = 0; i < 13; ++i) t += std::to_string(i) + "=a" + std::to_string(i) + ".bmp\r\n";
  t += "[FORMINFO]\r\nlefttoppoint=10,30\r\nrighttoppoint=800,30\r\nleftbottompoint=10,590\r\n"
       "rightbottompoint=800,590\r\nclientrect=10,30,810,592\r\nbuttonsrect=700,5,810,25\r\n"
       "captionrect=30,5,600,25\r\nmaskrectarea=0,0,820,602\r\n";
  t += "[SKINCOLORS]\r\ncwindow=16777215\r\nchighlight=11250603\r\n";
  t += "[SKINAREAS]\r\ncount=7\r\n";
  for (int i = 0; i < 7; ++i)
    t += std::to_string(i) + "=area" + std::to_string(i) + ":29,172,424,555;0,0,0,0,0\r\n";
  const char* objectKinds[] = {"caption", "stdbutton", "stdbutton", "stdbutton",
                               "menuitem", "mainmenubaritem", "label"};
  t += "[SKINOBJECTS]\r\ncount=7\r\n";
  for (int i = 0; i < 7; ++i)
    t += std::to_string(i) + "=obj" + std::to_string(i) + ":" + objectKinds[i] + "\r\n";
  for (int i = 0; i < 7; ++i)
    t += "[obj" + std::to_string(i) + "]\r\nactivepictureindex=" + std::to_string(i) +
         "\r\nskinrect=1,1,20,20\r\nactiveskinrect=21,1,40,20\r\ndownrect=41,1,60,20\r\n"
         "hint=Maximize\r\ncommand=cmmaximize\r\nfontname=Arial\r\nfontstyle=fsbold\r\n";
  const char* controlKinds[] = {"button", "panel", "label", "edit", "listbox", "combobox",
                                "scrollbar", "tab", "checkradio", "trackbar", "gauge",
                                "stdlabel", "memo", "menubutton", "mainmenubar", "updown",
                                "spinedit"};
  t += "[SKINCONTROLS]\r\ncount=34\r\n";
  for (int i = 0; i < 34; ++i)
    t += std::to_string(i) + "=ctl" + std::to_string(i) + ":" + controlKinds[i % 17] + "\r\n";
  for (int i = 0; i < 34; ++i) {
    t += "[ctl" + std::to_string(i) + "]\r\npictureindex=" + std::to_string(i % 13) +
         "\r\nskinrect=1,1,95,28\r\nclientrect=7,3,86,24\r\nlefttoppoint=3,3\r\n"
         "righttoppoint=90,3\r\nleftbottompoint=3,25\r\nrightbottompoint=90,25\r\n"
         "activeskinrect=1,30,96,57\r\ndownskinrect=1,59,96,86\r\nfontstyle=fsbold\r\n"
         "fontcolor=0\r\nactivefontcolor=16777215\r\nstretchtype=sthorz\r\nitemrect=1,1,50,18\r\n"
         "buttonrect=60,1,80,20\r\nthumbrect=1,1,16,16\r\ntrackarea=16,0,100,16\r\n";
  }
  return t;
}

struct TBenchSkin {
  std::vector<uint8_t> compressed;
  size_t inflatedSize = 0;

  TBenchSkin() {
    std::vector<uint8_t> picture = EncodeBmp(SkinArt(820, 602, 1), 24);
    TPixmap maskPixels(820, 602, 0xFFFFFFFFu);
    for (int y = 0; y < 602; ++y)
      for (int x = 0; x < 820; ++x)
        if ((x < 6 && y < 6) || (x > 813 && y > 595)) maskPixels.At(x, y) = 0xFF000000u;
    std::vector<uint8_t> mask = EncodeBmp(maskPixels, 1);
    std::vector<std::vector<uint8_t>> active;
    for (int i = 0; i < 13; ++i) active.push_back(EncodeBmp(SkinArt(270, 250, 7 + i), 24));
    std::array<std::span<const uint8_t>, kSkinSlotCount> slots{};
    slots[ssPicture] = picture;
    slots[ssMask] = mask;
    std::vector<std::span<const uint8_t>> activeSpans(active.begin(), active.end());
    std::vector<uint8_t> container = BuildSkinContainer(slots, activeSpans, Description());
    inflatedSize = container.size();
    compressed = DeflateSkinStream(container);
  }
};

const TBenchSkin& Skin() {
  static const TBenchSkin skin;
  return skin;
}

void BareInflate(const TBenchSkin& s, std::vector<uint8_t>& out) {
  uLongf size = static_cast<uLongf>(out.size());
  int rc = uncompress(out.data(), &size, s.compressed.data(), static_cast<uLong>(s.compressed.size()));
  if (rc != Z_OK || size != s.inflatedSize) std::abort();
  benchmark::DoNotOptimize(out.data());
}

void LoadSkin(const TBenchSkin& s, TqzSkinData& data) {
  data.LoadFromCompressedData(s.compressed);
  if (data.Empty() || data.ActivePictureCount() != 13 || data.CtrlList().size() != 34) std::abort();
}

void BM_BareInflate(benchmark::State& state) {
  const TBenchSkin& s = Skin();
  std::vector<uint8_t> out(s.inflatedSize);
  for (auto _ : state) BareInflate(s, out);
  state.counters["inflated_bytes"] = static_cast<double>(s.inflatedSize);
  state.counters["compressed_bytes"] = static_cast<double>(s.compressed.size());
}
BENCHMARK(BM_BareInflate)->Unit(benchmark::kMillisecond);

void BM_SkinLoad(benchmark::State& state) {
  const TBenchSkin& s = Skin();
  TqzSkinData data(nullptr);
  for (auto _ : state) LoadSkin(s, data);
}
BENCHMARK(BM_SkinLoad)->Unit(benchmark::kMillisecond);

// The parts of a load, to see where the time goes.
void BM_PartInflate(benchmark::State& state) {
  const TBenchSkin& s = Skin();
  for (auto _ : state) benchmark::DoNotOptimize(InflateSkin(s.compressed).Bytes().data());
}
BENCHMARK(BM_PartInflate)->Unit(benchmark::kMillisecond);

void BM_PartDecodeBitmaps(benchmark::State& state) {
  TqzInflatedSkin inflated = InflateSkin(Skin().compressed);
  TqzSkinContainer c;
  ParseSkinContainer(inflated.Bytes(), c);
  for (auto _ : state) {
    for (auto& a : c.ActivePictures) benchmark::DoNotOptimize(DecodeBmp(a).Pixels.Data());
    benchmark::DoNotOptimize(DecodeBmp(c.Slots[ssPicture]).Pixels.Data());
    benchmark::DoNotOptimize(DecodeBmp(c.Slots[ssMask]).Pixels.Data());
  }
}
BENCHMARK(BM_PartDecodeBitmaps)->Unit(benchmark::kMillisecond);

// CPU time of this thread: the machine may be busy with other work.
double ThreadSeconds() {
  timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

void BM_SkinLoadRatio(benchmark::State& state) {
  const TBenchSkin& s = Skin();
  std::vector<uint8_t> out(s.inflatedSize);
  TqzSkinData data(nullptr);
  double inflate = 0, load = 0;
  for (auto _ : state) {
    double t0 = ThreadSeconds();
    BareInflate(s, out);
    double t1 = ThreadSeconds();
    LoadSkin(s, data);
    double t2 = ThreadSeconds();
    inflate += t1 - t0;
    load += t2 - t1;
  }
  state.counters["ratio"] = load / inflate;
  state.counters["inflate_ms"] = 1e3 * inflate / double(state.iterations());
  state.counters["load_ms"] = 1e3 * load / double(state.iterations());
}
BENCHMARK(BM_SkinLoadRatio)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
