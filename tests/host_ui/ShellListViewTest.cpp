// The shell list view on a folder the test makes: the mask, folders first,
// sorting by each column both ways, the list column's width, the details
// of special files, the thumbnail worker hooks, and OnAddFolder.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "skin/dialogs/ShellListView.h"
#include "tests/host_ui/UiTestSupport.h"

namespace qz::testing {
namespace {

TEST(ShellMask, PatternsSplitAtSemicolonsAndBars) {
  const struct {
    const char* name;
    const char* mask;
    bool expected;
  } cases[] = {
      {"movie.avi", "*.avi", true},
      {"Movie.AVI", "*.avi", true},
      {"Movie.AVI.txt", "*.avi", false},
      {"b.zip", "*.avi", false},
      {"b.zip", "*.avi;*.zip", true},
      {"c.txt", "*.doc|*.TXT", true},
      {"c.txt", "*.doc; *.txt ", true},  // blanks around a pattern do not count
      {"anything", "*", true},
      {"c.txt", "", false},
      {"abc", "a?c", false},  // a pattern without a dot is no file pattern
      {"a.c", "?.?", true},
      {"ab.c", "?.?", false},
      {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*a*.c", false},
  };
  for (const auto& c : cases) EXPECT_EQ(MatchesFileMask(c.name, c.mask), c.expected) << c.name << " / " << c.mask;
}

TEST(ShellMask, SizesInKilobytesRoundedUp) {
  const struct {
    uint64_t bytes;
    const char* text;
  } cases[] = {{0, "0 KB"}, {1, "1 KB"}, {1024, "1 KB"}, {1025, "2 KB"}, {999 * 1024, "999 KB"},
               {1000 * 1024, "1 000 KB"}, {1234567ull * 1024, "1 234 567 KB"}};
  for (const auto& c : cases) EXPECT_EQ(SizeInKilobytesText(c.bytes), c.text) << c.bytes;
}

TEST(ShellMask, WorkersPerPass) {
  for (auto [items, workers] : {std::pair{0, 0}, {1, 1}, {2, 2}, {4, 4}, {5, 4}, {50, 4}})
    EXPECT_EQ(ThumbnailWorkersPerPass(items), workers) << items;
}

// Records the worker hooks.
class TRecordingShellView : public TqzCustomShellListView {
 public:
  using TqzCustomShellListView::TqzCustomShellListView;
  std::vector<int>* started = nullptr;
  int* stopped = nullptr;

 protected:
  void StartThumbnailWorkers(int PerPass) override {
    if (started) started->push_back(PerPass);
  }
  void StopThumbnailWorkers() override {
    if (stopped) ++*stopped;
  }
};

class ShellListViewTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    char tmpl[] = "/tmp/qz-shellview-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    for (const char* d : {"sub", "Zeta.dir", "archive.zip"}) mkdir((dir + "/" + d).c_str(), 0755);
    const std::pair<const char*, size_t> files[] = {
        {"movie.avi", 3000}, {"Movie.AVI.txt", 10}, {"b.zip", 2048}, {"c.txt", 1},
        {".hidden.avi", 5}, {"bad\xff.avi", 7}, {"new\nline.avi", 9},
    };
    for (auto [name, size] : files) std::ofstream(dir + "/" + name) << std::string(size, 'x');
    mkfifo((dir + "/pipe.avi").c_str(), 0644);
    symlink((dir + "/nowhere").c_str(), (dir + "/dead.avi").c_str());
    form = MakeForm({100, 100, 800, 600}, bsNone);
    view = new TRecordingShellView(form);
    view->SetParent(form);
    view->SetBounds(10, 10, 600, 400);
  }
  void TearDown() override {
    std::filesystem::remove_all(dir);
    UiTest::TearDown();
  }
  std::vector<std::string> Names() {
    std::vector<std::string> out;
    for (int i = 0; i < view->FolderCount(); ++i) out.push_back(view->Folder(i).RelativeId());
    return out;
  }

