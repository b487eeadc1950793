// The demo's message box (the dialog skin, "Some caption", the test
// message, only OK): from ShowCustomMessageDialog to its first present on
// the headless platform, against drawing the message's text on a plain
// bitmap of the dialog's size in the same run. Goal: ratio <= 3.0.
//
// The dialog skin is the packed one the build makes (build/skins/dialog.skn,
// found beside this program's folder).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "bench/BenchRatios.h"
#include "host/graphics/Bitmap.h"
#include "host/graphics/Canvas.h"
#include "host/platform/headless/HeadlessPlatform.h"
#include "host/ui/Application.h"
#include "skin/data/SkinData.h"
#include "skin/dialogs/SkinMessage.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMessage = "Test message for video converter";

std::string DialogSkinPath() {
  return (fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "skins" / "dialog.skn").string();
}

// The demo's message component on a fresh headless platform.
class TMessageRig {
 public:
  TMessageRig() {
    auto platform = std::make_unique<THeadlessPlatform>();
    platform_ = platform.get();
    TApplication::ResetForTesting(std::move(platform));
    TqzCompressedStoredSkin holder(nullptr);
    holder.LoadFromCompressedFile(DialogSkinPath());
    skin_ = new TqzSkinData(Application);
    skin_->LoadFromStoredSkin(holder);
    if (skin_->Empty()) {
      std::fprintf(stderr, "the dialog skin did not load from %s\n", DialogSkinPath().c_str());
      std::exit(1);
    }
    message_ = new TqzSkinMessage(Application);
    message_->SetSkinData(skin_);
    message_->SetCtrlSkinData(skin_);
    message_->AlphaBlend = message_->AlphaBlendAnimation = true;
    message_->AlphaBlendValue = 230;
    message_->DefaultFont().SetName("Arial");
    message_->DefaultFont().SetHeight(14);
    message_->DefaultButtonFont().Assign(message_->DefaultFont());
  }
  ~TMessageRig() { TApplication::ResetForTesting(std::make_unique<THeadlessPlatform>()); }

  THeadlessPlatform& Platform() { return *platform_; }
  TqzSkinMessage& Message() { return *message_; }

 private:
  THeadlessPlatform* platform_ = nullptr;
  TqzSkinData* skin_ = nullptr;
  TqzSkinMessage* message_ = nullptr;
};

TqzMessageForm* OpenDialog() {
  for (int i = 0; i < Screen->FormCount(); ++i)
    if (auto* f = dynamic_cast<TqzMessageForm*>(Screen->Forms(i))) return f;
  return nullptr;
}

TSize dialogSize{300, 120};

// The modal loop waits for input only once the window is painted and
// presented: the first idle turn stops the clock and closes the dialog.
void BM_MessageBoxToFirstPresent(benchmark::State& state) {
  TMessageRig rig;
  bool timing = true;
  rig.Platform().SetIdleHandler([&] {
    TqzMessageForm* f = OpenDialog();
    if (f == nullptr || !f->FormState().Contains(TFormStateFlag::fsModal)) return false;
    if (timing) {
      state.PauseTiming();
      timing = false;
      dialogSize = {f->Width(), f->Height()};
    }
    f->SetModalResult(mrOk);
    return true;
  });
  for (auto _ : state) {
    timing = true;
    rig.Message().ShowCustomMessageDialog(kMessage, "Some caption", nullptr, 0, {qzmbOK}, 0);
    if (timing) {
      state.SkipWithError("the dialog closed before it was presented");
      break;
    }
    state.ResumeTiming();
  }
  rig.Platform().SetIdleHandler({});
}
BENCHMARK(BM_MessageBoxToFirstPresent)->Unit(benchmark::kMillisecond);

// The reference: the message drawn in the label's font on a plain bitmap
// of the dialog's size.
void BM_MessageTextOnPlainBitmap(benchmark::State& state) {
  for (auto _ : state) {
    TBitmap b(dialogSize.cx, dialogSize.cy);
    TCanvas& c = b.Canvas();
    c.Brush().SetColor(clBtnFace);
    c.FillRect({0, 0, dialogSize.cx, dialogSize.cy});
    c.Font().SetName("Arial");
    c.Font().SetHeight(14);
    TRect r{50, 15, dialogSize.cx, dialogSize.cy};
    c.DrawText(kMessage, r, DT_LEFT | DT_SINGLELINE);
    benchmark::DoNotOptimize(b.Pixels().Data());
  }
}
BENCHMARK(BM_MessageTextOnPlainBitmap)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qz

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  qz::TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  qz::PrintRatio(reporter, "message box to first present / text on a bitmap", "BM_MessageBoxToFirstPresent",
                 "BM_MessageTextOnPlainBitmap", 3.0);
  benchmark::Shutdown();
  return 0;
}
