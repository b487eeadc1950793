// The skinned open dialog on a folder the test makes: the window's layout
// by hand, Execute's results (confirmed, cancelled, what is written back),
// the list events, history, new folders, the file-name edit, filters, and
// handlers that free the dialog component while its window is open.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "host/shell/FileManager.h"
#include "host/ui/Menus.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinLabel.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/controls/SkinToolBar.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/draw/QzComposition.h"
#include "skin/dialogs/FilterComboBox.h"
#include "skin/dialogs/ShellComboBox.h"
#include "skin/dialogs/ShellListView.h"
#include "skin/dialogs/SkinOpenDialog.h"
#include "skin/form/Orvane.h"
#include "skin/popups/SkinMenu.h"
#include "skin/popups/SkinMenuButton.h"
#include "tests/host_ui/UiTestSupport.h"
#include "tests/skins/DemoSkins.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

class OpenDialogTest : public testing::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    char name[] = "/tmp/qz-opendlg-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir = name;
    for (const char* sub : {"sub", "sub/deeper", ".hiddendir"}) fs::create_directory(dir / sub);
    for (const char* file : {"a.txt", "b.png", "clip.avi", "clip.mp4", "notes.TXT", ".secret", "sub/inner.txt"})
      std::ofstream(dir / file) << file;
    dialog = new TqzSkinOpenDialog(Application);
    dialog->InitialDir = dir.string();
    dialog->ProgramDir = dir.string();
  }
  void TearDown() override {
    delete dialog.Get();
    UiTest::TearDown();
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }
  std::string P(const std::string& name) const { return (dir / name).string(); }

  // Runs Execute while the modal loop's idle turns run the steps in order
  // (each gets the open window); a window still open after them is
  // cancelled and `stuck` set.
  bool Run(std::vector<std::function<void(TqzOpenDlgForm&)>> steps) {
    // The window lists its folder once shown: the first turn lets that happen.
    steps.insert(steps.begin(), [](TqzOpenDlgForm& w) {
      if (!w.Listed()) w.ListStartFolder();
    });
    size_t next = 0;
    stuck = false;
    TComponentRef<TqzSkinOpenDialog> d(dialog.Get());
    bool inStep = false;
    hp->SetIdleHandler([&] {
      TqzOpenDlgForm* w = d ? d->Window() : nullptr;
      // A step that processes messages does not run the next one inside it.
      if (inStep || w == nullptr || !w->FormState().Contains(TFormStateFlag::fsModal)) return false;
      // Virtual time passes, so that a wait with a time-out ends and the
      // loop sees a modal result a step set.
      hp->AdvanceClock(25);
      if (next < steps.size()) {
        inStep = true;
        steps[next++](*w);
        inStep = false;
        return true;
      }
      stuck = true;
      w->SetModalResult(mrCancel);
      return true;
    });
    const bool result = dialog->Execute();
    hp->SetIdleHandler({});
    return result;
  }
  static int IndexOf(TqzOpenDlgForm& w, const std::string& name) {
    for (int i = 0; i < w.ListView()->FolderCount(); ++i)
      if (w.ListView()->Folder(i).RelativeId() == name) return i;
    return -1;
  }
  void DoubleClick(TqzOpenDlgForm& w, const std::string& name) {
    TqzSkinFileListView& list = *w.ListView();
    const int i = IndexOf(w, name);
    ASSERT_GE(i, 0) << name;
    list.MakeVisible(i);
    const TRect r = list.DisplayRect(i, drLabel);
    const TPoint at = list.ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
    hp->InjectClick(at);
    hp->InjectClick(at);
  }
  // Types into the empty edit (the keys run on the next turns).
  void Type(TqzOpenDlgForm& w, const std::string& text) {
    w.FileNameEdit()->SetFocus();
    w.FileNameEdit()->SetText("");
    hp->InjectText(text);
  }
  // Puts the text into the edit at once.
  static void Put(TqzOpenDlgForm& w, const std::string& text) { w.FileNameEdit()->SetText(text); }
  static std::vector<std::string> Names(TqzOpenDlgForm& w) {
    std::vector<std::string> out;
    for (int i = 0; i < w.ListView()->FolderCount(); ++i) out.push_back(w.ListView()->Folder(i).RelativeId());
    return out;
  }

  fs::path dir;
  TComponentRef<TqzSkinOpenDialog> dialog;
  bool stuck = false;
};

