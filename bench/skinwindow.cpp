// Skinned windows on the headless platform against pixman compositing the
// same number of pixels, in the same run:
// - one live-resize step of a frame-mode window (dialog.skn) at 1280 x 800:
//   geometry, region, frame paint, client background and present, driven as
//   a live resize drives it (the width alternates 1280 / 1279 and the
//   messages run until the window is painted), against one pixman OVER of a
//   1280 x 800 a8r8g8b8 surface. Goal: ratio <= 3.0.
// - a full repaint of a client-mode window (skin.skn, 848 x 645, objects
//   included: InvalidateRect + UpdateWindow) against one pixman OVER of
//   848 x 645. Goal: ratio <= 2.0.
// The program ends with the ratios of the CPU times (ours / pixman).
//
// The demo skins are read from QZ_SKINS_DIR when set, else from the build's
// skins folder next to this program's folder (build/skins for build/bench).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchRatios.h"
#include "bench/PixmanOver.h"
#include "host/platform/headless/HeadlessPlatform.h"
#include "host/ui/Application.h"
#include "host/ui/Forms.h"
#include "host/ui/WindowSystem.h"
#include "host/ui/Windows.h"
#include "skin/data/SkinData.h"
#include "skin/form/Orvane.h"


namespace qz {
namespace {

std::filesystem::path SkinsDir() {
  if (const char* dir = std::getenv("QZ_SKINS_DIR"); dir && *dir) return dir;
  return std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "skins";
}

std::vector<uint8_t> CompressedSkin(const std::string& file) {
  TqzCompressedStoredSkin holder(nullptr);
  holder.LoadFromCompressedFile((SkinsDir() / file).string());
  return holder.CompressedData();
}

// A fresh headless application with one skinned form on it.
class TSkinnedWindow {
 public:
  TSkinnedWindow(const std::string& skinFile, TRect bounds, bool clientMode) {
    TApplication::ResetForTesting(std::make_unique<THeadlessPlatform>());
    form_ = new TForm(Application);
    if (clientMode) form_->SetBorderStyle(bsNone);
    form_->SetBoundsRect(bounds);
    auto* skin = new TqzSkinData(form_);
    orvane_ = new TqzOrvane(form_);
    if (clientMode) {
      orvane_->SetSupportNCArea(false);
      orvane_->SetSizeable(false);
    }
    orvane_->SetSkinData(skin);
    skin->LoadFromCompressedData(CompressedSkin(skinFile));
    form_->Show();
    Application->ProcessMessages();
    if (!orvane_->Skinned()) {
      std::fprintf(stderr, "%s did not skin the window\n", skinFile.c_str());
      std::exit(1);
    }
  }
  ~TSkinnedWindow() { TApplication::ResetForTesting(std::make_unique<THeadlessPlatform>()); }

  TForm& Form() { return *form_; }
  int PresentCount() const {
    return static_cast<THeadlessWindow*>(form_->WindowData()->platform.get())->PresentCount();
  }

 private:
  TForm* form_ = nullptr;
  TqzOrvane* orvane_ = nullptr;
};

// Stops the run when a step did not reach the screen: a bench of nothing
// would report a fine ratio.
void RequirePresented(const TSkinnedWindow& w, int before, const char* what) {
  if (w.PresentCount() <= before) {
    std::fprintf(stderr, "%s: nothing was presented\n", what);
    std::exit(1);
  }
}

void BM_LiveResizeStep_1280x800(benchmark::State& state) {
  TSkinnedWindow w("dialog.skn", Bounds(100, 60, 1280, 800), false);
  int step = 0;
  for (auto _ : state) {
    const int before = w.PresentCount();
    w.Form().SetBounds(100, 60, (step++ & 1) ? 1280 : 1279, 800);
    Application->ProcessMessages();
    RequirePresented(w, before, "live resize");
  }
}
BENCHMARK(BM_LiveResizeStep_1280x800)->Unit(benchmark::kMicrosecond);

void BM_ClientModeRepaint_848x645(benchmark::State& state) {
  TSkinnedWindow w("skin.skn", Bounds(100, 60, 848, 645), true);
  const HWND handle = w.Form().Handle();
  for (auto _ : state) {
    const int before = w.PresentCount();
    InvalidateRect(handle, nullptr, true);
    UpdateWindow(handle);
    RequirePresented(w, before, "client-mode repaint");
  }
}
BENCHMARK(BM_ClientModeRepaint_848x645)->Unit(benchmark::kMicrosecond);

#ifdef QZ_HAVE_PIXMAN
void BM_PixmanOver_1280x800(benchmark::State& state) { PixmanOver(state, 1280, 800); }
BENCHMARK(BM_PixmanOver_1280x800)->Unit(benchmark::kMicrosecond);
void BM_PixmanOver_848x645(benchmark::State& state) { PixmanOver(state, 848, 645); }
BENCHMARK(BM_PixmanOver_848x645)->Unit(benchmark::kMicrosecond);
#endif

}  // namespace
}  // namespace qz

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  qz::TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nRatios (CPU time ours / CPU time pixman OVER of the same size):\n");
  qz::PrintRatio(reporter, "live-resize step 1280x800 vs OVER", "BM_LiveResizeStep_1280x800",
                 "BM_PixmanOver_1280x800", 3.0);
  qz::PrintRatio(reporter, "client-mode repaint 848x645 vs OVER", "BM_ClientModeRepaint_848x645",
                 "BM_PixmanOver_848x645", 2.0);
  benchmark::Shutdown();
  return 0;
}
