// The file list view of the dialogs on a folder the tour makes in a
// temporary place (folders, pictures, a video, hidden files): each view
// style, the details sorted by each column both ways, a rename, the
// thumbnails filled in, the dialog skin's look, and a file appearing after
// it was made on disk.
#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>
#include <functional>

#include "host/base/Threads.h"
#include "host/graphics/PngWriter.h"
#include "host/graphics/StockIcons.h"
#include "host/shell/Thumbnails.h"
#include "host/ui/ImgList.h"
#include "skin/dialogs/ShellListView.h"
#include "skin/draw/PngImage.h"
#include "app/Unit1.h"
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

// Runs what the view's worker threads queued until `done` holds (bounded).
void SettleUntil(TTour& tour, const std::function<bool()>& done) {
  for (int i = 0; i < 400 && !done(); ++i) {
    CheckSynchronize(10);
    tour.Settle(25);
  }
  tour.Settle();
}

// Colourful pictures for the thumbnails: bands of the palette.
TPixmap Landscape(int w, int h, uint32_t sky, uint32_t ground) {
  TPixmap p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.At(x, y) = y < h * 3 / 5 - (x * h / 5) / w ? sky : ground;
  return p;
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

void TourFileListView(TTour& tour, TForm1& form1, TForm2&) {
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

  // Thumbnails in the icon view, made by the workers into a cache of the
  // tour's own (the user's cache stays as it was).
  SavePng(Landscape(320, 200, 0xFF6FA8DCu, 0xFF3C8D40u), (dir / "field.png").string());
  SavePng(Landscape(200, 300, 0xFFF6B26Bu, 0xFF2E4A7Du), (dir / "sunset.png").string());
  TThumbnailSettings settings;
  settings.CacheRoot = (dir / ".cache" / "thumbnails").string();
  settings.DecodePng = [](std::span<const uint8_t> b) { return std::optional<TPixmap>(TqzPngImage::DecodeToPixmap(b)); };
  view->SetThumbnailSource(std::make_shared<TThumbnails>(settings));
  view->SetViewStyle(vsIcon);
  view->SetThumbnailSize(64);
  view->SetThumbnailsEnabled(true);
  view->Populate();
  SettleUntil(tour, [&] {
    for (int i = 0; i < view->FolderCount(); ++i) {
      const std::string& name = view->Folder(i).RelativeId();
      if (name.ends_with(".png") && !view->Folder(i).HasThumbnail) return false;
    }
    return true;
  });
  tour.Shot("files-thumbnails");

  // The dialog skin's items and header.
  view->SetThumbnailsEnabled(false);
  view->SetSkinData(form1.qzSkinData2);
  view->SetHeaderSkinDataName("resizebutton");
  view->SetViewStyle(vsReport);
  view->Populate();
  view->SetItemIndex(2);
  view->SetSelected(4, true);
  view->SetFocus();
  tour.Shot("files-skinned-report");

  // A file made on disk shows up by itself.
  std::ofstream(dir / "converted.mp4") << std::string("\0\0\0\x18" "ftypmp42", 12);
  SettleUntil(tour, [&] {
    for (int i = 0; i < view->FolderCount(); ++i)
      if (view->Folder(i).RelativeId() == "converted.mp4") return true;
    return false;
  });
  tour.Shot("files-appeared");

  delete form;
  tour.Settle();
  std::error_code ignored;
  fs::remove_all(dir, ignored);
  tour.MoveTo({2, 2});
}

}  // namespace qz::tour