TEST_F(OpenDialogTest, PublishedPropertiesStartAtTheirValues) {
  TqzSkinOpenDialog d(nullptr);
  EXPECT_EQ(d.Title, "Open file");
  EXPECT_EQ(d.Filter, "All files|*.*");
  EXPECT_EQ(d.FilterIndex, 1);
  EXPECT_TRUE(d.CheckFileExists);
  EXPECT_TRUE(d.ShowThumbnails);
  EXPECT_FALSE(d.MultiSelection || d.ShowHiddenFiles || d.OverwritePromt || d.ToolButtonsTransparent);
  EXPECT_EQ(d.DialogWidth + d.DialogHeight + d.DialogMinWidth + d.DialogMinHeight, 0);
  EXPECT_EQ(d.AlphaBlendValue, 225);
  EXPECT_EQ(d.CtrlAlphaBlendValue, 225);
  EXPECT_EQ(d.LVHeaderSkinDataName, "header");
  EXPECT_EQ(d.DefaultFont().Name(), "Tahoma");
  EXPECT_EQ(d.DefaultFont().Height(), 13);
  EXPECT_EQ(d.ViewMode(), qzvmList);
  auto* skin = new TqzSkinData(Application);
  auto* images = new TImageList(Application);
  d.SetSkinData(skin);
  d.SetCtrlSkinData(skin);
  d.SetToolBarImageList(images);
  delete skin;
  delete images;
  EXPECT_EQ(d.SkinData(), nullptr);
  EXPECT_EQ(d.CtrlSkinData(), nullptr);
  EXPECT_EQ(d.ToolBarImageList(), nullptr);
}

// Without a skin at 700 x 350: the parts where the builder puts them. The
// places run down the whole left side; right of them the bottom panel and
// the list panel above it.
TEST_F(OpenDialogTest, PlainLayoutByHand) {
  auto w = BuildOpenDlgForm(dialog->Settings());
  EXPECT_EQ(w->ClientWidth(), 700);
  EXPECT_EQ(w->ClientHeight(), 350);
  EXPECT_EQ(w->ToolBar()->BoundsRect(), (TRect{0, 0, 700, 25}));
  EXPECT_EQ(w->PlacesPanel()->BoundsRect(), (TRect{0, 25, 100, 350}));
  EXPECT_EQ(w->ClientPanel()->BoundsRect(), (TRect{100, 25, 700, 350}));
  EXPECT_EQ(w->BottomPanel()->BoundsRect(), (TRect{0, 245, 600, 325}));
  EXPECT_EQ(w->ListPanel()->BoundsRect(), (TRect{0, 0, 600, 245}));
  EXPECT_EQ(w->LookInLabel()->BoundsRect(), (TRect{0, 0, 98, 25}));
  EXPECT_EQ(w->FolderCombo()->Left(), 98);
  EXPECT_EQ(w->FolderCombo()->Width(), 300);
  const struct {
    TControl* Control;
    TRect Want;
  } tools[] = {
      {w->BackButton(), {408, 0, 435, 25}},
      {w->UpButton(), {435, 0, 462, 25}},
      {w->NewFolderButton(), {462, 0, 489, 25}},
      {w->ViewButton(), {489, 0, 526, 25}},
  };
  for (const auto& t : tools) EXPECT_EQ(t.Control->BoundsRect(), t.Want) << t.Control->ClassName();
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(w->PlaceButton(i)->BoundsRect(), (TRect{0, i * 70, 100, i * 70 + 70})) << i;
  EXPECT_EQ(w->FileNameEdit()->Left(), 80);
  EXPECT_EQ(w->FileNameEdit()->Top(), 10);
  EXPECT_EQ(w->FileNameEdit()->Width(), 600 - 170);
  EXPECT_EQ(w->FilterCombo()->BoundsRect(), (TRect{80, 45, 510, 45 + w->FilterCombo()->Height()}));
  EXPECT_EQ(w->OpenButton()->BoundsRect(), (TRect{520, 10, 590, 35}));
  EXPECT_EQ(w->CancelButton()->BoundsRect(), (TRect{520, 45, 590, 70}));
  EXPECT_EQ(w->FileNameLabel()->Height(), w->FileNameEdit()->Height() - 1);
  EXPECT_EQ(w->FileTypeLabel()->Height(), w->FilterCombo()->Height() - 1);
  EXPECT_EQ(w->HScrollBar()->Height(), 19);
  EXPECT_EQ(w->VScrollBar()->Width(), 19);
  EXPECT_EQ(w->ActiveControl(), w->FileNameEdit());
  // A larger window keeps the right-anchored parts at the right.
  w->SetClientWidth(900);
  EXPECT_EQ(w->OpenButton()->Left(), 800 - 80);
  EXPECT_EQ(w->FileNameEdit()->Width(), 800 - 170);
}

