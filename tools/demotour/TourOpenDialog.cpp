// The demo's open dialog ("Show open dialog") on a folder the tour makes:
// each view style and the thumbnails, the view menu and both combo boxes
// open, a folder entered by a double click, Back and Up, a new folder
// being renamed, a places button pressed and a name completed in the edit.
#include <stdlib.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "host/graphics/PngWriter.h"
#include "host/graphics/StockIcons.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinLabel.h"
#include "skin/controls/SkinPageControl.h"
#include "skin/dialogs/FilterComboBox.h"
#include "skin/dialogs/ShellComboBox.h"
#include "skin/dialogs/ShellListView.h"
#include "skin/dialogs/SkinOpenDialog.h"
#include "skin/popups/SkinMenuButton.h"
#include "tools/demotour/Tour.h"

namespace qz::tour {

namespace {

constexpr int kPatienceMs = 3000;
constexpr int kFadeInMs = 900;

fs::path MakeOpenTourFolder() {
  char name[] = "/tmp/qz-tour-open-XXXXXX";
  if (!mkdtemp(name)) return {};
  const fs::path dir = name;
  for (const char* sub : {"Holiday", "Projects", "Projects/2026", ".cache"}) fs::create_directory(dir / sub);
  int side = 24;
  for (const char* picture : {"beach.png", "mountains.png", "portrait.png"}) {
    SavePng(DrawStockIcon(TStockIcon::Information, side), (dir / picture).string());
    side *= 2;
  }
  std::ofstream(dir / "holiday.mp4") << std::string("\0\0\0\x18" "ftypmp42", 12) << std::string(300000, 'v');
  std::ofstream(dir / "holiday-cut.mp4") << std::string("\0\0\0\x18" "ftypmp42", 12) << std::string(90000, 'v');
  std::ofstream(dir / "notes.txt") << "Convert the holiday video.\n";
  std::ofstream(dir / "Projects" / "plan.txt") << "plan\n";
  return dir;
}

TqzOpenDlgForm* OpenWindow(TForm1& main) {
  TqzOpenDlgForm* w = main.qzSkinOpenDialog1 ? main.qzSkinOpenDialog1->Window() : nullptr;
  return w && w->FormState().Contains(TFormStateFlag::fsModal) ? w : nullptr;
}

// Steps the modal loop runs whenever it waits for input while the dialog
// is open: each injects input, takes a picture or lets 25 ms pass.
class TOpenSteps {
 public:
  TOpenSteps(TTour& tour, TForm1& main) : tour_(tour), main_(main) {}
  void Add(std::function<void(TqzOpenDlgForm&)> step) { steps_.push_back(std::move(step)); }
  void Wait(int ms) {
    for (int t = 0; t < ms; t += 25) Add([this](TqzOpenDlgForm&) { tour_.Platform().AdvanceClock(25); });
  }
  void Shot(const std::string& name, int waitMs = 400) {
    Wait(waitMs);
    Add([this, name](TqzOpenDlgForm&) { tour_.ShotAsIs(name); });
  }
  void Run(const std::function<void()>& show) {
    tour_.Platform().SetIdleHandler([this] { return Idle(); });
    show();
    tour_.Platform().SetIdleHandler({});
    if (stuck_) std::fprintf(stderr, "demotour: the open dialog did not close by its steps\n");
  }

 private:
  bool Idle() {
    TqzOpenDlgForm* w = OpenWindow(main_);
    if (w == nullptr) return false;
    if (next_ < steps_.size()) {
      steps_[next_++](*w);
      return true;
    }
    if (waited_ < kPatienceMs) {
      waited_ += 25;
      tour_.Platform().AdvanceClock(25);
      return true;
    }
    stuck_ = true;
    w->SetModalResult(mrCancel);
    return true;
  }

