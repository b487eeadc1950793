// The folder dialog: the demo's "Show select path dialog", then a dialog
// with the tool bar over a folder tree the tour makes: a folder expanded
// and selected by keys, a path typed into the edit that the tree follows,
// and a new folder made.
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinPageControl.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/dialogs/DirTreeView.h"
#include "skin/dialogs/SelectDirectoryDialog.h"
#include "tools/demotour/Tour.h"

namespace qz::tour {

namespace {

constexpr int kPatienceMs = 3000;
constexpr int kFadeInMs = 900;

TqzSelDirDlgForm* OpenFolderDialog() {
  for (int i = 0; i < Screen->FormCount(); ++i)
    if (auto* f = dynamic_cast<TqzSelDirDlgForm*>(Screen->Forms(i)))
      if (f->FormState().Contains(TFormStateFlag::fsModal)) return f;
  return nullptr;
}

// Steps the modal loop runs whenever it waits while the dialog is open; a
// dialog still open well past its last step is cancelled.
class TFolderDialogSteps {
 public:
  explicit TFolderDialogSteps(THeadlessPlatform& platform) : p_(platform) {}
  void Add(std::function<void(TqzSelDirDlgForm&)> step) { steps_.push_back(std::move(step)); }
  void Wait(int ms) {
    for (int t = 0; t < ms; t += 25) Add([this](TqzSelDirDlgForm&) { p_.AdvanceClock(25); });
  }
  void Key(int vk) {
    Add([this, vk](TqzSelDirDlgForm&) { p_.InjectKey(vk); });
    Wait(100);
  }
  void Run(const std::function<void()>& show) {
    p_.SetIdleHandler([this] { return Idle(); });
    show();
    p_.SetIdleHandler({});
    if (stuck_) std::fprintf(stderr, "demotour: the folder dialog did not close by its steps\n");
  }

 private:
  bool Idle() {
    TqzSelDirDlgForm* open = OpenFolderDialog();
    if (open == nullptr) return false;
    if (next_ < steps_.size()) {
      steps_[next_++](*open);
      return true;
    }
    if (waited_ < kPatienceMs) {
      waited_ += 25;
      p_.AdvanceClock(25);
      return true;
    }
    stuck_ = true;
    open->SetModalResult(mrCancel);
    return true;
  }

  THeadlessPlatform& p_;
  std::vector<std::function<void(TqzSelDirDlgForm&)>> steps_;
  size_t next_ = 0;
  int waited_ = 0;
  bool stuck_ = false;
};

TPoint CentreOf(TControl& control) { return control.ClientToScreen({control.Width() / 2, control.Height() / 2}); }

// A small library of folders for the dialog to show.
std::string MakeFolders() {
  char tmpl[] = "/tmp/qz-tour-folders-XXXXXX";
  if (!mkdtemp(tmpl)) return {};
  const std::string root = tmpl;
  for (const char* d : {"Movies", "Movies/Holiday 2025", "Movies/Birthday", "Music", "Music/Live",
                        "Music/Studio", "Pictures", "Projects", "Projects/Converter"})
    ::mkdir((root + "/" + d).c_str(), 0755);
  return root;
}

}  // namespace

void TourSelectDirectory(TTour& tour, TForm1& main, TForm2& second) {
  second.Hide();
  main.SetFocus();
  tour.Settle();
  if (main.qzSkinPageControl1->ActivePageIndex() != 0) {
    tour.Press(CentreOf(*main.qzSkinButton1));
    tour.Release(CentreOf(*main.qzSkinButton1));
  }
  const TPoint away = TTour::OnScreen(main, {-40, -40});
  tour.MoveTo(away);
  THeadlessPlatform& p = tour.Platform();

  {  // The demo's own folder dialog, from its button: the computer folder.
    TFolderDialogSteps steps(p);
    steps.Wait(kFadeInMs);
    steps.Add([&](TqzSelDirDlgForm&) { tour.ShotAsIs("seldir-demo"); });
    steps.Key(VK_ESCAPE);
    steps.Run([&] {
      tour.Press(CentreOf(*main.qzSkinButton13));
      tour.Release(CentreOf(*main.qzSkinButton13));
    });
    tour.MoveTo(away);
  }

  const std::string root = MakeFolders();
  if (root.empty()) return;
  TqzSkinSelectDirectoryDialog dialog(&main);
  dialog.SetSkinData(main.qzSkinData2);
  dialog.SetCtrlSkinData(main.qzSkinData2);
  dialog.ShowToolBar = true;
  dialog.Directory = root;
  {
    TFolderDialogSteps steps(p);
    steps.Wait(kFadeInMs);
    // Into "Movies" by keys: down to it, open it, down to its first folder.
    steps.Key(VK_DOWN);
    steps.Key(VK_RIGHT);
    steps.Key(VK_DOWN);
    steps.Add([&](TqzSelDirDlgForm&) { tour.ShotAsIs("seldir-keys"); });
    // A path typed into the edit: the tree follows on Enter.
    steps.Add([&](TqzSelDirDlgForm& f) { p.InjectClick(CentreOf(*f.PathEdit())); });
    steps.Wait(100);
    steps.Add([&](TqzSelDirDlgForm& f) { f.PathEdit()->SelectAll(); });
    steps.Add([&](TqzSelDirDlgForm&) { p.InjectText(root + "/Music/Studio"); });
    steps.Wait(100);
    steps.Key(VK_RETURN);
    steps.Add([&](TqzSelDirDlgForm&) { tour.ShotAsIs("seldir-path-typed"); });
    // The new-folder button makes "New Folder" in the selected folder.
    steps.Add([&](TqzSelDirDlgForm& f) { p.InjectClick(CentreOf(*f.NewFolderButton())); });
    steps.Wait(300);
    steps.Add([&](TqzSelDirDlgForm& f) {
      f.Tree()->SetFocus();
      f.Tree()->Selected()->Expand();
    });
    steps.Wait(100);
    steps.Add([&](TqzSelDirDlgForm&) { tour.ShotAsIs("seldir-new-folder"); });
    steps.Key(VK_ESCAPE);
    steps.Run([&] { dialog.Execute(); });
  }
  tour.MoveTo(away);
  std::error_code ignored;
  std::filesystem::remove_all(root, ignored);
}

}  // namespace qz::tour