// With the dialog skin a smaller size asked for is raised to the
// controller's minimum (a client of at least 550 x 350).
TEST_F(OpenDialogTest, SkinnedWindowKeepsItsMinimumSize) {
  TqzSkinData* skin = testing::DialogSkin().Skin.get();
  dialog->SetSkinData(skin);
  dialog->SetCtrlSkinData(skin);
  dialog->DialogWidth = 200;
  dialog->DialogHeight = 100;
  auto w = BuildOpenDlgForm(dialog->Settings());
  EXPECT_GE(w->ClientWidth(), 550);
  EXPECT_GE(w->ClientHeight(), 350);
  EXPECT_EQ(w->FileNameEdit()->Width(), w->BottomPanel()->Width() - 170);
  EXPECT_EQ(w->OpenButton()->Left(), w->BottomPanel()->Width() - 80);
  EXPECT_EQ(w->ListPanel()->BoundsRect().Bottom, w->BottomPanel()->Top());
  // The list draws its rows and header from the same skin.
  EXPECT_EQ(w->ListView()->SkinData(), skin);
  EXPECT_EQ(w->ListView()->DrawSkin(), skin->DlgListViewDrawSkin);
  EXPECT_EQ(w->ListView()->HeaderSkinDataName(), dialog->LVHeaderSkinDataName);
}

TEST_F(OpenDialogTest, StartsInTheFileNamesFolderWithItsName) {
  dialog->SetFileName(P("sub/inner.txt"));
  EXPECT_FALSE(Run({[&](TqzOpenDlgForm& w) {
    EXPECT_EQ(w.CurrentPath(), P("sub"));
    EXPECT_EQ(w.FileNameEdit()->Text(), "inner.txt");
    EXPECT_EQ(w.History().Count(), 1);
    EXPECT_EQ(w.ListView()->ItemFocused(), 0);
    w.SetModalResult(mrCancel);
  }}));
  EXPECT_FALSE(stuck);
}

TEST_F(OpenDialogTest, DoubleClickOnAFileConfirmsIt) {
  EXPECT_TRUE(Run({[&](TqzOpenDlgForm& w) { DoubleClick(w, "a.txt"); }}));
  EXPECT_EQ(dialog->FileName(), P("a.txt"));
  ASSERT_EQ(dialog->Files().Count(), 1);
  EXPECT_EQ(dialog->Files()[0], P("a.txt"));
}

// Cancel keeps FileName and stores the filter index, size and view mode.
TEST_F(OpenDialogTest, CancelKeepsFileNameAndStoresTheRest) {
  dialog->SetFileName(P("a.txt"));
  dialog->Filter = "Text|*.txt|All|*";
  EXPECT_FALSE(Run({[&](TqzOpenDlgForm& w) {
                      w.FilterCombo()->SetItemIndex(1);
                      w.SetViewMode(qzvmDetails);
                      w.SetClientWidth(760);
                      w.SetClientHeight(400);
                    },
                    [&](TqzOpenDlgForm& w) { hp->InjectKey(VK_ESCAPE); }}));
  EXPECT_FALSE(stuck);
  EXPECT_EQ(dialog->FileName(), P("a.txt"));
  EXPECT_EQ(dialog->FilterIndex, 2);
  EXPECT_EQ(dialog->DialogWidth, 760);
  EXPECT_EQ(dialog->DialogHeight, 400);
  EXPECT_EQ(dialog->ViewMode(), qzvmDetails);
  EXPECT_EQ(dialog->Files().Count(), 0);
}

