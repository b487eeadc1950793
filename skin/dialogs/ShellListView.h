// The shell list view of the file dialogs: the contents of one shell folder
// in a host list view with owner data. Each row is a TqzShellFolder; the
// view lists the folder's children of ObjectTypes, keeps the files its Mask
// accepts, sorts folders before files, fills rows (caption, icon, details)
// only when they are shown, and sorts by a column on a header click.
//
// Thumbnails and change notification run on worker threads built
// elsewhere; this view gives them their hooks: StartThumbnailWorkers is
// called after a population with the workers a pass gets, and
// StopThumbnailWorkers before the items go (repopulating, destruction).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/graphics/Pixmap.h"
#include "host/shell/ShellNamespace.h"
#include "host/shell/SpecialFolders.h"
#include "host/ui/ListView.h"

namespace qz {

// One shell item: a child of a folder, with the details and icon indexes
// it is asked for cached.
class TqzShellFolder {
 public:
  TqzShellFolder(TShellItem item, const TqzShellFolder* parent);

  // The item's name in its folder (bytes) and its whole identifier.
  const std::string& RelativeId() const { return item_.Entry.Name; }
  const TShellId& AbsoluteId() const { return item_.Id; }
  const TqzShellFolder* Parent() const { return parent_; }
  int Level() const { return level_; }
  const TFolderEntry& Entry() const { return item_.Entry; }

  const std::string& DisplayName() const { return item_.DisplayName; }
  // The file-system path (bytes); empty for a virtual item.
  std::string Path() const { return item_.Id.IsVirtual() ? std::string() : item_.Id.Path; }
  // A folder of the file system or a virtual one. A file named like an
  // archive stays a file; a folder named so stays a folder.
  bool IsFolder() const { return item_.IsFolder(); }
  // Whether a folder holds folders (read once, on first use).
  bool HasSubfolders();
  // The MIME type's name for people ("Folder", "PNG image" ...), looked up
  // once.
  const std::string& TypeName();

  // The detail texts of the columns after the name, at least `columns` - 1
  // of them: size, type, modification time, permissions.
  const std::vector<std::string>& Details(int columns);

  // Cached icon indexes (-1 until first asked).
  int LargeIconIndex = -1;
  int SmallIconIndex = -1;
  // The thumbnail: written by the thumbnail worker that owns the item's
  // index while it runs, read by the GUI thread once it has stopped or
  // through the row redraw it asks for.
  TPixmap Thumbnail;
  bool HasThumbnail = false;

 private:
  TShellItem item_;
  const TqzShellFolder* parent_;
  int level_;
  std::vector<std::string> details_;
  std::string typeName_;
  int hasSubfolders_ = -1;
};

// The mask test of a file name: the mask is split at ";" and "|" into
// patterns (blanks around each dropped); a pattern accepts the name when it
// is exactly "*", or holds a "." and matches the whole name with "*" (any
// run) and "?" (one character), ASCII letters compared without case. An
// empty mask accepts nothing.
bool MatchesFileMask(std::string_view name, std::string_view mask);
// The size column's text: kilobytes rounded up, thousands apart ("1 206 KB").
std::string SizeInKilobytesText(uint64_t bytes);
// The thumbnail workers one pass starts for a number of items.
inline int ThumbnailWorkersPerPass(int items) { return items <= 0 ? 0 : (items < 4 ? items : 4); }

using TqzAddFolderEvent = std::function<void(TObject* Sender, TqzShellFolder& Item, bool& CanAdd)>;
// The icon index of an item for a view style (the view caches it).
using TqzShellIconEvent = std::function<int(TObject* Sender, TqzShellFolder& Item, bool Large)>;

class TqzCustomShellListView : public TCustomListView {
  QZ_CLASS(TqzCustomShellListView, TCustomListView)
 public:
  explicit TqzCustomShellListView(TComponent* AOwner);
  ~TqzCustomShellListView() override;

  // ---- what is listed
  const TShellId& Root() const { return root_; }
  // Lists the folder (at once when the view is not being loaded).
  void SetRoot(const TShellId& V);
  TShellObjectTypes ObjectTypes() const { return objectTypes_; }
  void SetObjectTypes(TShellObjectTypes V);
  const std::string& Mask() const { return mask_; }
  void SetMask(const std::string& V);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool V);
  // The places the virtual folders list (the environment's when not set).
  void SetPlaces(std::shared_ptr<const TPlaces> V) { places_ = std::move(V); }

  // ---- thumbnails (the workers come from elsewhere)
  bool ThumbnailsEnabled() const { return thumbnails_; }
  void SetThumbnailsEnabled(bool V) { thumbnails_ = V; }
  int ThumbnailSize() const { return thumbnailSize_; }
  void SetThumbnailSize(int V) { thumbnailSize_ = V < 16 ? 16 : V; }

  // ---- the listing
  // Reads the folder again.
  void Populate();
  int FolderCount() const { return static_cast<int>(folders_.size()); }
  TqzShellFolder& Folder(int Index) { return *folders_.at(Index); }
  // The error of the last listing (0 when it was read to its end).
  int ListError() const { return listError_; }

  // ---- sorting (-1: the default order)
  int SortColumn() const { return sortColumn_; }
  bool SortAscending() const { return sortAscending_; }
  // As a click on the header does: the sort column again reverses the
  // direction, another column sorts ascending. Columns past the name are
  // ignored when the view has fewer than 4 columns.
  void SortByColumn(int Column);

  TqzAddFolderEvent OnAddFolder;
  TqzShellIconEvent OnGetIcon;

 protected:
  void BeforeDestruction() override;
  void DoData(TListItem& Item) override;
  void ColumnClicked(int Column) override;
  void CreateWnd() override;
  void Loaded() override;
  // Hooks for the thumbnail workers.
  virtual void StartThumbnailWorkers(int PerPass) { (void)PerPass; }
  virtual void StopThumbnailWorkers() {}

 private:
  void SortFolders();
  bool ThumbnailsWanted() const;
  TShellListing List() const;

  TShellId root_ = TShellId::Computer();
  bool hasRoot_ = false;
  TShellObjectTypes objectTypes_{TShellObjectType::otFolders, TShellObjectType::otNonFolders};
  std::string mask_ = "*";
  bool sorted_ = true;
  bool thumbnails_ = false;
  int thumbnailSize_ = 96;
  mutable std::shared_ptr<const TPlaces> places_;
  std::vector<std::unique_ptr<TqzShellFolder>> folders_;
  TqzShellFolder rootItem_;
  int listError_ = 0;
  int sortColumn_ = -1;
  bool sortAscending_ = true;
  bool tearingDown_ = false;
};

// The published shell list view of the file dialogs.
class TqzSkinFileListView : public TqzCustomShellListView {
  QZ_CLASS(TqzSkinFileListView, TqzCustomShellListView)
 public:
  explicit TqzSkinFileListView(TComponent* AOwner) : TqzCustomShellListView(AOwner) {}
};

}  // namespace qz