  TTour& tour_;
  TForm1& main_;
  std::vector<std::function<void(TqzOpenDlgForm&)>> steps_;
  size_t next_ = 0;
  int waited_ = 0;
  bool stuck_ = false;
};

TPoint CentreOf(TControl& control) { return control.ClientToScreen({control.Width() / 2, control.Height() / 2}); }

TPoint ItemPoint(TqzOpenDlgForm& w, const std::string& name) {
  TqzSkinFileListView& list = *w.ListView();
  for (int i = 0; i < list.FolderCount(); ++i)
    if (list.Folder(i).RelativeId() == name) {
      list.MakeVisible(i);
      const TRect r = list.DisplayRect(i, drLabel);
      return list.ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
    }
  return CentreOf(list);
}

}  // namespace

void TourOpenDialog(TTour& tour, TForm1& main, TForm2& second) {
  if (main.qzSkinOpenDialog1 == nullptr) return;
  const fs::path dir = MakeOpenTourFolder();
  if (dir.empty()) return;
  second.Hide();
  main.SetFocus();
  tour.Settle();
  if (main.qzSkinPageControl1->ActivePageIndex() != 0) {
    tour.Press(CentreOf(*main.qzSkinButton1));
    tour.Release(CentreOf(*main.qzSkinButton1));
  }
  TqzSkinOpenDialog& dialog = *main.qzSkinOpenDialog1;
  const std::string savedInitialDir = dialog.InitialDir;
  const int savedViewMode = dialog.ViewMode();
  dialog.InitialDir = dir.string();
  THeadlessPlatform& p = tour.Platform();
  const TPoint away = TTour::OnScreen(main, {-40, -40});
  tour.MoveTo(away);

  TOpenSteps steps(tour, main);
  steps.Shot("open-demo", kFadeInMs);
  // Each view style, then the thumbnails.
  const std::pair<int, const char*> modes[] = {
      {qzvmLargeIcons, "open-view-large-icons"}, {qzvmSmallIcons, "open-view-small-icons"},
      {qzvmDetails, "open-view-details"},        {qzvmThumbnails, "open-view-thumbnails"},
      {qzvmBigThumbnails, "open-view-big-thumbnails"}, {qzvmVeryBigThumbnails, "open-view-very-big-thumbnails"},
      {qzvmList, "open-view-list"},
  };
  for (const auto& [mode, name] : modes) {
    const int m = mode;
    steps.Add([m](TqzOpenDlgForm& w) { w.SetViewMode(m); });
    steps.Shot(name, 600);
  }
  // The view menu, opened by its button and closed with Escape.
  steps.Add([&p](TqzOpenDlgForm& w) {
    p.InjectMouseMove(CentreOf(*w.ViewButton()));
    p.InjectMouseDown();
    p.InjectMouseUp();
  });
  steps.Shot("open-view-menu", 600);
  // A click beside the menu closes it (Escape could reach the dialog too).
  steps.Add([&p](TqzOpenDlgForm& w) { p.InjectClick(CentreOf(*w.FileNameLabel())); });
  steps.Wait(300);
  // The filter combo open.
  steps.Add([&p](TqzOpenDlgForm& w) { p.InjectClick(CentreOf(*w.FilterCombo())); });
  steps.Shot("open-filter-combo", 600);
  steps.Add([](TqzOpenDlgForm& w) { w.FilterCombo()->CloseUp(false); });
  steps.Wait(200);
  // A folder entered by a double click, then Back and Up.
  steps.Add([&p](TqzOpenDlgForm& w) {
    const TPoint at = ItemPoint(w, "Projects");
    p.InjectClick(at);
    p.InjectClick(at);
  });
  steps.Shot("open-folder-entered");
  steps.Add([&p](TqzOpenDlgForm& w) { p.InjectClick(CentreOf(*w.BackButton())); });
  steps.Shot("open-back");
  steps.Add([&p](TqzOpenDlgForm& w) { p.InjectClick(CentreOf(*w.UpButton())); });
  steps.Shot("open-up");
  steps.Add([dir](TqzOpenDlgForm& w) { w.BrowseTo(TShellId::FromPath(dir.string())); });
  // The folder combo open.
  steps.Add([&p](TqzOpenDlgForm& w) { p.InjectClick(CentreOf(*w.FolderCombo())); });
  steps.Shot("open-folder-combo", 600);
  steps.Add([](TqzOpenDlgForm& w) { w.FolderCombo()->CloseUp(false); });
  steps.Wait(200);
  // A new folder being renamed.
  steps.Add([&p](TqzOpenDlgForm& w) { p.InjectClick(CentreOf(*w.NewFolderButton())); });
  steps.Wait(200);
  steps.Add([&p](TqzOpenDlgForm&) { p.InjectText("Renders"); });
  steps.Shot("open-new-folder-renaming");
  steps.Add([&p](TqzOpenDlgForm&) { p.InjectKey(VK_RETURN); });
  steps.Wait(200);
  // A places button pressed (held down for the picture).
  steps.Add([&p](TqzOpenDlgForm& w) {
    p.InjectMouseMove(CentreOf(*w.PlaceButton(2)));
    p.InjectMouseDown();
  });
  steps.Shot("open-place-pressed", 300);
  steps.Add([&p](TqzOpenDlgForm&) { p.InjectMouseUp(); });
  steps.Shot("open-place-computer");
  steps.Add([dir](TqzOpenDlgForm& w) { w.BrowseTo(TShellId::FromPath(dir.string())); });
  // A name completed in the edit.
  steps.Add([&p](TqzOpenDlgForm& w) {
    w.FileNameEdit()->SetFocus();
    w.FileNameEdit()->SetText("");
    p.InjectMouseMove({2, 2});
    p.InjectText("hol");
  });
  steps.Shot("open-name-completed");
  steps.Add([&p](TqzOpenDlgForm&) { p.InjectKey(VK_ESCAPE); });
  steps.Run([&] {
    tour.Press(CentreOf(*main.qzSkinButton12));
    tour.Release(CentreOf(*main.qzSkinButton12));
  });

  dialog.InitialDir = savedInitialDir;
  dialog.SetViewMode(savedViewMode);
  tour.MoveTo(away);
  tour.Settle(600);
  std::error_code ignored;
  fs::remove_all(dir, ignored);
}

}  // namespace qz::tour
