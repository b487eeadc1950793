// A monkey over the open dialog in a folder the test makes (sub-folders,
// files of several types, hidden files): random keys, clicks, view modes
// and filters. After every event the window keeps its minimum size, the
// list holds exactly the folder's entries that pass the mask, and no
// worker thread outlives the dialog.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "host/base/Threads.h"
#include "skin/dialogs/FilterComboBox.h"
#include "skin/dialogs/ShellListView.h"
#include "skin/dialogs/SkinOpenDialog.h"
#include "skin/form/Orvane.h"
#include "tests/host_ui/UiTestSupport.h"
#include "tests/skins/DemoSkins.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

class OpenDialogMonkeyTest : public testing::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    char name[] = "/tmp/qz-opendlg-monkey-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    root = name;
    for (const char* sub : {"Music", "Photos", "Photos/2025", ".config", "Empty"}) fs::create_directory(root / sub);
    for (const char* file : {"song.mp3", "Photos/beach.png", "Photos/2025/x.jpg", "clip.avi", "clip.AVI.txt",
                             "notes.txt", ".hidden.txt", "archive.zip", "Music/track.mp3", "README"})
      std::ofstream(root / file) << file;
  }
  void TearDown() override {
    UiTest::TearDown();
    std::error_code ignored;
    fs::permissions(root, fs::perms::owner_all, ignored);
    fs::remove_all(root, ignored);
  }

  // The names the list must hold: the folder's entries that its object
  // types and mask let through.
  static std::set<std::string> Expected(TqzSkinFileListView& list) {
    std::set<std::string> out;
    if (list.Root().IsVirtual()) return out;
    const bool hidden = list.ObjectTypes().Contains(TShellObjectType::otHidden);
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(list.Root().Path, ec)) {
      const std::string name = e.path().filename().string();
      if (!hidden && IsHiddenName(name)) continue;
      if (e.is_directory() || MatchesFileMask(name, list.Mask())) out.insert(name);
    }
    return out;
  }
  static std::set<std::string> Listed(TqzSkinFileListView& list) {
    std::set<std::string> out;
    for (int i = 0; i < list.FolderCount(); ++i) out.insert(list.Folder(i).RelativeId());
    return out;
  }

  fs::path root;
};

TEST_F(OpenDialogMonkeyTest, RandomEventsKeepTheWindowAndListConsistent) {
  TqzSkinData* skin = testing::DialogSkin().Skin.get();
  TComponentRef<TqzSkinOpenDialog> dialog(new TqzSkinOpenDialog(Application));
  dialog->SetSkinData(skin);
  dialog->SetCtrlSkinData(skin);
  dialog->InitialDir = root.string();
  dialog->Filter = "Audio|*.mp3|Video|*.avi;*.mkv|Text|*.txt|All|*";
  dialog->MultiSelection = true;
  std::mt19937 random(20261211);
  int events = 0;
  const int kEvents = 400;
  hp->SetIdleHandler([&] {
    TqzOpenDlgForm* w = dialog ? dialog->Window() : nullptr;
    if (w == nullptr || !w->FormState().Contains(TFormStateFlag::fsModal)) return false;
    hp->AdvanceClock(25);
    if (events >= kEvents) {
      w->SetModalResult(mrCancel);
      return true;
    }
    ++events;
    TqzSkinFileListView& list = *w->ListView();
    // Stay inside the test's folder.
    if (list.Root().IsVirtual() || list.Root().Path.rfind(root.string(), 0) != 0)
      w->BrowseTo(TShellId::FromPath(root.string()));
    const TRect frame = [&] {
      TRect r;
      GetWindowRect(w->Handle(), r);
      return r;
    }();
    switch (random() % 10) {
      case 0: {
        static const int keys[] = {VK_DOWN, VK_UP, VK_HOME, VK_END, VK_NEXT, VK_RETURN, VK_BACK, VK_F5, VK_SPACE};
        list.SetFocus();
        hp->InjectKey(keys[random() % std::size(keys)]);
        break;
      }
      case 1: {
        static const std::pair<int, uint32_t> chords[] = {
            {'H', kModCtrl}, {VK_LEFT, kModAlt}, {VK_UP, kModAlt}, {'L', kModCtrl}, {'A', kModCtrl}};
        const auto& [key, mods] = chords[random() % std::size(chords)];
        hp->InjectKey(key, mods);
        break;
      }
      case 2: w->SetViewMode(int(random() % kOpenViewModeCount)); break;
      case 3:
        w->FilterCombo()->SetItemIndex(int(random() % 4));
        w->FilterChanged();
        break;
      case 4: {
        static const char* texts[] = {"c", "no", "*.txt", "Photos", "zz", "~", "/nonexistent/x"};
        hp->InjectText(texts[random() % std::size(texts)]);
        break;
      }
      case 5: {
        // A click (or double click) anywhere in the list, never on Open.
        const TPoint at = list.ClientToScreen({int(random() % std::max(1, list.Width())),
                                               int(random() % std::max(1, list.Height()))});
        hp->InjectClick(at);
        if (random() % 2) hp->InjectClick(at);
        break;
      }
      case 6: w->GoBack(); break;
      case 7: w->GoUp(); break;
      case 8:
        // The window resized by its controller's rules (its limits hold).
        w->SetBounds(frame.Left, frame.Top, 300 + int(random() % 700), 200 + int(random() % 500));
        break;
      default: hp->InjectKey(VK_TAB); break;
    }
    return true;
  });
  int executes = 0;
  while (events < kEvents && dialog && executes < 200) {
    ++executes;
    dialog->Execute();
    EXPECT_EQ(TThread::RunningCount(), 0) << "no worker outlives the dialog";
  }
  hp->SetIdleHandler({});
  EXPECT_GE(events, kEvents);
  delete dialog.Get();
}