TEST_F(OpenDialogTest, FilterIndexSelectsTheMaskAndAFilterChangeRelists) {
  dialog->Filter = "Text|*.txt|Videos|*.avi;*.mp4";
  dialog->FilterIndex = 2;
  Run({[&](TqzOpenDlgForm& w) {
         EXPECT_EQ(w.ListView()->Mask(), "*.avi;*.mp4");
         EXPECT_EQ(Names(w), (std::vector<std::string>{"sub", "clip.avi", "clip.mp4"}));
         w.FilterCombo()->SetItemIndex(0);
         w.FilterChanged();
         EXPECT_EQ(Names(w), (std::vector<std::string>{"sub", "a.txt", "notes.TXT"}));
       },
       [&](TqzOpenDlgForm& w) { w.SetModalResult(mrCancel); }});
}

// A pattern typed into the edit becomes the list's mask; the window stays.
TEST_F(OpenDialogTest, TypedPatternChangesTheMask) {
  Run({[&](TqzOpenDlgForm& w) { Type(w, "*.png"); },
       [&](TqzOpenDlgForm& w) { hp->InjectKey(VK_RETURN); },
       [&](TqzOpenDlgForm& w) {
         EXPECT_EQ(w.ListView()->Mask(), "*.png");
         EXPECT_EQ(Names(w), (std::vector<std::string>{"sub", "b.png"}));
         w.SetModalResult(mrCancel);
       }});
  EXPECT_FALSE(stuck);
}

// The Open logic through the window: a typed name with the mask's
// extension, a missing one that keeps the window open, an absolute path,
// and a folder typed that is entered.
TEST_F(OpenDialogTest, OpenButtonWithTypedNames) {
  dialog->Filter = "Videos|*.avi;*.mp4";
  EXPECT_TRUE(Run({[&](TqzOpenDlgForm& w) {
                     Put(w, "nothing");
                     w.OpenClick();
                     EXPECT_EQ(w.ModalResult(), mrNone) << "a missing file keeps the window open";
                     Put(w, "sub");
                     w.OpenClick();
                     EXPECT_EQ(w.CurrentPath(), P("sub")) << "a typed folder is entered";
                     w.GoBack();
                     Put(w, "clip");
                     w.OpenClick();
                   }}));
  EXPECT_EQ(dialog->FileName(), P("clip.avi")) << "the first pattern's extension";
}

TEST_F(OpenDialogTest, TypedAbsolutePathAndNameTypedOverASelection) {
  EXPECT_TRUE(Run({[&](TqzOpenDlgForm& w) {
    w.ListView()->SetItemIndex(IndexOf(w, "a.txt"));
    Type(w, P("sub/inner.txt"));
  },
                   [&](TqzOpenDlgForm& w) { hp->InjectKey(VK_RETURN); }}));
  EXPECT_EQ(dialog->FileName(), P("sub/inner.txt"));
  ASSERT_EQ(dialog->Files().Count(), 1);
  EXPECT_EQ(dialog->Files()[0], P("sub/inner.txt"));
}

TEST_F(OpenDialogTest, DefaultExtWithoutCheckFileExists) {
  dialog->CheckFileExists = false;
  dialog->DefaultExt = "cfg";
  EXPECT_TRUE(Run({[&](TqzOpenDlgForm& w) { Type(w, "settings"); },
                   [&](TqzOpenDlgForm& w) { hp->InjectKey(VK_RETURN); }}));
  EXPECT_EQ(dialog->FileName(), P("settings.cfg"));
}

// Entering by double click, Back, Up, and Back after entering another
// folder from where Back led.
TEST_F(OpenDialogTest, HistoryBackAndUp) {
  int changes = 0;
  dialog->OnFolderChange = [&](TObject*) { ++changes; };
  // A folder is entered once the list has finished with the click: one turn later.
  auto turn = [](TqzOpenDlgForm&) {};
  Run({[&](TqzOpenDlgForm& w) { DoubleClick(w, "sub"); }, turn,
       [&](TqzOpenDlgForm& w) {
         EXPECT_EQ(w.CurrentPath(), P("sub"));
         EXPECT_EQ(w.ListView()->SelCount(), 0) << "the double click selects nothing in the new folder";
         DoubleClick(w, "deeper");
       },
       turn,
       [&](TqzOpenDlgForm& w) {
         EXPECT_EQ(w.CurrentPath(), P("sub/deeper"));
         EXPECT_EQ(w.History().Count(), 3);
         hp->InjectKey(VK_LEFT, kModAlt);
       },
       [&](TqzOpenDlgForm& w) {
         EXPECT_EQ(w.CurrentPath(), P("sub"));
         EXPECT_EQ(w.History().Count(), 2);
         w.GoUp();
         EXPECT_EQ(w.CurrentPath(), dir.string());
         w.GoBack();
         EXPECT_EQ(w.CurrentPath(), P("sub")) << "back to where Up was pressed";
         w.GoBack();
         EXPECT_EQ(w.CurrentPath(), dir.string());
         w.GoBack();
         EXPECT_EQ(w.CurrentPath(), dir.string()) << "one entry left: Back does nothing";
         w.SetModalResult(mrCancel);
       }});
  EXPECT_FALSE(stuck);
  EXPECT_GE(changes, 5);
}

