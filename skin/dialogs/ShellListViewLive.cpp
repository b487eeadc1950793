// The shell list view's live parts: the thumbnail workers, following the
// folder on disk, and the icons of the items' types.
#include <sys/stat.h>

#include <unordered_map>

#include "host/graphics/Bitmap.h"
#include "host/shell/MimeDatabase.h"
#include "host/shell/Thumbnails.h"
#include "host/shell/TypeIcons.h"
#include "skin/base/ShellChangeNotifier.h"
#include "skin/dialogs/ShellListView.h"
#include "skin/dialogs/ShellThumbnailThread.h"
#include "skin/draw/PngImage.h"

namespace qz {

namespace {

TIconDecoder PngReader() {
  return [](std::span<const uint8_t> bytes) { return std::optional<TPixmap>(TqzPngImage::DecodeToPixmap(bytes)); };
}

bool IsExistingFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Whether two listings of one name show the same file (its row can stay).
bool SameEntry(const TFolderEntry& a, const TFolderEntry& b) {
  return a.Kind == b.Kind && a.IsLink == b.IsLink && a.Size == b.Size && a.MTimeSec == b.MTimeSec &&
         a.MTimeNsec == b.MTimeNsec && a.Mode == b.Mode;
}

void AddPixmap(TCustomImageList& list, const TPixmap& picture) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.Pixels() = picture;
  b.SetAlphaPresent(true);
  b.Modified();
  list.Add(b);
}

}  // namespace

TTypeIcons& ShellTypeIcons() {
  static TTypeIcons* icons = new TTypeIcons(TIconTheme::Shared(), TMimeDatabase::Shared(), PngReader());
  return *icons;
}

// ---------------------------------------------------------------------------
// Type icons: the view's own image lists hold the type icons in the order
// of their indexes, filled up to the index asked for.

int TqzCustomShellListView::TypeIconIndex(TqzShellFolder& Folder, bool Large) {
  TCustomImageList* list = Large ? typeLarge_ : typeSmall_;
  if (!list || (Large ? LargeImages() : SmallImages()) != list) return -1;
  TTypeIcons& icons = ShellTypeIcons();
  const int index = icons.IndexOf(Folder.MimeType());
  for (TCustomImageList* l : {typeSmall_, typeLarge_}) {
    const TTypeIconSize size = l == typeLarge_ ? TTypeIconSize::Large : TTypeIconSize::Small;
    while (l->Count() <= index) {
      const auto icon = icons.Icon(l->Count(), size);
      if (!icon) return -1;
      AddPixmap(*l, *icon);
    }
  }
  return index;
}

// ---------------------------------------------------------------------------
// Thumbnails

void TqzCustomShellListView::SetThumbnailsEnabled(bool V) {
  if (V == thumbnails_) return;
  thumbnails_ = V;
  SetLargeIconSize(V ? thumbnailSize_ : 0);
  // Switched on over a listing: the workers start on it; off: they stop.
  if (folders_.empty()) return;
  tearingDown_ = true;
  StopThumbnailWorkers();
  tearingDown_ = false;
  if (ThumbnailsWanted() && !folders_.empty()) StartThumbnailWorkers(ThumbnailWorkersPerPass(FolderCount()));
}

void TqzCustomShellListView::SetThumbnailSize(int V) {
  V = std::clamp(V, 16, 1024);
  if (V == thumbnailSize_) return;
  thumbnailSize_ = V;
  if (thumbnails_) SetLargeIconSize(V);
}

void TqzCustomShellListView::StartThumbnailWorkers(int PerPass) {
  StopWorkers();
  if (PerPass <= 0) return;
  // The files still without a thumbnail, by their index now.
  auto jobs = std::make_shared<std::vector<TqzThumbnailJob>>();
  for (int i = 0; i < FolderCount(); ++i) {
    TqzShellFolder& f = *folders_[size_t(i)];
    if (!f.HasThumbnail && !f.IsFolder() && f.Entry().Kind == TEntryKind::Regular && !f.Path().empty())
      jobs->push_back({i, f.Path()});
  }
  if (jobs->empty()) return;
  if (!thumbnailSource_) {
    TThumbnailSettings settings = ThumbnailSettingsFromEnvironment();
    settings.DecodePng = PngReader();
    thumbnailSource_ = std::make_shared<TThumbnails>(std::move(settings));
  }
  const int n = std::min<int>(PerPass, int(jobs->size()));
  const TThumbnailSize first = ThumbnailCacheSizeFor(thumbnailSize_);
  const TThumbnailSize second = LargerThumbnailCacheSize(first);
  for (int pass = 0; pass < 2; ++pass)
    for (int start = 0; start < n; ++start) {
      workers_.push_back(std::make_unique<TqzShellThumbnailThread>(*this, thumbnailSource_, jobs, start, n,
                                                                   pass == 0 ? first : second, thumbnailSize_,
                                                                   pass == 0));
      workers_.back()->Start();
    }
}

void TqzCustomShellListView::StopThumbnailWorkers() { StopWorkers(); }

// All are told first, then waited for: they finish their current file in
// parallel. Freeing a worker drops the pictures it queued.
void TqzCustomShellListView::StopWorkers() {
  for (auto& w : workers_) w->Terminate();
  for (auto& w : workers_) w->StopAndWait();
  workers_.clear();
}

