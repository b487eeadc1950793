// The shell folder tree and the skinned folder dialog over a folder tree
// the test makes: select by path, the start selection, OK and Cancel, the
// path edit, new folder, handlers that free the dialog, and a monkey run.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <utility>
#include <vector>

#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/controls/SkinToolBar.h"
#include "skin/dialogs/DirTreeView.h"
#include "skin/dialogs/SelectDirectoryDialog.h"
#include "skin/form/Orvane.h"
#include "tests/host_ui/UiTestSupport.h"
#include "tests/skins/DemoSkins.h"

namespace qz::testing {
namespace {

bool IsDir(const std::string& p) {
  struct stat st {};
  return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A home folder of its own: the places (and the desktop a relative path is
// taken from) are the test's.
class SelectDirectoryTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    char tmpl[] = "/tmp/qz-seldir-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    home = tmpl;
    for (const char* d : {"Desktop", "a", "a/b", "a/b/c", "a/.hidden", "z", "z/one", "z/two"})
      ::mkdir((home + "/" + d).c_str(), 0755);
    std::ofstream(home + "/file.txt") << "x";
    oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
    dialog = new TqzSkinSelectDirectoryDialog(Application);
  }
  void TearDown() override {
    delete dialog;
    ::setenv("HOME", oldHome.c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(home);
    UiTest::TearDown();
  }
  TqzSkinDirTreeView* MakeTree() {
    form = MakeForm({100, 100, 500, 500}, bsNone);
    auto* tree = new TqzSkinDirTreeView(form);
    tree->SetParent(form);
    tree->SetBounds(0, 0, 300, 300);
    tree->SetWatchChanges(false);
    TPlacesSettings settings;
    settings.Home = home;
    settings.MountInfoFile = home + "/no-mountinfo";
    tree->SetPlaces(std::make_shared<const TPlaces>(settings));
    return tree;
  }
  // Runs Execute while the modal loop's idle turns run `steps`; a window
  // still open after them is cancelled.
  bool RunModal(std::vector<std::function<void(TqzSelDirDlgForm&)>> steps) {
    size_t next = 0;
    hp->SetIdleHandler([&]() {
      TqzSelDirDlgForm* f = ShownForm();
      if (!f) return false;
      // The loop handles what a step injected before it is idle again;
      // each turn lets 25 ms of virtual time pass. A window that has its
      // result gets an event, so that the loop's wait returns and sees it.
      hp->AdvanceClock(25);
      TComponentRef<TqzSelDirDlgForm> open(f);
      if (f->ModalResult() == mrNone) {
        if (next < steps.size()) steps[next++](*f);
        else f->SetModalResult(mrCancel);
      }
      if (open && open->ModalResult() != mrNone) hp->InjectKeyUp(VK_SHIFT);
      return true;
    });
    const bool ok = dialog->Execute();
    hp->SetIdleHandler({});
    return ok;
  }
  static TqzSelDirDlgForm* ShownForm() {
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (auto* f = dynamic_cast<TqzSelDirDlgForm*>(Screen->Forms(i)))
        if (f->FormState().Contains(TFormStateFlag::fsModal)) return f;
    return nullptr;
  }
  static void Press(TqzSelDirDlgForm& f, TModalResult r) { f.SetModalResult(r); }

  std::string home, oldHome;
  TForm* form = nullptr;
  TqzSkinSelectDirectoryDialog* dialog = nullptr;
};

TEST_F(SelectDirectoryTest, TreeSelectsByPath) {
  TqzSkinDirTreeView* tree = MakeTree();
  // The computer folder on top, expanded, with its places.
  ASSERT_EQ(tree->TopCount(), 1);
  TTreeNode* top = tree->TopItem(0);
  EXPECT_TRUE(top->Expanded());
  ASSERT_EQ(top->Count(), 3);
  EXPECT_EQ(top->Item(0)->Text(), "Home");
  EXPECT_EQ(top->Item(1)->Text(), "File System");
  struct TCase {
    std::string path;
    bool selects;
    std::string selected;  // the selection afterwards
  };
  const std::vector<TCase> cases = {
      {home + "/a/b", true, home + "/a/b"},
      {home + "/a/b/c/", true, home + "/a/b/c"},
      {home + "/missing", false, home + "/a/b/c"},
      {home + "/file.txt", false, home + "/a/b/c"},
      {home + "/a/.hidden", true, home + "/a/.hidden"},  // hidden folders are not listed, but exist
      {home + "/a/b/../../z", true, home + "/z"},
      {"/", true, "/"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(tree->SelectPath(c.path), c.selects);
    EXPECT_EQ(tree->SelectedPath(), c.selected);
    if (c.selects) EXPECT_TRUE(tree->Selected()->IsVisible());
  }
  // The selected folder is expanded; its parents are too.
  tree->SelectPath(home + "/z");
  EXPECT_TRUE(tree->Selected()->Expanded());
  EXPECT_EQ(tree->Selected()->Count(), 2);
  for (const std::string bad : {std::string(), std::string("relative/x"), std::string("/a\0b", 4)}) {
    try {
      tree->SelectPath(bad);
      ADD_FAILURE() << "no error for " << bad;
    } catch (const EqzInvalidPath& e) {
      // The path as text: a NUL or a newline shows as a replacement character.
      EXPECT_EQ(e.Message(), "Error setting path: \"" + DisplayNameFromBytes(bad) + "\"");
    }
  }
  EXPECT_EQ(tree->SelectedPath(), home + "/z");
}

TEST_F(SelectDirectoryTest, FoldersAreListedOnceAndReloadKeepsTheWay) {
  TqzSkinDirTreeView* tree = MakeTree();
  ASSERT_TRUE(tree->SelectPath(home + "/a"));
  const int listings = tree->Listings();
  tree->Selected()->Collapse();
  tree->Selected()->Expand();
  EXPECT_EQ(tree->Listings(), listings);
  tree->Selected()->Item(0)->Expand();  // b
  ::mkdir((home + "/a/new").c_str(), 0755);
  tree->ReloadSelected();
  ASSERT_EQ(tree->Selected()->Count(), 2);
  EXPECT_EQ(tree->Selected()->Item(1)->Text(), "new");
  EXPECT_TRUE(tree->Selected()->Item(0)->Expanded());
  tree->SelectSpecialFolder(TRootFolder::rfMyComputer);
  EXPECT_EQ(tree->Selected(), tree->TopItem(0));
  EXPECT_EQ(tree->SelectedPath(), "");
}

// The selected folder is watched: a folder made in it on disk shows up
// (the wait is bounded; nothing is timed).
TEST_F(SelectDirectoryTest, ChangesOnDiskReloadTheSelectedFolder) {
  TqzSkinDirTreeView* tree = MakeTree();
  tree->SetWatchChanges(true);
  ASSERT_TRUE(tree->SelectPath(home + "/z"));
  ASSERT_EQ(tree->Selected()->Count(), 2);
  ::mkdir((home + "/z/three").c_str(), 0755);
  for (int i = 0; i < 500 && tree->Selected()->Count() < 3; ++i) {
    ::usleep(10000);
    Pump();
  }
  ASSERT_EQ(tree->Selected()->Count(), 3);
  EXPECT_EQ(tree->Selected()->Item(2)->Text(), "two");
  EXPECT_EQ(tree->Selected()->Item(1)->Text(), "three");
}

TEST_F(SelectDirectoryTest, StartSelectionOkAndCancel) {
  struct TCase {
    const char* label;
    std::string directory;
    TModalResult answer;
    bool startsAtComputer;
    bool result;
    std::string directoryAfter;
  };
  const std::vector<TCase> cases = {
      {"an existing folder is selected", home + "/z/one", mrOk, false, true, home + "/z/one"},
      {"a missing folder starts at the computer", home + "/gone", mrCancel, true, false, home + "/gone"},
      {"empty starts at the computer", "", mrCancel, true, false, ""},
      {"a relative path starts at the computer", "z", mrCancel, true, false, "z"},
      {"Cancel keeps Directory", home + "/a", mrCancel, false, false, home + "/a"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.label);
    dialog->Directory = c.directory;
    dialog->DialogWidth = 0;
    bool atComputer = false;
    TRect client;
    const bool ok = RunModal({[&](TqzSelDirDlgForm& f) {
      TqzSkinDirTreeView* tree = f.Tree();
      atComputer = tree->Selected() == tree->TopItem(0) && tree->Selected()->Expanded();
      f.SetClientWidth(420);
      Press(f, c.answer);
    }});
    EXPECT_EQ(ok, c.result);
    EXPECT_EQ(atComputer, c.startsAtComputer);
    EXPECT_EQ(dialog->Directory, c.directoryAfter);
    EXPECT_EQ(dialog->DialogWidth, 420);  // written back by OK and Cancel
    EXPECT_EQ(dialog->Form(), nullptr);
  }
}

TEST_F(SelectDirectoryTest, ToolBarPathEditAndNewFolder) {
  // Without the tool bar there is neither edit nor new-folder button.
  RunModal({[&](TqzSelDirDlgForm& f) {
    EXPECT_EQ(f.ToolBar(), nullptr);
    EXPECT_EQ(f.PathEdit(), nullptr);
    EXPECT_EQ(f.NewFolderButton(), nullptr);
    EXPECT_NE(f.OKButton(), nullptr);
  }});
  EXPECT_EQ(ShownForm(), nullptr);  // freed
  dialog->ShowToolBar = true;
  dialog->Directory = home + "/a";
  EXPECT_TRUE(RunModal({
      [&](TqzSelDirDlgForm& f) {
        ASSERT_NE(f.PathEdit(), nullptr);
        EXPECT_EQ(f.PathEdit()->Text(), home + "/a");
        EXPECT_EQ(f.NewFolderButton()->Hint(), "Create New Folder");
        // A typed folder that exists is followed; one that does not is not.
        f.PathEdit()->SetText(home + "/z/two");
        EXPECT_TRUE(f.GoToTypedPath());
        EXPECT_EQ(f.Tree()->SelectedPath(), home + "/z/two");
        f.PathEdit()->SetText(home + "/z/three");
        EXPECT_FALSE(f.GoToTypedPath());
        EXPECT_EQ(f.Tree()->SelectedPath(), home + "/z/two");
        f.PathEdit()->SetText("a/b");  // from the desktop: not there
        EXPECT_FALSE(f.GoToTypedPath());
        // New folder once, then nothing: no numbering.
        f.NewFolderButton()->ButtonClick();
        EXPECT_TRUE(IsDir(home + "/z/two/New Folder"));
        EXPECT_EQ(f.Tree()->Selected()->Count(), 1);
        EXPECT_FALSE(f.CreateNewFolder());
        EXPECT_FALSE(IsDir(home + "/z/two/New Folder (2)"));
        // The computer folder is not a folder of the file system.
        f.Tree()->SelectSpecialFolder(TRootFolder::rfMyComputer);
        EXPECT_EQ(f.NewFolderPath(), "");
        EXPECT_FALSE(f.CreateNewFolder());
        // Enter in the edit on another folder's path goes there and keeps
        // the window open.
        f.PathEdit()->SetFocus();
        f.PathEdit()->SetText(home + "/a/b");
        hp->InjectKey(VK_RETURN);
      },
      [&](TqzSelDirDlgForm& f) {
        EXPECT_EQ(f.Tree()->SelectedPath(), home + "/a/b");
        EXPECT_EQ(f.ModalResult(), mrNone);
        hp->InjectKey(VK_RETURN);  // on the selected folder's own path: OK
      },
  }));
  EXPECT_EQ(dialog->Directory, home + "/a/b");
}

TEST_F(SelectDirectoryTest, HandlersMayFreeTheDialog) {
  const std::vector<std::pair<const char*, std::function<void()>>> cases = {
      {"OnShow", [&] { dialog->OnShow = [this](TObject*) { delete std::exchange(dialog, nullptr); }; }},
      {"OnClose", [&] { dialog->OnClose = [this](TObject*) { delete std::exchange(dialog, nullptr); }; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    c.second();
    EXPECT_FALSE(RunModal({}));
    EXPECT_EQ(dialog, nullptr);
    dialog = new TqzSkinSelectDirectoryDialog(Application);
  }
  // From a selection change inside the modal loop.
  EXPECT_FALSE(RunModal({[&](TqzSelDirDlgForm& f) {
                           f.Tree()->OnChange = [this](TObject*) { delete std::exchange(dialog, nullptr); };
                           f.Tree()->SelectPath(home);
                         },
                         [&](TqzSelDirDlgForm& f) { Press(f, mrOk); }}));
  EXPECT_EQ(dialog, nullptr);
  dialog = new TqzSkinSelectDirectoryDialog(Application);
}

// Random keys, typing and clicks over the skinned dialog: after every event
// the window keeps its limits and the selection is a folder that exists.
TEST_F(SelectDirectoryTest, MonkeyKeepsTheWindowAndTheSelectionSound) {
  for (int i = 0; i < 6; ++i) ::mkdir((home + "/z/one/d" + std::to_string(i)).c_str(), 0755);
  dialog->SetSkinData(DialogSkin().Skin.get());
  dialog->SetCtrlSkinData(DialogSkin().Skin.get());
  dialog->ShowToolBar = true;
  dialog->Directory = home + "/z";
  std::mt19937 rng(26);
  const int keys[] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_HOME, VK_END, VK_PRIOR,
                      VK_NEXT, VK_ADD, VK_SUBTRACT};
  std::vector<std::function<void(TqzSelDirDlgForm&)>> steps;
  int ran = 0;
  for (int i = 0; i < 300; ++i) {
    steps.push_back([&](TqzSelDirDlgForm& f) {
      ++ran;
      // The state the last event left, then the next event.
      const TqzSizeLimits limits = f.Orvane()->SizeLimits();
      EXPECT_GE(f.Width(), limits.MinWidth);
      EXPECT_GE(f.Height(), limits.MinHeight);
      TqzSkinDirTreeView* tree = f.Tree();
      EXPECT_LE(tree->TopRow(), std::max(0, tree->RowCount() - tree->VisibleRowCount()));
      ASSERT_NE(tree->Selected(), nullptr);
      EXPECT_TRUE(tree->Selected()->IsVisible());
      const std::string path = tree->SelectedPath();
      if (!path.empty()) EXPECT_TRUE(IsDir(path)) << path;
      const int what = int(rng() % 10);
      if (what < 6) {
        f.Tree()->SetFocus();
        hp->InjectKey(keys[rng() % std::size(keys)]);
      } else if (what == 6) {
        hp->InjectText(std::string(1, char('a' + rng() % 26)));
      } else if (what == 7) {
        const TRect r = f.Tree()->ClientRect();
        const TPoint p = f.Tree()->ClientToScreen({int(rng() % std::max(1, r.Width())),
                                                   int(rng() % std::max(1, r.Height()))});
        hp->InjectClick(p);
      } else if (what == 8) {
        f.CreateNewFolder();
      } else {
        f.SetBounds(f.Left(), f.Top(), 200 + int(rng() % 400), 200 + int(rng() % 400));
      }
    });
  }
  RunModal(steps);
  EXPECT_EQ(ran, 300);
}

}  // namespace
}  // namespace qz::testing