// The invariants, checked after each event of a shorter run.
TEST_F(OpenDialogMonkeyTest, InvariantsAfterEachEvent) {
  TComponentRef<TqzSkinOpenDialog> dialog(new TqzSkinOpenDialog(Application));
  TqzSkinData* skin = testing::DialogSkin().Skin.get();
  dialog->SetSkinData(skin);
  dialog->SetCtrlSkinData(skin);
  dialog->InitialDir = root.string();
  dialog->Filter = "Audio|*.mp3|Video|*.avi;*.mkv|Text|*.txt|All|*";
  std::mt19937 random(7);
  int events = 0;
  hp->SetIdleHandler([&] {
    TqzOpenDlgForm* w = dialog ? dialog->Window() : nullptr;
    if (w == nullptr || !w->FormState().Contains(TFormStateFlag::fsModal)) return false;
    hp->AdvanceClock(25);
    if (!w->Listed()) w->ListStartFolder();
    TqzSkinFileListView& list = *w->ListView();
    const TqzSizeLimits limits = w->Orvane()->SizeLimits();
    EXPECT_GE(w->Width(), limits.MinWidth) << "event " << events;
    EXPECT_GE(w->Height(), limits.MinHeight) << "event " << events;
    EXPECT_EQ(Listed(list), Expected(list)) << "event " << events << " in " << list.Root().Path;
    if (events++ >= 150 || ::testing::Test::HasFailure()) {
      w->SetModalResult(mrCancel);
      return true;
    }
    if (list.Root().IsVirtual() || list.Root().Path.rfind(root.string(), 0) != 0)
      w->BrowseTo(TShellId::FromPath(root.string()));
    switch (random() % 6) {
      case 0: hp->InjectKey('H', kModCtrl); break;
      case 1:
        w->FilterCombo()->SetItemIndex(int(random() % 4));
        w->FilterChanged();
        break;
      case 2: {
        const int n = list.FolderCount();
        if (n > 0) {
          const int i = int(random() % n);
          if (list.Folder(i).IsFolder()) w->BrowseTo(list.Folder(i).AbsoluteId());
        }
        break;
      }
      case 3: w->GoBack(); break;
      case 4: w->SetViewMode(int(random() % kOpenViewModeCount)); break;
      default: w->SetBounds(w->Left(), w->Top(), 200 + int(random() % 600), 150 + int(random() % 400)); break;
    }
    return true;
  });
  dialog->Execute();
  hp->SetIdleHandler({});
  EXPECT_EQ(TThread::RunningCount(), 0);
  delete dialog.Get();
}

}  // namespace
}  // namespace qz