// Two new folders in one Execute: "New Folder", then "New Folder(2)",
// each put into rename.
TEST_F(OpenDialogTest, NewFolderTwiceInOneExecute) {
  Run({[&](TqzOpenDlgForm& w) {
         w.NewFolder();
         EXPECT_TRUE(fs::is_directory(P("New Folder")));
         EXPECT_TRUE(w.ListView()->IsEditing());
         EXPECT_EQ(w.ListView()->ItemIndex(), IndexOf(w, "New Folder"));
         w.ListView()->EndEdit(false);
         w.NewFolder();
         EXPECT_TRUE(fs::is_directory(P("New Folder(2)")));
         EXPECT_EQ(w.NewFolderCounter(), 2);
         w.ListView()->EndEdit(false);
         w.SetModalResult(mrCancel);
       }});
  EXPECT_FALSE(stuck);
}

TEST_F(OpenDialogTest, NewFolderThatCannotBeMadeRaises) {
  Run({[&](TqzOpenDlgForm& w) {
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(dir.c_str(), W_OK) != 0) {
      EXPECT_THROW(w.NewFolder(), EShellError);
    }
    fs::permissions(dir, fs::perms::owner_all);
    w.SetModalResult(mrCancel);
  }});
}

TEST_F(OpenDialogTest, RenamingInTheListRenamesOnDisk) {
  Run({[&](TqzOpenDlgForm& w) {
         w.ListView()->SetItemIndex(IndexOf(w, "a.txt"));
         w.ListView()->SetFocus();
         ASSERT_TRUE(w.ListView()->EditCaption(IndexOf(w, "a.txt")));
         w.ListView()->Editor()->SetText("b.png");  // taken: refused
         w.ListView()->EndEdit(true);
         EXPECT_TRUE(fs::exists(P("a.txt")));
         ASSERT_TRUE(w.ListView()->EditCaption(IndexOf(w, "a.txt")));
         w.ListView()->Editor()->SetText("renamed.txt");
         w.ListView()->EndEdit(true);
       },
       [&](TqzOpenDlgForm& w) {
         EXPECT_TRUE(fs::exists(P("renamed.txt")));
         EXPECT_FALSE(fs::exists(P("a.txt")));
         EXPECT_GE(IndexOf(w, "renamed.txt"), 0);
         w.SetModalResult(mrCancel);
       }});
}

// Ctrl+H shows and hides the hidden items; Backspace in the list goes up.
TEST_F(OpenDialogTest, KeysOfTheWindow) {
  dialog->SetFileName(P("sub/inner.txt"));
  Run({[&](TqzOpenDlgForm& w) {
         w.ListView()->SetFocus();
         hp->InjectKey(VK_BACK);
       },
       [&](TqzOpenDlgForm& w) {
         EXPECT_EQ(w.CurrentPath(), dir.string());
         EXPECT_LT(IndexOf(w, ".secret"), 0);
         hp->InjectKey('H', kModCtrl);
       },
       [&](TqzOpenDlgForm& w) {
         EXPECT_GE(IndexOf(w, ".secret"), 0);
         EXPECT_GE(IndexOf(w, ".hiddendir"), 0);
         hp->InjectKey('L', kModCtrl);
       },
       [&](TqzOpenDlgForm& w) {
         EXPECT_EQ(w.ActiveControl(), w.FileNameEdit());
         EXPECT_EQ(w.FileNameEdit()->SelLength(), static_cast<int>(w.FileNameEdit()->Text().size()));
         hp->InjectKey(VK_UP, kModAlt);
       },
       [&](TqzOpenDlgForm& w) {
         EXPECT_EQ(w.CurrentPath(), dir.parent_path().string());
         w.SetModalResult(mrCancel);
       }});
  EXPECT_FALSE(stuck);
}

