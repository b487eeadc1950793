// The file list view of the dialogs on a folder the tour makes in a
// temporary place (folders, pictures, a video, hidden files): each view
// style, the details sorted by each column both ways, and a rename.
#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>

#include "host/graphics/PngWriter.h"
#include "host/graphics/StockIcons.h"
#include "host/ui/ImgList.h"
#include "skin/dialogs/ShellListView.h"
#include "tools/demotour/Tour.h"

namespace qz::tour {

namespace {

// Folders, pictures of a few sizes, a video and hidden files.
fs::path MakeTourFolder() {
  char name[] = "/tmp/qz-tour-files-XXXXXX";
  if (!mkdtemp(name)) return {};
  const fs::path dir = name;
  for (const char* sub : {"Music", "Photos", "Projects", ".cache"}) fs::create_directory(dir / sub);
  int side = 24;
  for (const char* picture : {"beach.png", "mountains.png", "portrait.png"}) {
    SavePng(DrawStockIcon(TStockIcon::Information, side), (dir / picture).string());
    side *= 2;
  }
  std::ofstream(dir / "holiday.mp4") << std::string("\0\0\0\x18" "ftypmp42", 12) << std::string(300000, 'v');
  std::ofstream(dir / "notes.txt") << "Convert the holiday video.\n";
  std::ofstream(dir / ".hidden-settings") << "x";
  return dir;
}

void AddIcon(TImageList& list, TStockIcon icon) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.Pixels() = DrawStockIcon(icon, list.Width());
  b.SetAlphaPresent(true);
  b.Modified();
  list.Add(b);
}

}  // namespace

void TourFileListView(TTour& tour, TForm1&, TForm2&) {
  const fs::path dir = MakeTourFolder();
  if (dir.empty()) return;
  auto* form = new TForm(Application);
  form->SetCaption("Files");
  form->SetBounds(60, 60, 660, 420);
  auto* small = new TImageList(form);
  auto* large = new TImageList(form);
  large->SetSize(32, 32);
  for (TImageList* list : {small, large}) {
    AddIcon(*list, TStockIcon::Folder);
    AddIcon(*list, TStockIcon::File);
  }
  auto* view = new TqzSkinFileListView(form);
  view->SetParent(form);
  view->SetAlign(alClient);
  view->SetSmallImages(small);
  view->SetLargeImages(large);
  view->OnGetIcon = [](TObject*, TqzShellFolder& item, bool) { return item.IsFolder() ? 0 : 1; };
  view->SetRoot(TShellId::FromPath(dir.string()));
  form->Show();
  tour.Settle();

  const std::pair<TViewStyle, const char*> styles[] = {
      {vsIcon, "files-icons"}, {vsSmallIcon, "files-small-icons"}, {vsList, "files-list"}, {vsReport, "files-report"}};
  for (auto [style, name] : styles) {
    view->SetViewStyle(style);
    view->Populate();
    tour.Shot(name);
  }
  const char* columns[] = {"name", "size", "type", "modified"};
  for (int c = 0; c < 4; ++c) {
    const TRect r = view->ColumnRect(c);
    const TPoint at = view->ClientToScreen({r.Left + 20, (r.Top + r.Bottom) / 2});
    for (const char* direction : {"up", "down"}) {
      tour.Platform().InjectClick(at);
      tour.Settle();
      tour.Shot(std::string("files-sorted-") + columns[c] + "-" + direction);
    }
  }
  view->SetItemIndex(view->FolderCount() - 1);
  view->SetFocus();
  tour.Key(VK_F2);
  tour.Platform().InjectText("renamed");
  tour.Settle();
  tour.Shot("files-renaming");
  tour.Key(VK_ESCAPE);

  delete form;
  tour.Settle();
  std::error_code ignored;
  fs::remove_all(dir, ignored);
  tour.MoveTo({2, 2});
}

}  // namespace qz::tour