void TqzCustomShellListView::ThumbnailArrived(int Index, const std::string& Path, TPixmap Picture) {
  if (tearingDown_ || Index < 0 || Index >= FolderCount()) return;
  TqzShellFolder& f = *folders_[size_t(Index)];
  if (f.Path() != Path) return;
  f.Thumbnail = std::move(Picture);
  f.HasThumbnail = true;
  if (ThumbnailsWanted()) UpdateItem(Index);
}

// ---------------------------------------------------------------------------
// Following the folder on disk

void TqzCustomShellListView::SetAutoRefresh(bool V) {
  if (V == autoRefresh_) return;
  autoRefresh_ = V;
  Watch();
}

bool TqzCustomShellListView::Watching() const { return notifier_ && notifier_->Watching(); }

void TqzCustomShellListView::Watch() {
  const std::string path = hasRoot_ && !root_.IsVirtual() && autoRefresh_ ? root_.Path : std::string();
  refreshOnFocus_ = false;
  if (path.empty()) {
    notifier_.reset();
    return;
  }
  if (!notifier_) notifier_ = std::make_unique<TqzShellChangeNotifier>([this](TObject*) { FolderChanged(); });
  if (notifier_->Root() != path || !notifier_->Watching())
    notifier_->SetDirectory(path, false, nfFileName | nfDirName | nfAttributes | nfLastWrite);
  refreshOnFocus_ = !notifier_->Watching();
}

void TqzCustomShellListView::FolderChanged() {
  if (!notifier_) return;
  if (tearingDown_) {
    // Delivered while the workers are waited for: the focus catches up.
    refreshOnFocus_ = true;
    return;
  }
  const TFolderChanges changes = notifier_->LastChanges();
  TComponentRef<TControl> self(this);
  if (changes.FolderGone || (hasRoot_ && !root_.IsVirtual() && !IsExistingFolder(root_.Path))) GoToExistingParent();
  else Refresh();
  if (self && OnFolderChange) OnFolderChange(this);
}

// The nearest folder above that is still there; "/" at worst.
void TqzCustomShellListView::GoToExistingParent() {
  TShellId id = root_;
  do id = ParentOf(id);
  while (!id.IsVirtual() && !IsExistingFolder(id.Path) && id.Path != "/");
  SetRoot(id);
}

void TqzCustomShellListView::WMSetFocus(TMessage& m) {
  TComponentRef<TControl> self(this);
  TCustomListView::WMSetFocus(m);
  if (!self) return;
  // Without a watch the list catches up when the user comes back to it.
  if (refreshOnFocus_ && hasRoot_) {
    refreshOnFocus_ = false;
    Refresh();
    if (self) Watch();
  }
}

void TqzCustomShellListView::Refresh() {
  if (!hasRoot_ || ComponentState().Contains(csLoading)) return;
  if (!root_.IsVirtual() && !IsExistingFolder(root_.Path)) {
    GoToExistingParent();
    return;
  }
  if (IsEditing()) {
    // Not under the user's typing: the focus coming back catches up.
    refreshOnFocus_ = true;
    return;
  }
  TComponentRef<TControl> self(this);
  tearingDown_ = true;
  StopThumbnailWorkers();
  tearingDown_ = false;
  // What the user had: the selection and the focus by name, the scroll.
  std::vector<std::string> selected;
  for (int i = 0; i < FolderCount() && i < Count(); ++i)
    if (Selected(i)) selected.push_back(folders_[size_t(i)]->RelativeId());
  const std::string focused = ItemFocused() >= 0 && ItemFocused() < FolderCount()
                                  ? folders_[size_t(ItemFocused())]->RelativeId()
                                  : std::string();
  const int x = ScrollX(), y = ScrollY();

  TShellListing listing = List();
  std::vector<std::unique_ptr<TqzShellFolder>> fresh;
  std::string longest;
  if (!Accept(listing, fresh, longest)) return;
  listError_ = listing.Error;
  // Rows that did not change keep their object (icons, details, thumbnail).
  std::unordered_map<std::string, std::unique_ptr<TqzShellFolder>*> old;
  for (auto& f : folders_) old.emplace(f->RelativeId(), &f);
  for (auto& f : fresh) {
    const auto it = old.find(f->RelativeId());
    if (it != old.end() && *it->second && SameEntry((*it->second)->Entry(), f->Entry())) f = std::move(*it->second);
  }
  BeginUpdate();
  ClearSelection();
  SetItemFocused(-1);
  folders_ = std::move(fresh);
  if (sorted_ || sortColumn_ >= 0) SortFolders();
  SetItemCount(FolderCount());
  std::unordered_map<std::string, int> at;
  for (int i = 0; i < FolderCount(); ++i) at.emplace(folders_[size_t(i)]->RelativeId(), i);
  for (const std::string& name : selected)
    if (const auto it = at.find(name); it != at.end()) SetSelected(it->second, true);
  if (const auto it = at.find(focused); !focused.empty() && it != at.end()) SetItemFocused(it->second);
  EndUpdate();
  ScrollTo(x, y);
  UpdateListColumnWidth(longest);
  Invalidate();
  if (ThumbnailsWanted() && !folders_.empty()) StartThumbnailWorkers(ThumbnailWorkersPerPass(FolderCount()));
}

}  // namespace qz
