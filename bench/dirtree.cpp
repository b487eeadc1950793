// Expanding a folder of 10,000 sub-folders in the folder tree (listing,
// names, nodes sorted by name, the rows on screen painted with their
// expand buttons probed) against a bare readdir of the same folder keeping
// its folders, sorted by name. At the end the ratio ours / bare is printed
// (goal <= 1.5).
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchRatios.h"
#include "host/platform/headless/HeadlessPlatform.h"
#include "host/ui/Application.h"
#include "host/ui/Forms.h"
#include "skin/dialogs/DirTreeView.h"

namespace {

using namespace qz;

constexpr int kFolders = 10000;

const std::string& Folder() {
  static std::string dir;
  if (!dir.empty()) return dir;
  char name[] = "/tmp/qz-bench-dirtree-XXXXXX";
  dir = mkdtemp(name);
  for (int i = 0; i < kFolders; ++i) mkdir((dir + "/folder" + std::to_string(i * 7919 % kFolders)).c_str(), 0755);
  return dir;
}

void BM_BareListing(benchmark::State& state) {
  const std::string& dir = Folder();
  for (auto _ : state) {
    DIR* d = opendir(dir.c_str());
    std::vector<std::string> names;
    for (dirent* e; (e = readdir(d));) {
      if (e->d_name[0] == '.') continue;
      bool folder = e->d_type == DT_DIR;
      if (e->d_type == DT_UNKNOWN) {
        struct stat st {};
        folder = fstatat(dirfd(d), e->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
      }
      if (folder) names.emplace_back(e->d_name);
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    benchmark::DoNotOptimize(names.data());
  }
}

void BM_TreeExpand(benchmark::State& state) {
  const std::string& dir = Folder();
  auto* form = new TForm(Application);
  form->SetBounds(0, 0, 400, 400);
  auto* tree = new TqzSkinDirTreeView(form);
  tree->SetParent(form);
  tree->SetAlign(alClient);
  tree->SetWatchChanges(false);
  form->Show();
  Application->ProcessMessages();
  if (!tree->SelectPath(dir)) state.SkipWithError("folder not selected");
  TTreeNode* node = tree->Selected();
  for (auto _ : state) {
    tree->DeleteChildren(node);  // collapsed, listed anew on expanding
    node->Expand();
    tree->Repaint();
    benchmark::DoNotOptimize(node->Count());
  }
  delete form;
}

BENCHMARK(BM_BareListing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeExpand)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  TApplication::ResetForTesting(std::make_unique<THeadlessPlatform>());
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nratio expanding / bare listing (CPU time):\n");
  PrintRatio(reporter, "10,000 sub-folders", "BM_TreeExpand", "BM_BareListing", 1.5);
  std::filesystem::remove_all(Folder());
  benchmark::Shutdown();
  return 0;
}