// Typing offers the common part of the matching names selected; Tab takes it.
TEST_F(OpenDialogTest, NamesCompleteAsTheUserTypes) {
  Run({[&](TqzOpenDlgForm& w) { Type(w, "cl"); },
       [&](TqzOpenDlgForm& w) {
         EXPECT_EQ(w.FileNameEdit()->Text(), "clip.");
         EXPECT_EQ(w.FileNameEdit()->SelStart(), 2);
         EXPECT_EQ(w.FileNameEdit()->SelLength(), 3);
         hp->InjectKey(VK_TAB);
       },
       [&](TqzOpenDlgForm& w) {
         EXPECT_EQ(w.FileNameEdit()->SelLength(), 0);
         EXPECT_EQ(w.FileNameEdit()->SelStart(), 5);
         hp->InjectText("a");
       },
       [&](TqzOpenDlgForm& w) {
         EXPECT_EQ(w.FileNameEdit()->Text(), "clip.avi");
         w.SetModalResult(mrCancel);
       }});
}

// Without thumbnails the menu has four views, and a remembered thumbnail
// mode opens as list.
TEST_F(OpenDialogTest, ViewMenuAndRememberedModes) {
  dialog->SetViewMode(qzvmBigThumbnails);
  Run({[&](TqzOpenDlgForm& w) {
    EXPECT_EQ(w.ViewMenu()->Items()->Count(), 7);
    EXPECT_EQ(w.ViewMode(), qzvmBigThumbnails);
    EXPECT_TRUE(w.ViewMenuItem(qzvmBigThumbnails)->Checked());
    EXPECT_EQ(w.ListView()->ThumbnailSize(), 128);
    w.SetModalResult(mrCancel);
  }});
  EXPECT_EQ(dialog->ViewMode(), qzvmBigThumbnails);
  dialog->ShowThumbnails = false;
  Run({[&](TqzOpenDlgForm& w) {
    EXPECT_EQ(w.ViewMenu()->Items()->Count(), 4);
    EXPECT_EQ(w.ViewMode(), qzvmList);
    EXPECT_TRUE(w.ViewMenuItem(qzvmList)->Checked());
    w.ViewMenuItem(qzvmLargeIcons)->Click();
    EXPECT_EQ(w.ListView()->ViewStyle(), vsIcon);
    EXPECT_FALSE(w.ListView()->ThumbnailsEnabled());
    w.SetModalResult(mrCancel);
  }});
  EXPECT_EQ(dialog->ViewMode(), qzvmLargeIcons);
}

TEST_F(OpenDialogTest, FolderComboFollowsTheListAndBrowsesIt) {
  dialog->SetFileName(P("sub/deeper/x"));
  Run({[&](TqzOpenDlgForm& w) {
    TqzSkinShellComboBox& combo = *w.FolderCombo();
    const auto& entries = combo.Entries();
    ASSERT_GE(combo.ItemIndex(), 2);
    const TqzShellComboEntry& current = entries[size_t(combo.ItemIndex())];
    EXPECT_EQ(current.Id.Path, P("sub/deeper"));
    const TqzShellComboEntry& parent = entries[size_t(combo.ItemIndex() - 1)];
    EXPECT_EQ(parent.Id.Path, P("sub"));
    EXPECT_EQ(parent.Level + 1, current.Level);
    EXPECT_EQ(entries[0].Level, 0) << "the root first";
    combo.OnFolderSelect(&combo, parent.Id);
    EXPECT_EQ(w.CurrentPath(), P("sub"));
    w.SetModalResult(mrCancel);
  }});
}

