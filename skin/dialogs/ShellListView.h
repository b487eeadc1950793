// The shell list view of the file dialogs: the contents of one shell folder
// in a host list view with owner data. Each row is a TqzShellFolder; the
// view lists the folder's children of ObjectTypes, keeps the files its Mask
// accepts, sorts folders before files, fills rows (caption, icon, details)
// only when they are shown, and sorts by a column on a header click.
//
// Thumbnails come from worker threads (StartThumbnailWorkers after a
// population, StopThumbnailWorkers before the items go: repopulating,
// sorting, destruction); a change notifier watches the folder and brings
// the list up to date in place. Items and the header are drawn from the
// skin's descriptions when a skin is given, in the plain look otherwise.
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
#include "skin/controls/SkinChangeClient.h"

namespace qz {

class TThumbnails;
class TTypeIcons;
class TqzShellChangeNotifier;
class TqzShellThumbnailThread;
class TqzDataSkinListBox;
class TqzDataSkinButtonControl;

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
  // The MIME type ("inode/directory" for folders), looked up once.
  const std::string& MimeType();

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
  std::string mimeType_;
  int hasSubfolders_ = -1;
};

QZ_ENUM(TShellObjectType, "otFolders", "otNonFolders", "otHidden");

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

// The icons of file types for the shell views, one set for the program,
// made on first use from the user's icon theme.
TTypeIcons& ShellTypeIcons();

class TqzCustomShellListView : public TCustomListView, public IqzSkinChangeClient {
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

  // ---- thumbnails
  bool ThumbnailsEnabled() const { return thumbnails_; }
  void SetThumbnailsEnabled(bool V);
  // The side of the square a thumbnail fits (16 .. 1024).
  int ThumbnailSize() const { return thumbnailSize_; }
  void SetThumbnailSize(int V);
  // Where thumbnails come from (the user's cache and thumbnailers when not
  // set, on first use).
  void SetThumbnailSource(std::shared_ptr<TThumbnails> V) { thumbnailSource_ = std::move(V); }
  // Thumbnail workers running now (both passes).
  int ThumbnailWorkerCount() const { return static_cast<int>(workers_.size()); }

  // ---- change notification
  // Whether the shown folder is watched and the list follows what changes
  // in it (on by default). Without a watch (the user's limit) the list is
  // read again when it gets the focus.
  bool AutoRefresh() const { return autoRefresh_; }
  void SetAutoRefresh(bool V);
  bool Watching() const;
  // Brings the list up to date with the folder without starting over: the
  // items still there keep their thumbnails, the selection, focus and
  // scroll position stay. A folder that went takes the list to the nearest
  // folder above it that still exists.
  void Refresh();
  // Runs after the list followed a change on disk (or went to a parent).
  TNotifyEvent OnFolderChange;

  // ---- the skin (items from ItemSkinDataName, a list box description;
  // the header from HeaderSkinDataName, a button description)
  TqzSkinData* SkinData() const override { return skinData_; }
  void SetSkinData(TqzSkinData* V);
  const std::string& ItemSkinDataName() const { return itemSkinDataName_; }
  void SetItemSkinDataName(const std::string& V);
  const std::string& HeaderSkinDataName() const { return headerSkinDataName_; }
  void SetHeaderSkinDataName(const std::string& V);
  bool DrawSkin() const { return drawSkin_; }
  void SetDrawSkin(bool V);
  // The descriptions drawn from now; null for the plain look.
  const TqzDataSkinListBox* ItemDescription() const;
  const TqzDataSkinButtonControl* HeaderDescription() const;
  void BeforeChangeSkinData() override;
  void ChangeSkinData() override;

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
  // Without it the view shows the icons of the items' types from its own
  // image lists (TypeSmallImages, TypeLargeImages: 16 and 32 pixels).
  TqzShellIconEvent OnGetIcon;
  TCustomImageList* TypeSmallImages() const { return typeSmall_; }
  TCustomImageList* TypeLargeImages() const { return typeLarge_; }

 protected:
  friend class TqzShellThumbnailThread;
  void BeforeDestruction() override;
  void DoData(TListItem& Item) override;
  void ColumnClicked(int Column) override;
  void CreateWnd() override;
  void Loaded() override;
  void DrawItem(int Index, const TListItem& Item, const TRect& Rect, TOwnerDrawState State) override;
  void DrawHeader() override;
  void PaintBackground(const TRect& Rect) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WMSetFocus(TMessage& m) override;
  // The thumbnail workers: PerPass for the first pass (the configured
  // size) and as many for the second (the next larger cache size).
  virtual void StartThumbnailWorkers(int PerPass);
  virtual void StopThumbnailWorkers();

 private:
  void SortFolders();
  bool ThumbnailsWanted() const;
  TShellListing List() const;
  // The accepted items of a listing (false when a handler freed the view).
  bool Accept(TShellListing& listing, std::vector<std::unique_ptr<TqzShellFolder>>& out, std::string& longest);
  void StopWorkers();
  void ThumbnailArrived(int Index, const std::string& Path, TPixmap Picture);
  void Watch();
  void FolderChanged();
  void GoToExistingParent();
  int TypeIconIndex(TqzShellFolder& Folder, bool Large);
  void DrawPicture(int Index, const TListItem& Item, TqzShellFolder* Folder);
  void DrawSkinLabel(const TqzDataSkinListBox& d, const TBitmap& pic, int Index, const TListItem& Item,
                     const TRect& Rect, TOwnerDrawState State);
  void UseItemFont(const TqzDataSkinListBox* d, TOwnerDrawState State);
  void UpdateListColumnWidth(const std::string& longest);

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
  bool autoRefresh_ = true;
  bool refreshOnFocus_ = false;
  std::shared_ptr<TThumbnails> thumbnailSource_;
  std::vector<std::unique_ptr<TqzShellThumbnailThread>> workers_;
  std::unique_ptr<TqzShellChangeNotifier> notifier_;
  TqzSkinData* skinData_ = nullptr;
  std::string itemSkinDataName_ = "listbox";
  std::string headerSkinDataName_ = "header";
  bool drawSkin_ = true;
  bool skinChanging_ = false;
  TCustomImageList* typeSmall_ = nullptr;  // owned as child components
  TCustomImageList* typeLarge_ = nullptr;
};

// The pictures the skinned look draws: an item plate of a list item
// description at w x h from one of its item rectangles, and a column header
// of a button description (its down picture when pressed).
void ComposeShellListItem(const TqzDataSkinListBox& d, const TBitmap& picture, const TRect& source, int w, int h,
                          TBitmap& out);
void ComposeShellListHeader(const TqzDataSkinButtonControl& d, const TBitmap& picture, bool down, int w, int h,
                            TBitmap& out);

// The published shell list view of the file dialogs.
class TqzSkinFileListView : public TqzCustomShellListView {
  QZ_CLASS(TqzSkinFileListView, TqzCustomShellListView)
 public:
  explicit TqzSkinFileListView(TComponent* AOwner) : TqzCustomShellListView(AOwner) {}
};

}  // namespace qz
