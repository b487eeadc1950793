// The open dialog dressed by the dialog skin: from Execute to the first
// present of its window on a folder of 10,000 files, against the same on an
// empty folder in the same run. Goal: ratio <= 1.5 (listing the folder must
// not dominate opening the dialog).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "bench/BenchRatios.h"
#include "host/platform/headless/HeadlessPlatform.h"
#include "host/ui/Application.h"
#include "host/ui/WindowSystem.h"
#include "skin/data/SkinData.h"
#include "skin/dialogs/ShellListView.h"
#include "skin/dialogs/SkinOpenDialog.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

std::string DialogSkinPath() {
  return (fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "skins" / "dialog.skn").string();
}

// A folder of `files` files named like a camera's ("clip-00042.mp4").
class TFolder {
 public:
  explicit TFolder(int files) {
    char name[] = "/tmp/qz-bench-open-XXXXXX";
    if (!mkdtemp(name)) std::exit(1);
    path_ = name;
    char file[32];
    for (int i = 0; i < files; ++i) {
      std::snprintf(file, sizeof file, "clip-%05d.mp4", i);
      std::ofstream(path_ / file) << 'x';
    }
  }
  ~TFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  std::string Path() const { return path_.string(); }

 private:
  fs::path path_;
};

class TOpenRig {
 public:
  TOpenRig() {
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
    dialog_ = new TqzSkinOpenDialog(Application);
    dialog_->SetSkinData(skin_);
    dialog_->SetCtrlSkinData(skin_);
    dialog_->AlphaBlend = dialog_->AlphaBlendAnimation = true;
    dialog_->AlphaBlendValue = 240;
  }
  ~TOpenRig() { TApplication::ResetForTesting(std::make_unique<THeadlessPlatform>()); }
  THeadlessPlatform& Platform() { return *platform_; }
  TqzSkinOpenDialog& Dialog() { return *dialog_; }

 private:
  THeadlessPlatform* platform_ = nullptr;
  TqzSkinData* skin_ = nullptr;
  TqzSkinOpenDialog* dialog_ = nullptr;
};

THeadlessWindow& PlatformWindowOf(TForm& f) {
  return *static_cast<THeadlessWindow*>(f.WindowData()->platform.get());
}

// The modal loop waits for input only once the window is painted and
// presented: the first idle turn stops the clock, checks that the window
// was presented, lets it list its folder (untimed) and closes it.
void ExecuteToFirstPresent(benchmark::State& state, int files) {
  TFolder folder(files);
  TOpenRig rig;
  rig.Dialog().InitialDir = folder.Path();
  bool timing = true, presented = false;
  int listed = -1, waited = 0;
  rig.Platform().SetIdleHandler([&] {
    TqzOpenDlgForm* w = rig.Dialog().Window();
    if (w == nullptr || !w->FormState().Contains(TFormStateFlag::fsModal)) return false;
    if (timing) {
      // The fade-in shows the window on its first step.
      if (PlatformWindowOf(*w).PresentCount() == 0 && waited < 1000) {
        waited += 5;
        rig.Platform().AdvanceClock(5);
        return true;
      }
      state.PauseTiming();
      timing = false;
      presented = PlatformWindowOf(*w).PresentCount() > 0;
      // The listing happens once the window is shown: it must be complete.
      w->ListStartFolder();
      listed = w->ListView()->FolderCount();
    }
    w->SetModalResult(mrCancel);
    return true;
  });
  for (auto _ : state) {
    timing = true;
    waited = 0;
    rig.Dialog().Execute();
    if (timing || !presented || listed != files) {
      state.SkipWithError("the dialog closed before it was presented and listed");
      break;
    }
    state.ResumeTiming();
  }
  rig.Platform().SetIdleHandler({});
}

void BM_OpenDialogOn10000Files(benchmark::State& state) { ExecuteToFirstPresent(state, 10000); }
BENCHMARK(BM_OpenDialogOn10000Files)->Unit(benchmark::kMillisecond);

void BM_OpenDialogOnEmptyFolder(benchmark::State& state) { ExecuteToFirstPresent(state, 0); }
BENCHMARK(BM_OpenDialogOnEmptyFolder)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qz

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  qz::TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  qz::PrintRatio(reporter, "open dialog 10,000 files / empty folder", "BM_OpenDialogOn10000Files",
                 "BM_OpenDialogOnEmptyFolder", 1.5);
  benchmark::Shutdown();
  return 0;
}