// Handlers that free the dialog component while its window is open: the
// window closes and Execute returns false without touching what is gone.
TEST_F(OpenDialogTest, HandlersThatFreeTheDialog) {
  const struct {
    const char* Name;
    std::function<void(TqzSkinOpenDialog&, std::function<void()>)> Install;
    bool DoubleClickFile;
  } cases[] = {
      {"OnFolderChange", [](TqzSkinOpenDialog& d, std::function<void()> free) {
         d.OnFolderChange = [free](TObject*) { free(); };
       }, false},
      {"OnClose", [](TqzSkinOpenDialog& d, std::function<void()> free) {
         d.OnClose = [free](TObject*) { free(); };
       }, true},
      {"OnShow", [](TqzSkinOpenDialog& d, std::function<void()> free) {
         d.OnShow = [free](TObject*) { free(); };
       }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    dialog = new TqzSkinOpenDialog(Application);
    dialog->InitialDir = dir.string();
    TComponentRef<TqzSkinOpenDialog> d(dialog.Get());
    c.Install(*dialog, [d] {
      if (d) delete d.Get();
    });
    const bool first = std::string(c.Name) == "OnFolderChange";
    const bool result = Run({[&](TqzOpenDlgForm& w) {
      if (first) DoubleClick(w, "sub");
      else if (c.DoubleClickFile) DoubleClick(w, "a.txt");
      else w.SetModalResult(mrCancel);
    }});
    EXPECT_FALSE(result && !c.DoubleClickFile);
    EXPECT_FALSE(d) << "the handler freed it";
    int windows = 0;
    for (int i = 0; i < Screen->FormCount(); ++i) windows += dynamic_cast<TqzOpenDlgForm*>(Screen->Forms(i)) ? 1 : 0;
    EXPECT_EQ(windows, 0) << "the window is freed";
  }
}

TEST_F(OpenDialogTest, EachExecuteBuildsANewWindow) {
  for (int round = 0; round < 3; ++round) {
    Run({[&](TqzOpenDlgForm& w) { w.SetModalResult(mrCancel); }});
    EXPECT_FALSE(stuck);
    EXPECT_EQ(dialog->Window(), nullptr);
  }
}

TEST_F(OpenDialogTest, FilterComboParsesOnlyADifferentFilter) {
  TqzSkinFilterComboBox combo(nullptr);
  EXPECT_EQ(combo.Filter(), "All files (*.*)|*.*");
  EXPECT_EQ(combo.Items().Count(), 1);
  combo.SetFilter("A|*.a|B|*.b");
  combo.SetItemIndex(1);
  combo.SetFilter("A|*.a|B|*.b");
  EXPECT_EQ(combo.ItemIndex(), 1) << "the same text is not parsed again";
  combo.SetFilter("a|*.a|B|*.b");
  EXPECT_EQ(combo.ItemIndex(), 0) << "file names here differ by case";
  EXPECT_EQ(combo.Mask(), "*.a");
}

}  // namespace
}  // namespace qz

namespace qz {
namespace {

THeadlessWindow& PlatformWindowOf(TForm& f) {
  return *static_cast<THeadlessWindow*>(f.WindowData()->platform.get());
}

// The Cancel button on the screen against the dialog skin's "button"
// composed directly from its description at the button's size (its
// normal look: the edit has the focus), outside the caption's area.
TEST_F(OpenDialogTest, CancelButtonShowsTheDialogSkinsComposition) {
  TqzSkinData* skin = testing::DialogSkin().Skin.get();
  dialog->SetSkinData(skin);
  dialog->SetCtrlSkinData(skin);
  auto w = BuildOpenDlgForm(dialog->Settings());
  w->Show();
  for (int i = 0; i < 10; ++i) {
    hp->AdvanceClock(25);
    Pump();
  }
  TqzSkinButton& b = *w->CancelButton();
  const auto& d =
      dynamic_cast<const TqzDataSkinButtonControl&>(*skin->CtrlList()[size_t(skin->FindControlIndex("button"))]);
  TqzSkinGeometry g = d.Geometry();
  TBitmap want;
  CreateSkinImage(g, CalcNewGeometry(g, TqzResizeMode::NinePart, b.Width(), b.Height()), true, b.Width(), b.Height(),
                  *skin->ActivePicture(d.PictureIndex), want);
  const TPixmap& shown = PlatformWindowOf(*w).Contents();
  const TPoint o = b.ClientToScreen({0, 0}) - w->BoundsRect().TopLeft();
  int differing = 0, textPixels = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const bool inText = x >= 12 && x < b.Width() - 12 && y >= 5 && y < b.Height() - 5;
      const bool same = (shown.At(o.X + x, o.Y + y) & 0xFFFFFF) == (want.Pixels().At(x, y) & 0xFFFFFF);
      (inText ? textPixels : differing) += same ? 0 : 1;
    }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(textPixels, 0) << "the caption is drawn";
}

}  // namespace
}  // namespace qz
