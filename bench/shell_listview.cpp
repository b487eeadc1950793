// Populating the file list view (listing with details, the mask, folders
// first and by name, the rows on screen filled with their icons) against a
// bare readdir + fstatat + sort by name of the same folder, at 10,000 and
// 100,000 files. At the end the ratios ours / bare are printed (goal <= 1.5).
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "bench/BenchRatios.h"
#include "host/platform/headless/HeadlessPlatform.h"
#include "host/shell/MimeDatabase.h"
#include "host/ui/Application.h"
#include "skin/dialogs/ShellListView.h"

namespace {

using namespace qz;

const std::string& Folder(int files) {
  static std::map<int, std::string> made;
  auto& dir = made[files];
  if (!dir.empty()) return dir;
  char name[] = "/tmp/qz-bench-shell-XXXXXX";
  dir = mkdtemp(name);
  const char* extensions[] = {".txt", ".png", ".mp4", ".avi", ".jpg"};
  for (int i = 0; i < files; ++i) {
    const std::string path = dir + "/file" + std::to_string(i * 7919 % files) + extensions[i % 5];
    close(open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
  }
  for (int i = 0; i < 20; ++i) mkdir((dir + "/folder" + std::to_string(i)).c_str(), 0755);
  return dir;
}

void BM_Bare(benchmark::State& state) {
  const std::string& dir = Folder(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    DIR* d = opendir(dir.c_str());
    std::vector<std::pair<std::string, struct stat>> entries;
    for (dirent* e; (e = readdir(d));) {
      struct stat st {};
      if (fstatat(dirfd(d), e->d_name, &st, 0) == 0) entries.emplace_back(e->d_name, st);
    }
    closedir(d);
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    benchmark::DoNotOptimize(entries.data());
  }
}

void BM_Ours(benchmark::State& state) {
  const std::string& dir = Folder(static_cast<int>(state.range(0)));
  auto* view = new TqzSkinFileListView(Application);
  view->SetBounds(0, 0, 600, 400);
  view->SetViewStyle(vsReport);
  view->SetMask("*.*");
  // The icon of a type, looked up once per type by its name.
  std::map<std::string, int> indexes;
  view->OnGetIcon = [&](TObject*, TqzShellFolder& item, bool) {
    const auto types = TMimeDatabase::Shared().TypesOfName(item.RelativeId());
    const std::string type = item.IsFolder() ? "inode/directory" : types.empty() ? "" : types.front();
    return indexes.emplace(type, static_cast<int>(indexes.size())).first->second;
  };
  for (auto _ : state) {
    view->SetRoot(TShellId::FromPath(dir));
    for (int i : view->VisibleItems()) benchmark::DoNotOptimize(view->FetchItem(i).ImageIndex);
  }
  delete view;
}

BENCHMARK(BM_Bare)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ours)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  TApplication::ResetForTesting(std::make_unique<THeadlessPlatform>());
  TMimeDatabase::Shared();  // read before timing starts
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nratio populating / bare listing (CPU time):\n");
  PrintRatio(reporter, "10,000 files", "BM_Ours/10000", "BM_Bare/10000", 1.5);
  PrintRatio(reporter, "100,000 files", "BM_Ours/100000", "BM_Bare/100000", 1.5);
  for (int files : {10000, 100000}) std::filesystem::remove_all(Folder(files));
  benchmark::Shutdown();
  return 0;
}