  std::string dir;
  TForm* form = nullptr;
  TRecordingShellView* view = nullptr;
};

TEST_F(ShellListViewTest, MaskFoldersFirstAndBadNames) {
  view->SetMask("*.avi");
  view->SetRoot(TShellId::FromPath(dir));
  EXPECT_EQ(view->ListError(), 0);
  // Folders always (one named like an archive is still a folder), then the
  // files the mask accepts, each kind by name without case; special files,
  // dangling links and names that are no text are listed too.
  EXPECT_EQ(Names(), (std::vector<std::string>{"archive.zip", "sub", "Zeta.dir", "bad\xff.avi", "dead.avi",
                                               "movie.avi", "new\nline.avi", "pipe.avi"}));
  EXPECT_TRUE(view->Folder(0).IsFolder());
  EXPECT_EQ(view->Count(), view->FolderCount());
  EXPECT_EQ(view->Folder(3).DisplayName(), "bad\xEF\xBF\xBD.avi");
  EXPECT_EQ(view->Folder(0).Level(), 1);
  view->SetMask("*");
  EXPECT_EQ(view->FolderCount(), 3 + 8) << "every file but the hidden one";
  view->SetObjectTypes({TShellObjectType::otFolders, TShellObjectType::otNonFolders, TShellObjectType::otHidden});
  EXPECT_EQ(view->FolderCount(), 3 + 9);
  view->SetMask("");
  EXPECT_EQ(Names(), (std::vector<std::string>{"archive.zip", "sub", "Zeta.dir"})) << "an empty mask: folders only";
}

TEST_F(ShellListViewTest, DetailsOfEveryRowOnScreenWithoutOpeningSpecialFiles) {
  view->SetViewStyle(vsReport);
  view->SetRoot(TShellId::FromPath(dir));
  Pump();  // paints every row: the FIFO's type must come without opening it
  std::vector<std::string> shown;
  for (int i = 0; i < view->FolderCount(); ++i) {
    const TListItem item = view->FetchItem(i);
    ASSERT_EQ(item.SubItems.size(), 3u);
    if (item.Caption == "movie.avi") EXPECT_EQ(item.SubItems[0], "3 KB");
    if (item.Caption == "sub") EXPECT_EQ(item.SubItems[0], "") << "folders show no size";
    EXPECT_FALSE(item.SubItems[1].empty()) << item.Caption << ": a type name";
  }
}

TEST_F(ShellListViewTest, HeaderClicksSortByEachColumnBothWays) {
  view->SetMask("*.avi;*.zip");
  view->SetViewStyle(vsReport);
  view->SetRoot(TShellId::FromPath(dir));
  Pump();
  const std::vector<std::string> byName = Names();
  auto clickColumn = [&](int c) {
    const TRect r = view->ColumnRect(c);
    Click(view->ClientToScreen({r.Left + 10, r.Top + 5}));
  };
  clickColumn(0);
  EXPECT_EQ(view->SortColumn(), 0);
  EXPECT_TRUE(view->SortAscending());
  EXPECT_EQ(Names(), byName);
  clickColumn(0);
  // Descending reverses it all: files first, names from Z to A.
  EXPECT_EQ(Names(), std::vector<std::string>(byName.rbegin(), byName.rend()));
  clickColumn(1);
  EXPECT_TRUE(view->SortAscending()) << "another column starts ascending";
  // Folders first (no size: their names' order), then files by size.
  EXPECT_EQ(Names(), (std::vector<std::string>{"Zeta.dir", "archive.zip", "sub", "dead.avi", "pipe.avi",
                                               "bad\xff.avi", "new\nline.avi", "b.zip", "movie.avi"}));
  clickColumn(1);
  EXPECT_EQ(Names().front(), "movie.avi");
  EXPECT_EQ(Names().back(), "sub") << "equal keys keep the names' order both ways";
  // The modification time: the file touched last comes last among files.
  const std::string touched = dir + "/b.zip";
  timespec times[2] = {{0, UTIME_OMIT}, {4000000000LL, 0}};
  utimensat(AT_FDCWD, touched.c_str(), times, 0);
  view->Populate();
  EXPECT_EQ(view->SortColumn(), 1) << "a new listing keeps the user's order";
  view->SortByColumn(3);
  EXPECT_EQ(Names().back(), "b.zip");
  // Fewer than 4 columns: only the name sorts.
  view->SortByColumn(0);
  view->ClearColumns();
  for (const char* c : {"Name", "Size", "Type"}) view->AddColumn(c, 100);
  view->SortByColumn(1);
  EXPECT_EQ(view->SortColumn(), 0);
  EXPECT_TRUE(view->SortAscending());
}

TEST_F(ShellListViewTest, ListColumnIsTheLongestNamePlus32) {
  view->SetViewStyle(vsList);
  view->SetRoot(TShellId::FromPath(dir));
  TCanvas measure;
  measure.SetFont(view->Font());
  EXPECT_EQ(view->ListColumnWidth(), measure.TextWidth("Movie.AVI.txt") + 32);
}

TEST_F(ShellListViewTest, ThumbnailWorkersStartInTheIconViewAndStopBeforeItemsGo) {
  std::vector<int> started;
  int stopped = 0;
  view->started = &started;
  view->stopped = &stopped;
  view->SetThumbnailsEnabled(true);
  view->SetMask("*.zip");  // 3 folders and b.zip
  view->SetRoot(TShellId::FromPath(dir));
  EXPECT_EQ(started, std::vector<int>{4});
  view->SetMask("movie.avi");
  EXPECT_EQ(started, (std::vector<int>{4, 4}));
  EXPECT_EQ(stopped, 2) << "stopped before each listing";
  // Two items: two workers a pass.
  view->SetObjectTypes({TShellObjectType::otNonFolders});
  view->SetMask("movie.avi;c.txt");
  EXPECT_EQ(started.back(), 2);
  view->SetViewStyle(vsReport);
  const size_t before = started.size();
  view->Populate();
  EXPECT_EQ(started.size(), before) << "no thumbnails outside the icon view";
  const int stops = stopped;
  delete view;
  EXPECT_EQ(stopped, stops + 1) << "and the view stops them as it goes";
}

TEST_F(ShellListViewTest, AddFolderMayRefuseOrFreeTheView) {
  view->OnAddFolder = [](TObject*, TqzShellFolder& item, bool& canAdd) {
    canAdd = item.RelativeId().find('.') == std::string::npos;
  };
  view->SetRoot(TShellId::FromPath(dir));
  EXPECT_EQ(Names(), (std::vector<std::string>{"sub"}));
  view->OnAddFolder = [this](TObject*, TqzShellFolder&, bool&) {
    TRecordingShellView*& slot = view;
    delete slot;
    slot = nullptr;
  };
  view->Populate();
  EXPECT_EQ(view, nullptr);
  Pump();
}

TEST_F(ShellListViewTest, AFolderThatCannotBeReadListsNothing) {
  view->SetRoot(TShellId::FromPath(dir + "/missing"));
  EXPECT_NE(view->ListError(), 0);
  EXPECT_EQ(view->Count(), 0);
}

}  // namespace
}  // namespace qz::testing
