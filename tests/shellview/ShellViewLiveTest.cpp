// The shell list view's worker threads and its watch on the folder: the
// thumbnails of a folder the test makes arrive on the GUI thread and stay
// with their files through sorting and refreshing; views torn down while
// their workers run, again and again; files made, deleted and renamed on
// disk show in place with the selection kept; a folder removed takes the
// view to its parent. Also runs under ThreadSanitizer.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "host/base/Threads.h"
#include "host/components/FormResource.h"
#include "host/graphics/PngWriter.h"
#include "host/shell/Thumbnails.h"
#include "skin/dialogs/ShellListView.h"
#include "skin/draw/PngImage.h"
#include "tests/host_ui/UiTestSupport.h"

namespace qz::testing {
namespace {

namespace fs = std::filesystem;

// Waits for the workers' and the watch's calls to reach the GUI thread,
// until `done` holds; false when it never did (a generous bound against a
// hang, not a measure).
bool PumpUntil(const std::function<bool()>& done) {
  for (int i = 0; i < 1000; ++i) {
    if (done()) return true;
    CheckSynchronize(20);
    Application->ProcessMessages();
  }
  return done();
}

class ShellViewLiveTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    char tmpl[] = "/tmp/qz-shellview-live-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    fs::create_directory(dir / "files");
    fs::create_directory(dir / "cache");
    TThumbnailSettings settings;
    settings.CacheRoot = (dir / "cache").string();
    settings.DecodePng = [](std::span<const uint8_t> b) { return std::optional<TPixmap>(TqzPngImage::DecodeToPixmap(b)); };
    settings.Program = "qzskin-test";
    source = std::make_shared<TThumbnails>(settings);
    form = MakeForm({100, 100, 700, 500}, bsNone);
  }
  void TearDown() override {
    delete form;
    Pump();
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    UiTest::TearDown();
  }
  TqzSkinFileListView* MakeView() {
    auto* v = new TqzSkinFileListView(form);
    v->SetParent(form);
    v->SetBounds(0, 0, 600, 400);
    v->SetThumbnailSource(source);
    return v;
  }
  // Pictures of distinct sizes, so that a thumbnail tells its file.
  void MakePictures(int n) {
    for (int i = 0; i < n; ++i) SavePng(TPixmap(40 + 8 * i, 20 + 4 * i, 0xFF336699u), Files("pic" + std::to_string(i) + ".png"));
  }
  std::string Files(const std::string& name = {}) const { return (dir / "files" / name).string(); }
  int Find(TqzCustomShellListView& v, const std::string& name) {
    for (int i = 0; i < v.FolderCount(); ++i)
      if (v.Folder(i).RelativeId() == name) return i;
    return -1;
  }
  std::vector<std::string> Names(TqzCustomShellListView& v) {
    std::vector<std::string> out;
    for (int i = 0; i < v.FolderCount(); ++i) out.push_back(v.Folder(i).RelativeId());
    return out;
  }

  fs::path dir;
  std::shared_ptr<TThumbnails> source;
  TForm* form = nullptr;
};

