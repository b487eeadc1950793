// Opening a skinned popup menu of 30 items on the demo's main window (layout,
// composition of the window from the skin's menu descriptions, first
// present on the headless platform), against drawing the same 30 captions
// and short-cut texts with the canvas onto a plain bitmap of the menu's
// size, in the same run. Goal: ratio <= 2.0 (the skin may cost no more than
// the text).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "bench/BenchRatios.h"
#include "host/graphics/Bitmap.h"
#include "host/platform/headless/HeadlessPlatform.h"
#include "host/ui/Application.h"
#include "host/ui/Menus.h"
#include "host/ui/WindowSystem.h"
#include "skin/data/SkinData.h"
#include "skin/form/Orvane.h"
#include "skin/popups/SkinMenu.h"

namespace qz {
namespace {

constexpr int kItems = 30;

std::string CaptionOf(int i) { return "Menu item number " + std::to_string(i + 1); }
TShortCut ShortCutOf(int i) { return ShortCut(static_cast<uint16_t>('A' + i % 26), TShiftState{ssCtrl}); }

// The demo's main window with a 30-item menu ready to open through its
// controller's menu engine. Fades are off: they wait for real time.
class TMenuBench {
 public:
  TMenuBench() {
    auto platform = std::make_unique<THeadlessPlatform>();
    platform_ = platform.get();
    TApplication::ResetForTesting(std::move(platform));
    Application->CreateForm(form_);
    form_->Show();
    for (int ms = 0; ms < 1000; ms += 25) {
      platform_->AdvanceClock(25);
      Application->ProcessMessages();
    }
    root_ = std::make_unique<TMenuItem>(nullptr);
    for (int i = 0; i < kItems; ++i) {
      auto* item = new TMenuItem(nullptr);
      item->SetCaption(CaptionOf(i));
      item->SetShortCut(ShortCutOf(i));
      root_->Add(item);
    }
    Engine().Settings.AlphaBlend = false;
    Engine().Settings.AlphaBlendAnimation = false;
  }
  ~TMenuBench() {
    Engine().CloseAll();
    Application->ProcessMessages();
    root_.reset();
    TApplication::ResetForTesting(std::make_unique<THeadlessPlatform>());
  }

  TqzSkinMenu& Engine() { return form_->qzOrvane1->SkinMenu(); }

  // Opens the menu and runs until its window has been presented once.
  void Open() {
    TqzSkinData* skin = form_->qzOrvane1->SkinData();
    Engine().Popup(nullptr, skin, 0, {200, 150, 200, 150}, *root_, false);
    Application->ProcessMessages();
  }
  void Close() {
    Engine().CloseAll();
    Application->ProcessMessages();
  }
  TqzSkinPopupWindow* Window() { return Engine().Deepest(); }
  int PresentCount() {
    TqzSkinPopupWindow* w = Window();
    if (!w || !w->WindowData() || !w->WindowData()->platform) return 0;
    return static_cast<THeadlessWindow*>(w->WindowData()->platform.get())->PresentCount();
  }

 private:
  THeadlessPlatform* platform_ = nullptr;
  TForm1* form_ = nullptr;
  std::unique_ptr<TMenuItem> root_;
};

// The size of the opened menu, checked to have been presented.
TSize MeasureMenu() {
  TMenuBench b;
  b.Open();
  TqzSkinPopupWindow* w = b.Window();
  if (!w || b.PresentCount() == 0) {
    std::fprintf(stderr, "the menu did not open and present\n");
    std::exit(1);
  }
  TSize size{w->Width(), w->Height()};
  b.Close();
  return size;
}

void BM_SkinMenuOpen30Items(benchmark::State& state) {
  TMenuBench b;
  for (auto _ : state) {
    b.Open();
    benchmark::DoNotOptimize(b.PresentCount());
    state.PauseTiming();
    b.Close();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_SkinMenuOpen30Items)->Unit(benchmark::kMicrosecond);

// The same texts in the same rows on a plain bitmap of the menu's size.
void BM_CanvasTexts30Items(benchmark::State& state) {
  const TSize size = MeasureMenu();
  const int row = std::max(1, size.cy / kItems);
  std::vector<std::string> captions, shortcuts;
  for (int i = 0; i < kItems; ++i) {
    captions.push_back(CaptionOf(i));
    shortcuts.push_back(ShortCutToText(ShortCutOf(i)));
  }
  TBitmap bitmap;
  bitmap.SetSize(size.cx, size.cy);
  TCanvas& c = bitmap.Canvas();
  c.Font().SetName("Tahoma");
  c.Font().SetHeight(13);
  for (auto _ : state) {
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(clWhite);
    c.FillRect({0, 0, size.cx, size.cy});
    c.Brush().SetStyle(TBrushStyle::bsClear);
    for (int i = 0; i < kItems; ++i) {
      c.TextOut(24, i * row + 3, captions[i]);
      c.TextOut(size.cx - 16 - c.TextWidth(shortcuts[i]), i * row + 3, shortcuts[i]);
    }
    benchmark::DoNotOptimize(bitmap.Pixels().Data());
  }
}
BENCHMARK(BM_CanvasTexts30Items)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qz

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const qz::TSize size = qz::MeasureMenu();
  std::printf("menu of 30 items: %d x %d\n", size.cx, size.cy);
  qz::TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nRatio (CPU time ours / CPU time of the canvas texts alone):\n");
  qz::PrintRatio(reporter, "skinned menu of 30 items vs its texts", "BM_SkinMenuOpen30Items",
                 "BM_CanvasTexts30Items", 2.0);
  benchmark::Shutdown();
  return 0;
}
