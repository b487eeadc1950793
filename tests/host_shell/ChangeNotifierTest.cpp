// Folder change notification: what the kernel reports for each kind of
// change, bursts, overflow, the folder itself going, and the notifier that
// brings it to the GUI thread.
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "host/base/Threads.h"
#include "host/shell/ChangeNotifier.h"
#include "skin/base/ShellChangeNotifier.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

class TTempFolder {
 public:
  TTempFolder() {
    std::string pattern = (fs::temp_directory_path() / "qzwatch-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TTempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void WriteFile(const std::string& path, const std::string& text = "x") {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0) << path;
  ASSERT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  ::close(fd);
}

// The events of calls that returned are queued in the kernel already, so
// one wait gets them all; the limit only keeps a broken watch from hanging.
constexpr int kSafetyMs = 10000;

struct TChangeCase {
  const char* name;
  std::function<void(const TTempFolder&)> before;  // made before the watch starts
  std::function<void(const TTempFolder&)> change;
  uint32_t kinds;
};

TEST(FolderWatch, ReportsEachKindOfChange) {
  const std::vector<TChangeCase> cases = {
      {"file created", {}, [](auto& d) { WriteFile(d / "a"); }, kChangeCreated | kChangeContent},
      {"folder created", {}, [](auto& d) { fs::create_directory(d / "sub"); }, kChangeCreated},
      {"file deleted", [](auto& d) { WriteFile(d / "a"); }, [](auto& d) { fs::remove(d / "a"); }, kChangeDeleted},
      {"renamed", [](auto& d) { WriteFile(d / "a"); }, [](auto& d) { fs::rename(d / "a", d / "b"); }, kChangeMoved},
      {"moved out", [](auto& d) { WriteFile(d / "a"); },
       [](auto& d) { fs::rename(d / "a", d.Path() + "-outside"); }, kChangeMoved},
      {"attributes", [](auto& d) { WriteFile(d / "a"); }, [](auto& d) { ::chmod((d / "a").c_str(), 0600); },
       kChangeAttributes},
      {"contents", [](auto& d) { WriteFile(d / "a"); }, [](auto& d) { WriteFile(d / "a", "more"); }, kChangeContent},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TTempFolder dir;
    if (c.before) c.before(dir);
    TFolderWatch watch;
    ASSERT_TRUE(watch.Watch(dir.Path())) << watch.Error();
    c.change(dir);
    const TFolderChanges got = watch.Wait(kSafetyMs);
    EXPECT_EQ(got.Kinds, c.kinds);
    EXPECT_FALSE(got.ReloadAll);
    EXPECT_FALSE(got.FolderGone);
    EXPECT_TRUE(watch.Wait(0).Empty()) << "one change, read at once";
    std::error_code ignored;
    fs::remove(dir.Path() + "-outside", ignored);
  }
}

TEST(FolderWatch, ABurstIsOneChange) {
  TTempFolder dir;
  TFolderWatch watch;
  ASSERT_TRUE(watch.Watch(dir.Path()));
  for (int i = 0; i < 300; ++i) WriteFile(dir / ("f" + std::to_string(i)));
  for (int i = 0; i < 100; ++i) fs::remove(dir / ("f" + std::to_string(i)));
  const TFolderChanges got = watch.Wait(kSafetyMs);
  EXPECT_EQ(got.Events, 300u * 2 + 100);  // created and closed after writing, then deleted
  EXPECT_EQ(got.Kinds, kChangeCreated | kChangeContent | kChangeDeleted);
  EXPECT_TRUE(watch.Wait(0).Empty());
}

TEST(FolderWatch, TheFolderItselfGoing) {
  const std::vector<std::pair<const char*, std::function<void(const std::string&)>>> cases = {
      {"removed", [](const std::string& p) { fs::remove(p); }},
      {"moved away", [](const std::string& p) { fs::rename(p, p + "-moved"); }},
  };
  for (const auto& [name, remove] : cases) {
    SCOPED_TRACE(name);
    TTempFolder parent;
    const std::string watched = parent / "watched";
    fs::create_directory(watched);
    TFolderWatch watch;
    ASSERT_TRUE(watch.Watch(watched));
    remove(watched);
    TFolderChanges got = watch.Wait(kSafetyMs);
    // A removal may come in two reads (delete-self, then the watch's end).
    while (!got.FolderGone) {
      const TFolderChanges more = watch.Wait(kSafetyMs);
      if (more.Empty()) break;
      got.Merge(more);
    }
    EXPECT_TRUE(got.FolderGone);
    EXPECT_FALSE(watch.Watching());
    EXPECT_NE(watch.Error().find("is gone"), std::string::npos) << watch.Error();
    // A folder made again under the old name is not the one watched.
    fs::create_directory(watched);
    WriteFile(watched + "/a");
    EXPECT_TRUE(watch.Wait(0).Empty());
  }
}

TEST(FolderWatch, NoWatchSaysWhy) {
  TTempFolder dir;
  WriteFile(dir / "file");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {dir / "missing", "No such file or directory"},
      {dir / "file", "Not a directory"},
      {"", "not a folder path"},
  };
  for (const auto& [path, reason] : cases) {
    TFolderWatch watch;
    EXPECT_FALSE(watch.Watch(path)) << path;
    EXPECT_FALSE(watch.Watching());
    EXPECT_NE(watch.Error().find(reason), std::string::npos) << watch.Error();
  }
}

TEST(FolderWatch, FilterAndSubtree) {
  TTempFolder dir;
  fs::create_directory(dir / "old");
  {
    TFolderWatch folders;  // folder names only: a new file is no change
    ASSERT_TRUE(folders.Watch(dir.Path(), false, nfDirName));
    WriteFile(dir / "file");
    EXPECT_TRUE(folders.Wait(0).Empty());
    fs::create_directory(dir / "new");
    EXPECT_EQ(folders.Wait(kSafetyMs).Kinds, kChangeCreated);
    WriteFile(dir / "old/inner");
    EXPECT_TRUE(folders.Wait(0).Empty()) << "no subtree asked for";
  }
  TFolderWatch tree;
  ASSERT_TRUE(tree.Watch(dir.Path(), true));
  WriteFile(dir / "old/inner2");
  EXPECT_EQ(tree.Wait(kSafetyMs).Kinds, kChangeCreated | kChangeContent);
  fs::create_directory(dir / "newer");  // watched from when the watch reads its creation
  EXPECT_EQ(tree.Wait(kSafetyMs).Kinds, kChangeCreated);
  WriteFile(dir / "newer/x");
  EXPECT_EQ(tree.Wait(kSafetyMs).Kinds, kChangeCreated | kChangeContent);
}

// Raw inotify records, as the kernel writes them.
std::vector<uint8_t> Record(int wd, uint32_t mask, const std::string& name = {}, uint32_t padTo = 16) {
  const uint32_t len = name.empty() ? 0 : (static_cast<uint32_t>(name.size()) / padTo + 1) * padTo;
  inotify_event e{};
  e.wd = wd;
  e.mask = mask;
  e.len = len;
  std::vector<uint8_t> out(sizeof e + len, 0);
  std::memcpy(out.data(), &e, sizeof e);
  std::memcpy(out.data() + sizeof e, name.data(), name.size());
  return out;
}

TEST(FolderWatch, ParsesAndDistrustsRawEvents) {
  std::vector<uint8_t> two = Record(1, IN_CREATE, "name");
  const std::vector<uint8_t> second = Record(2, IN_DELETE, "x");
  two.insert(two.end(), second.begin(), second.end());
  std::vector<std::string> seen;
  auto collect = [&](int wd, uint32_t, std::string_view name) {
    seen.push_back(std::to_string(wd) + ":" + std::string(name));
  };
  EXPECT_TRUE(ParseInotifyEvents(two, collect));
  EXPECT_EQ(seen, (std::vector<std::string>{"1:name", "2:x"}));

  struct TBad {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  std::vector<uint8_t> longName = Record(1, IN_CREATE, "abc");
  longName.resize(longName.size() - 1);  // the name runs past the end
  const std::vector<TBad> bad = {
      {"header cut short", std::vector<uint8_t>(two.begin(), two.begin() + 7)},
      {"name past the end", longName},
  };
  for (const auto& b : bad) {
    seen.clear();
    EXPECT_FALSE(ParseInotifyEvents(b.bytes, collect)) << b.name;
    EXPECT_TRUE(seen.empty()) << b.name;
  }
}

TEST(FolderWatch, OverflowAndMalformedInputMeanReadEverythingAgain) {
  TTempFolder dir;
  TFolderWatch watch;
  ASSERT_TRUE(watch.Watch(dir.Path()));
  const TFolderChanges overflow = watch.Feed(Record(-1, IN_Q_OVERFLOW));
  EXPECT_TRUE(overflow.ReloadAll);
  EXPECT_FALSE(overflow.FolderGone);
  EXPECT_TRUE(watch.Watching()) << "the watch goes on after an overflow";

  std::vector<uint8_t> cut = Record(-1, IN_CREATE, "abc");
  cut.resize(cut.size() - 4);
  EXPECT_TRUE(watch.Feed(cut).ReloadAll);
  EXPECT_TRUE(watch.Feed(Record(12345, IN_CREATE, "stranger")).Empty()) << "a watch not ours";
}

// ---------------------------------------------------------------- notifier

// Runs the calls the workers post until `done` (or the safety limit).
void PumpUntil(const std::function<bool()>& done) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(kSafetyMs);
  while (!done() && std::chrono::steady_clock::now() < limit) CheckSynchronize(50);
}

TEST(ShellChangeNotifier, ReportsOnTheGuiThread) {
  TTempFolder dir;
  int calls = 0;
  bool onGui = false;
  TFolderChanges seen;
  TqzShellChangeNotifier notifier;
  notifier.OnChange = [&](TObject* sender) {
    ++calls;
    onGui = TThread::IsGuiThread();
    seen.Merge(static_cast<TqzShellChangeNotifier*>(sender)->LastChanges());
  };
  notifier.SetRoot(dir.Path());
  ASSERT_TRUE(notifier.Watching()) << notifier.WatchError();
  WriteFile(dir / "a");
  PumpUntil([&] { return seen.Events == 2; });
  EXPECT_TRUE(onGui);
  EXPECT_EQ(seen.Kinds, kChangeCreated | kChangeContent);

  // A burst made while the GUI thread is busy: the worker reads on and
  // merges. It may have read part of it before the first delivery ran, so
  // at most one change more than one, never one per event.
  calls = 0;
  seen = {};
  for (int i = 0; i < 200; ++i) fs::create_directory(dir / ("d" + std::to_string(i)));
  PumpUntil([&] { return seen.Events == 200; });
  EXPECT_EQ(seen.Events, 200u);
  EXPECT_LE(calls, 2);
}

TEST(ShellChangeNotifier, FolderGoneAndAnotherFolder) {
  TTempFolder parent;
  const std::string a = parent / "a", b = parent / "b";
  fs::create_directory(a);
  fs::create_directory(b);
  TFolderChanges seen;
  TqzShellChangeNotifier notifier([&](TObject* s) { seen.Merge(static_cast<TqzShellChangeNotifier*>(s)->LastChanges()); });
  notifier.SetRoot(a);
  fs::remove(a);
  PumpUntil([&] { return seen.FolderGone; });
  EXPECT_TRUE(seen.FolderGone);
  EXPECT_FALSE(notifier.Watching());

  seen = {};
  notifier.SetRoot(b);
  EXPECT_TRUE(notifier.Watching());
  WriteFile(b + "/x");
  PumpUntil([&] { return seen.Events == 2; });
  EXPECT_EQ(seen.Kinds, kChangeCreated | kChangeContent);
  EXPECT_FALSE(seen.FolderGone);

  notifier.SetRoot(parent / "missing");
  EXPECT_FALSE(notifier.Watching());
  EXPECT_FALSE(notifier.WatchError().empty());
}

TEST(ShellChangeNotifier, HandlerMayFreeTheNotifier) {
  TTempFolder dir;
  auto* notifier = new TqzShellChangeNotifier;
  int calls = 0;
  notifier->OnChange = [&](TObject* sender) {
    ++calls;
    delete static_cast<TqzShellChangeNotifier*>(sender);
  };
  notifier->SetRoot(dir.Path());
  WriteFile(dir / "a");
  PumpUntil([&] { return calls > 0; });
  EXPECT_EQ(calls, 1);
  WriteFile(dir / "b");
  CheckSynchronize(100);
  EXPECT_EQ(calls, 1);
}

TEST(ShellChangeNotifier, FreedWhileItsWorkerRunsRepeatedly) {
  TTempFolder dir;
  int calls = 0;
  for (int round = 0; round < 20; ++round) {
    TqzShellChangeNotifier notifier([&](TObject*) { ++calls; });
    notifier.SetRoot(dir.Path());
    for (int i = 0; i < 5; ++i) WriteFile(dir / ("f" + std::to_string(round * 5 + i)));
    // Freed with changes read or being read and none delivered.
  }
  CheckSynchronize(100);
  EXPECT_EQ(calls, 0) << "a freed notifier's change was delivered";
}

}  // namespace
}  // namespace qz