TEST_F(ShellViewLiveTest, ThumbnailsArriveAndStayWithTheirFiles) {
  MakePictures(6);
  std::ofstream(Files("notes.txt")) << "text";
  fs::create_directory(Files("folder"));
  mkfifo(Files("pipe.png").c_str(), 0644);
  TqzSkinFileListView* view = MakeView();
  view->SetThumbnailsEnabled(true);
  view->SetThumbnailSize(48);
  EXPECT_EQ(view->LargeIconSize(), 48) << "the icon cells hold a thumbnail";
  view->SetRoot(TShellId::FromPath(Files()));
  EXPECT_EQ(view->ThumbnailWorkerCount(), 8) << "4 workers a pass, two passes";
  auto all = [&] {
    for (int i = 0; i < 6; ++i)
      if (!view->Folder(Find(*view, "pic" + std::to_string(i) + ".png")).HasThumbnail) return false;
    return true;
  };
  ASSERT_TRUE(PumpUntil(all));
  // Each picture fitted into 48 x 48, keeping its proportions.
  auto checkSizes = [&](const char* when) {
    for (int i = 0; i < 6; ++i) {
      const TqzShellFolder& f = view->Folder(Find(*view, "pic" + std::to_string(i) + ".png"));
      const int w = 40 + 8 * i, h = 20 + 4 * i;
      const int tw = w <= 48 ? w : 48, th = w <= 48 ? h : (h * 48 + w / 2) / w;
      EXPECT_EQ(f.Thumbnail.Width(), tw) << when << " pic" << i;
      EXPECT_EQ(f.Thumbnail.Height(), th) << when << " pic" << i;
    }
    for (const char* other : {"notes.txt", "folder", "pipe.png"})
      EXPECT_FALSE(view->Folder(Find(*view, other)).HasThumbnail) << other;
  };
  checkSizes("listed");
  // The second pass filled the larger cache size as well.
  PumpUntil([&] { return fs::exists(dir / "cache" / "large") && std::distance(fs::directory_iterator(dir / "cache" / "large"), {}) == 6; });
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "cache" / "normal"), {}), 6);
  // Reversed: the workers stop, the thumbnails go with their items.
  view->SortByColumn(0);
  view->SortByColumn(0);
  checkSizes("sorted");
  view->Refresh();
  checkSizes("refreshed");
  Pump();
}

TEST_F(ShellViewLiveTest, ViewsGoWhileTheirWorkersRun) {
  MakePictures(24);
  for (int round = 0; round < 12; ++round) {
    TqzSkinFileListView* view = MakeView();
    view->SetThumbnailsEnabled(true);
    view->SetRoot(TShellId::FromPath(Files()));
    if (round % 3 == 1) view->SortByColumn(0);
    if (round % 3 == 2) view->Populate();
    if (round % 2) CheckSynchronize(1);
    // What the workers queued for the view goes with them.
    delete view;
    EXPECT_EQ(TThread::RunningCount(), 0) << "round " << round;
    Pump();
  }
  CheckSynchronize(0);
}

TEST_F(ShellViewLiveTest, ChangesOnDiskShowInPlace) {
  for (const char* name : {"b.txt", "d.txt"}) std::ofstream(Files(name)) << name;
  TqzSkinFileListView* view = MakeView();
  int changes = 0;
  view->OnFolderChange = [&](TObject*) { ++changes; };
  view->SetViewStyle(vsReport);
  view->SetRoot(TShellId::FromPath(Files()));
  ASSERT_TRUE(view->Watching());
  view->SetSelected(Find(*view, "d.txt"), true);
  view->SetItemFocused(Find(*view, "d.txt"));
  const std::pair<std::function<void()>, std::vector<std::string>> steps[] = {
      {[&] { std::ofstream(Files("a.txt")) << "new"; }, {"a.txt", "b.txt", "d.txt"}},
      {[&] { fs::create_directory(Files("sub")); }, {"sub", "a.txt", "b.txt", "d.txt"}},
      {[&] { fs::remove(Files("b.txt")); }, {"sub", "a.txt", "d.txt"}},
      {[&] { fs::rename(Files("a.txt"), Files("e.txt")); }, {"sub", "d.txt", "e.txt"}},
  };
  for (const auto& step : steps) {
    const std::vector<std::string>& expected = step.second;
    const int before = changes;
    step.first();
    EXPECT_TRUE(PumpUntil([&] { return Names(*view) == expected; })) << expected.front() << " ...";
    EXPECT_GT(changes, before);
    // The selection and the focus follow the file, not its row.
    const int d = Find(*view, "d.txt");
    EXPECT_TRUE(view->Selected(d));
    EXPECT_EQ(view->SelCount(), 1);
    EXPECT_EQ(view->ItemFocused(), d);
    EXPECT_EQ(view->Count(), view->FolderCount());
  }
}

