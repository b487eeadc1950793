// The demo's main window with all its controls (848 x 645, skin.ini from the
// form resource) repainted in full on the headless platform, against one
// pixman OVER of the same area in the same run. Goal: ratio <= 4.0.
//
// A full repaint is RedrawWindow with erase, frame and all children, run
// until the window is presented. The program also counts how many times
// the page areas' background (the tab sheets' page picture) is painted for
// one full repaint: controls that capture their parent's background ask the
// sheet for it, so the count shows whether each capture repaints the whole
// sheet.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "bench/BenchRatios.h"
#include "bench/PixmanOver.h"
#include "host/components/Properties.h"
#include "host/platform/headless/HeadlessPlatform.h"
#include "host/ui/Application.h"
#include "host/ui/WindowSystem.h"
#include "host/ui/Windows.h"
#include "skin/controls/SkinPageControl.h"
#include "skin/data/SkinData.h"
#include "skin/form/Orvane.h"


namespace qz {
namespace {

// Sheet backgrounds painted since the last reset, and their pixels.
struct TBackgroundCount {
  long paints = 0;
  long long pixels = 0;
};
TBackgroundCount backgroundCount;

// A tab sheet that counts its background paints; the form resource creates
// it in place of the plain sheet.
class TCountingTabSheet : public TqzSkinTabSheet {
 public:
  using TqzSkinTabSheet::TqzSkinTabSheet;
  void PaintBackground(TCanvas& canvas) override {
    ++backgroundCount.paints;
    backgroundCount.pixels += static_cast<long long>(Width()) * Height();
    TqzSkinTabSheet::PaintBackground(canvas);
  }
};

void CountSheetBackgrounds() {
  auto* info = const_cast<TClassInfo*>(FindClassInfo("TqzSkinTabSheet"));
  if (!info) {
    std::fprintf(stderr, "TqzSkinTabSheet is not registered\n");
    std::exit(1);
  }
  info->SetFactory([](TComponent* owner) -> TComponent* { return new TCountingTabSheet(owner); });
}

// The demo's main window, shown and settled on a fresh headless platform.
class TDemoWindow {
 public:
  TDemoWindow() {
    auto platform = std::make_unique<THeadlessPlatform>();
    platform_ = platform.get();
    TApplication::ResetForTesting(std::move(platform));
    Application->CreateForm(form1_);
    Application->CreateForm(form2_);
    form1_->Show();
    Settle();
    if (!form1_->qzOrvane1->Skinned()) {
      std::fprintf(stderr, "the main window is not skinned\n");
      std::exit(1);
    }
  }
  ~TDemoWindow() { TApplication::ResetForTesting(std::make_unique<THeadlessPlatform>()); }

  // The fade-in and the buttons' morphing run out.
  void Settle() {
    for (int ms = 0; ms < 1000; ms += 25) {
      platform_->AdvanceClock(25);
      Application->ProcessMessages();
    }
  }
  void FullRepaint() {
    const int before = PresentCount();
    RedrawWindow(form1_->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Application->ProcessMessages();
    if (PresentCount() <= before) {
      std::fprintf(stderr, "full repaint: nothing was presented\n");
      std::exit(1);
    }
  }
  int PresentCount() const {
    return static_cast<THeadlessWindow*>(form1_->WindowData()->platform.get())->PresentCount();
  }
  TForm1& Form() { return *form1_; }

 private:
  THeadlessPlatform* platform_ = nullptr;
  TForm1* form1_ = nullptr;
  TForm2* form2_ = nullptr;
};

void BM_DemoWindowRepaint_848x645(benchmark::State& state) {
  TDemoWindow w;
  for (auto _ : state) w.FullRepaint();
}
BENCHMARK(BM_DemoWindowRepaint_848x645)->Unit(benchmark::kMicrosecond);

#ifdef QZ_HAVE_PIXMAN
void BM_PixmanOver_848x645(benchmark::State& state) { PixmanOver(state, 848, 645); }
BENCHMARK(BM_PixmanOver_848x645)->Unit(benchmark::kMicrosecond);
#endif

// One full repaint on each page pair, with the sheet backgrounds it painted.
void ReportBackgroundPaints() {
  TDemoWindow w;
  const char* pages[] = {"Add file / File", "Edit / Edit", "Convert / File"};
  for (int page = 0; page < 3; ++page) {
    w.Form().qzSkinPageControl1->SetActivePageIndex(page);
    w.Settle();
    backgroundCount = {};
    w.FullRepaint();
    std::printf("page background paints for one full repaint (%s): %ld (%lld pixels)\n",
                pages[page], backgroundCount.paints, backgroundCount.pixels);
  }
}

}  // namespace
}  // namespace qz

int main(int argc, char** argv) {
  qz::CountSheetBackgrounds();
  benchmark::Initialize(&argc, argv);
  qz::ReportBackgroundPaints();
  qz::TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nRatio (CPU time ours / CPU time pixman OVER of the same size):\n");
  qz::PrintRatio(reporter, "demo main window repaint 848x645 vs OVER",
                 "BM_DemoWindowRepaint_848x645", "BM_PixmanOver_848x645", 4.0);
  benchmark::Shutdown();
  return 0;
}