TEST_F(ShellViewLiveTest, AFolderRemovedTakesTheViewToItsParent) {
  fs::create_directories(dir / "files" / "deep" / "er");
  TqzSkinFileListView* view = MakeView();
  view->SetRoot(TShellId::FromPath((dir / "files" / "deep" / "er").string()));
  ASSERT_TRUE(view->Watching());
  fs::remove_all(dir / "files" / "deep");
  ASSERT_TRUE(PumpUntil([&] { return view->Root() == TShellId::FromPath(Files()); }))
      << "the nearest folder still there";
  EXPECT_TRUE(Names(*view).empty());
  EXPECT_TRUE(view->Watching()) << "and watches that one";
  std::ofstream(Files("later.txt")) << "x";
  EXPECT_TRUE(PumpUntil([&] { return Names(*view) == std::vector<std::string>{"later.txt"}; }));
  // Refreshing a folder that went does the same, without a notification.
  view->SetAutoRefresh(false);
  fs::create_directory(Files("gone"));
  view->SetRoot(TShellId::FromPath(Files("gone")));
  EXPECT_FALSE(view->Watching());
  fs::remove(Files("gone"));
  view->Refresh();
  EXPECT_EQ(view->Root(), TShellId::FromPath(Files()));
}

TEST_F(ShellViewLiveTest, TypeIconsFillTheViewsImageLists) {
  SavePng(TPixmap(8, 8, 0xFF000000u), Files("a.png"));
  SavePng(TPixmap(8, 8, 0xFF000000u), Files("b.png"));
  std::ofstream(Files("c.txt")) << "text";
  fs::create_directory(Files("sub"));
  TqzSkinFileListView* view = MakeView();
  view->SetViewStyle(vsReport);
  view->SetRoot(TShellId::FromPath(Files()));
  std::map<std::string, int> index;
  for (int i = 0; i < view->FolderCount(); ++i) index[view->Folder(i).RelativeId()] = view->FetchItem(i).ImageIndex;
  EXPECT_EQ(index["a.png"], index["b.png"]) << "one icon a type";
  EXPECT_NE(index["a.png"], index["c.txt"]);
  EXPECT_NE(index["sub"], index["c.txt"]);
  for (const auto& [name, i] : index) {
    ASSERT_GE(i, 0) << name;
    EXPECT_LT(i, view->TypeSmallImages()->Count()) << name;
    EXPECT_LT(i, view->TypeLargeImages()->Count()) << name;
  }
  EXPECT_EQ(view->TypeSmallImages()->Width(), 16);
  EXPECT_EQ(view->TypeLargeImages()->Width(), 32);
  EXPECT_EQ(view->SmallImages(), view->TypeSmallImages());
  // A program's own icons come through OnGetIcon instead.
  view->OnGetIcon = [](TObject*, TqzShellFolder&, bool) { return 7; };
  view->Populate();
  EXPECT_EQ(view->FetchItem(0).ImageIndex, 7);
}

class TShellViewForm : public TForm {
  QZ_CLASS(TShellViewForm, TForm)
 public:
  using TForm::TForm;
};

TEST_F(ShellViewLiveTest, PublishedPropertiesReadFromAFormResource) {
  TShellViewForm host(Application);
  ReadComponentRes(&host, R"(object F: TShellViewForm
  object List1: TqzSkinFileListView
    ObjectTypes = [otNonFolders, otHidden]
    Mask = '*.txt'
    AutoRefresh = False
    ItemSkinDataName = 'items'
    HeaderSkinDataName = 'resizebutton'
    DrawSkin = False
  end
end
)");
  auto* list = host.FindChild<TqzSkinFileListView>("List1");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->ObjectTypes(), (TShellObjectTypes{TShellObjectType::otNonFolders, TShellObjectType::otHidden}));
  EXPECT_EQ(list->Mask(), "*.txt");
  EXPECT_FALSE(list->AutoRefresh());
  EXPECT_EQ(list->ItemSkinDataName(), "items");
  EXPECT_EQ(list->HeaderSkinDataName(), "resizebutton");
  EXPECT_FALSE(list->DrawSkin());
}

}  // namespace
}  // namespace qz::testing
